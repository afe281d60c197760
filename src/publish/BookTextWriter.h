// Writes the optional data scripts of a book from its page source (see
// docs/book-files.md):
//   files/pages.js      the printed page labels, when the document has them, and
//                       which pages are photographs, when some are
//   files/text/N.js     the words of page N with their boxes
//   files/text/all.js   the words of every page, for search
// into the book being written (the publisher's staging folder, so a book
// published without them keeps none from an earlier publish), each file
// atomically.
#pragma once

#include <QString>
#include <functional>

class FlashPageSource;

class BookTextWriter {
 public:
  // Called for each file that could not be written, with the reason.
  using Failure = std::function<void(const QString& target, const QString& reason)>;

  // `resourceFolder` is the book's files/ folder, which exists.
  static void write(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail);

 private:
  static void writePageFacts(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail);
  static void writeText(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail);
};
