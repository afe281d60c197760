// What a published book weighs: all its files, and what a reader's browser
// downloads before the first page shows (the page with the player, book.bin,
// the page facts, and the cover's picture, thumbnail and words), so the
// publisher sees what the book costs its readers.
#pragma once

#include <QString>

struct BookWeight {
  qint64 bookBytes = 0;     // the book's files: files/, the HTML page, book.swf
  qint64 openingBytes = 0;  // what a reader downloads to open it, over http

  bool known() const { return bookBytes > 0; }

  // Measures the book in `folder` whose HTML page is `htmlName`. A book that
  // cannot be read gives a weight that is not known().
  static BookWeight measure(const QString& folder, const QString& htmlName);
  // "4.2 MB", "310 KB", "900 bytes" (1 KB = 1,024 bytes).
  static QString size(qint64 bytes);
  // "The book takes 4.2 MB; a reader downloads 310 KB to open it."
  QString sentence() const;
};
