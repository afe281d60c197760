// The package of an EPUB book besides its pages: META-INF/container.xml, the
// package document (metadata, manifest, spine) and the navigation document
// (contents from the bookmarks, the list of printed pages, landmarks).
//
// Fixed layout, one page document per page, in book order. The metadata says
// what the book holds for readers that need another way into it (EPUB
// Accessibility): pictures of the pages always, their text when every page
// has words.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class FlashOutline;

class EpubPackage {
 public:
  // Paths inside the container.
  static inline const QString kPackagePath = QStringLiteral("EPUB/package.opf");
  static inline const QString kFolder = QStringLiteral("EPUB/");

  struct Page {
    qint32 number = 0;
    QString document;   // "page/3.xhtml", relative to kFolder
    QString picture;    // "image/3.png", once written
    QString mediaType;  // of the picture
    QString label;      // the printed label, or the number
    bool hasText = false;
  };

  QString title;
  QString author;
  QString language;    // a language tag
  QString identifier;  // "urn:uuid:..."
  QDateTime modified;
  QList<Page> pages;
  const FlashOutline* outline = nullptr;  // bookmarks; none: one entry per page

  static QByteArray container();
  static QByteArray styleSheet();
  QByteArray packageDocument() const;
  QByteArray navigationDocument() const;

  // The media type of a page picture by its extension; "" for one that
  // readers are not expected to show.
  static QString mediaTypeOf(const QString& path);
  // The document of page `number`, when the book has it; "" otherwise.
  QString documentOf(qint32 number) const;
  // An identifier made from `digest` (20 bytes or more): the same book
  // gets the same one.
  static QString identifierFor(const QByteArray& digest);
};
