// Reads a published book's book.bin back: decrypts it, checks the zip
// (signatures, sizes, CRC) and returns book.xml, or says what is damaged.
#pragma once

#include <QByteArray>
#include <QString>

namespace BookBinReader {

struct Result {
  QString binPath;
  QByteArray bookXml;  // the entry's bytes, when readable
  QString error;       // what is wrong, empty when all is well
  bool ok() const { return error.isEmpty(); }
};

// book.xml of the largest real book is a few megabytes. The player refuses
// entries beyond this (MAX_ENTRY_SIZE in player/src/container.js), and so do we.
inline constexpr qint64 kMaxBookXmlSize = 256 * 1024 * 1024;
// book.bin holds that entry deflated, its headers and the directory.
inline constexpr qint64 kMaxBookBinSize = kMaxBookXmlSize + 1024 * 1024;
// Markup ("<") in book.xml: a book of 2,500 pages with 25,000 links has about
// 400,000. Checking a document costs memory by its elements, so a small
// book.bin of nothing but empty elements is refused instead of taking gigabytes.
inline constexpr qint64 kMaxBookXmlTags = 4'000'000;

// `path` is a book folder (its files/book.bin is read) or a book.bin file.
// Only a regular file of at most kMaxBookBinSize bytes is read.
Result inspect(const QString& path);
// The same over bytes already read.
Result inspectBytes(const QByteArray& encrypted);

}  // namespace BookBinReader
