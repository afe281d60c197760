// Writes the optional data scripts of a book folder from its page source
// (see docs/book-files.md):
//   files/pages.js      the printed page labels, when the document has them
//   files/text/N.js     the words of page N with their boxes
//   files/text/all.js   the words of every page, for search
// Every file is written atomically. Scripts the book does not need are
// removed, so a book republished without text or labels keeps none from an
// earlier publish; files of other names (the user's own) stay.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <functional>

class FlashPageSource;

class BookTextWriter {
 public:
  // Called for each file that could not be written, with the reason.
  using Failure = std::function<void(const QString& target, const QString& reason)>;

  // `resourceFolder` is the book's files/ folder, which exists.
  static void write(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail);

  // Writes `bytes` beside `target` and renames it into place once every byte
  // reached the file. False, with the reason in `error`, leaves `target` as it was.
  static bool writeAtomically(const QString& target, const QByteArray& bytes, QString* error);
  // Removes a file or a folder with everything in it; a symbolic link is
  // removed itself, never what it points at. True when nothing is left.
  static bool removePath(const QString& path);
  // Removes from `folder` what an earlier publish wrote there and this one
  // did not (`keep`): files named like a page's ("12.jpg", "12.js") and
  // all.js. The folder goes too when that leaves it empty.
  static void removeStale(const QString& folder, const QSet<QString>& keep, const Failure& fail);

 private:
  static void writeLabels(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail);
  static void writeText(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail);
};
