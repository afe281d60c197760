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

// `path` is a book folder (its files/book.bin is read) or a book.bin file.
Result inspect(const QString& path);
// The same over bytes already read.
Result inspectBytes(const QByteArray& encrypted);

}  // namespace BookBinReader
