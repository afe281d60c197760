// Reads the words of a published book back: files/text/all.js, or one entry
// of it (what folivox-cli inspect --text prints and what the HTML page's
// indexable section is made of). The files are untrusted: a malformed entry
// is refused, not half read.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class QJsonValue;

class BookTextReader {
 public:
  // One page's entry: [N, "words joined", [indices of hyphenated words]].
  struct Page {
    qint32 number = 0;  // as in files/page/N.jpg
    QString text;       // words joined by a space, "\n" after a line's last word
    QList<qint32> hyphenated;
  };

  // An entry from its JSON; nullopt when it is not one.
  static std::optional<Page> entry(const QJsonValue& value);
  static std::optional<Page> entry(const QByteArray& json);

  struct Result {
    QList<Page> pages;  // in book order
    QString error;      // why nothing could be read
    bool ok() const { return error.isEmpty(); }
  };
  // Reads BOOK/files/text/all.js; `path` may also name that file itself.
  static Result read(const QString& path);

  // The page's text for search engines and search: one line, words cut by a
  // hyphen at a line end joined again without it.
  static QString searchableText(const Page& page);
};
