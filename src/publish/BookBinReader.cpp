#include "publish/BookBinReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <pugixml.hpp>

#include "base/RegularFile.h"
#include "publish/RC4.h"
#include "zip/ZKDataArchive.h"

namespace BookBinReader {

Result inspectBytes(const QByteArray& encrypted) {
  Result r;
  if (encrypted.size() > kMaxBookBinSize) {
    r.error = QStringLiteral("book.bin is larger than any book's (%1 bytes)").arg(encrypted.size());
    return r;
  }
  const std::optional<QByteArray> plain = RC4::RC4EncryptedDataUsingKey(encrypted, QByteArray(RC4::kBookKey));
  if (!plain || !plain->startsWith("PK\x03\x04")) {
    r.error = QStringLiteral("book.bin does not decrypt to a zip archive (damaged, or not a book.bin)");
    return r;
  }
  const std::unique_ptr<ZKDataArchive> archive = ZKDataArchive::archiveWithArchiveData(*plain);
  if (!archive) {
    r.error = QStringLiteral("the zip archive in book.bin is damaged: its directory is missing or cut short");
    return r;
  }
  const ZKCDHeader* entry = nullptr;
  for (const ZKCDHeader& h : archive->centralDirectory())
    if (h.filename() == QLatin1String("book.xml")) entry = &h;
  if (entry == nullptr) {
    r.error = QStringLiteral("the zip archive in book.bin holds no book.xml");
    return r;
  }
  if (entry->uncompressedSize() > static_cast<quint64>(kMaxBookXmlSize)) {
    r.error = QStringLiteral(
                  "book.xml in book.bin would be larger than any book's (%1 bytes; the player takes "
                  "at most %2)")
                  .arg(entry->uncompressedSize())
                  .arg(kMaxBookXmlSize);
    return r;
  }
  const std::optional<QByteArray> xml = archive->inflateFile(*entry, nullptr);
  if (!xml) {
    r.error = QStringLiteral("book.xml in book.bin is damaged (its size or CRC does not match)");
    return r;
  }
  if (std::count(xml->cbegin(), xml->cend(), '<') > kMaxBookXmlTags) {
    r.error =
        QStringLiteral("book.xml in book.bin holds more markup than any book (over %1 tags)").arg(kMaxBookXmlTags);
    return r;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(xml->constData(), static_cast<size_t>(xml->size()));
  if (!parsed || std::string(doc.document_element().name()) != "flipbook") {
    r.error = QStringLiteral("book.xml is not a book configuration: %1").arg(QString::fromUtf8(parsed.description()));
    return r;
  }
  r.bookXml = *xml;
  return r;
}

Result inspect(const QString& path) {
  QString bin = path;
  if (QFileInfo(path).isDir()) bin = QDir(path).filePath(QStringLiteral("files/book.bin"));
  Result r;
  r.binPath = bin;
  QString why;
  const std::optional<QByteArray> bytes = RegularFile::read(bin, kMaxBookBinSize, &why);
  if (!bytes) {
    r.error = QStringLiteral("cannot read %1: %2").arg(bin, why);
    return r;
  }
  r = inspectBytes(*bytes);
  r.binPath = bin;
  if (!r.ok()) r.error = bin + QStringLiteral(": ") + r.error;
  return r;
}

}  // namespace BookBinReader
