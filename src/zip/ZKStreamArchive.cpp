#include "zip/ZKStreamArchive.h"

#include <QIODevice>
#include <QStringList>

#include "zip/ZKBytes.h"
#include "zip/ZKCDTrailer.h"
#include "zip/ZKLFHeader.h"

namespace {

constexpr quint64 kMaxOffset = 0xFFFFFFFFull;  // past it, offsets need zip64
constexpr size_t kMaxEntries = 0xFFFE;

}  // namespace

ZKStreamArchive::ZKStreamArchive(QIODevice* out, const QDateTime& date) : m_out(out), m_date(date) {}

bool ZKStreamArchive::failed(const QString& why) {
  if (m_error.isEmpty()) m_error = why;
  return false;
}

bool ZKStreamArchive::write(const QByteArray& bytes) {
  if (m_out->write(bytes) != bytes.size())
    return failed(m_out->errorString().isEmpty() ? QStringLiteral("cannot write the archive") : m_out->errorString());
  m_offset += static_cast<quint64>(bytes.size());
  return true;
}

bool ZKStreamArchive::storeData(const QByteArray& data, const QString& name) { return add(data, data, 0, name); }

bool ZKStreamArchive::deflateData(const QByteArray& data, const QString& name) {
  const auto compressed = zk_deflate(data);
  if (!compressed) return failed(QStringLiteral("cannot compress %1").arg(name));
  return add(data, *compressed, 8, name);
}

bool ZKStreamArchive::add(const QByteArray& data, const QByteArray& stored, quint32 method, const QString& name) {
  if (!m_error.isEmpty()) return false;
  const quint64 nameLength = zk_precomposedUTF8Length(name);
  if (name.isEmpty() || nameLength > 0xFFFF)
    return failed(QStringLiteral("no zip entry can be named \"%1\"").arg(name));
  if (m_directory.size() >= kMaxEntries) return failed(QStringLiteral("too many entries for a zip archive"));
  if (m_offset + static_cast<quint64>(stored.size()) + ZKLFHeaderFixedDataLength + nameLength > kMaxOffset)
    return failed(QStringLiteral("the archive would be larger than 4 GB"));

  ZKLFHeader lf;
  lf.setCompressionMethod(method);
  lf.setUncompressedSize(static_cast<quint64>(data.size()));
  lf.setCompressedSize(static_cast<quint64>(stored.size()));
  lf.setFilename(name);
  lf.setCrc(zk_crc32(data));
  lf.setLastModDate(m_date);

  ZKCDHeader cd;
  cd.setCompressionMethod(method);
  cd.setUncompressedSize(lf.uncompressedSize());
  cd.setCompressedSize(lf.compressedSize());
  cd.setCrc(lf.crc());
  cd.setFilename(name);
  cd.setLocalHeaderOffset(m_offset);
  cd.setLastModDate(m_date);
  cd.setVersionNeededToExtract(lf.versionNeededToExtract());
  // A plain file readable by all (0644), whatever the umask of the reader's unzip.
  cd.setExternalFileAttributes(0100644u << 16);

  if (!write(lf.data()) || !write(stored)) return false;
  m_directory.push_back(std::move(cd));
  return true;
}

bool ZKStreamArchive::finish() {
  if (!m_error.isEmpty()) return false;
  const quint64 start = m_offset;
  for (ZKCDHeader& header : m_directory)
    if (!write(header.data())) return false;
  if (m_offset > kMaxOffset) return failed(QStringLiteral("the archive would be larger than 4 GB"));
  ZKCDTrailer trailer;
  trailer.setNumberOfCentralDirectoryEntriesOnThisDisk(static_cast<quint32>(m_directory.size()));
  trailer.setTotalNumberOfCentralDirectoryEntries(static_cast<quint32>(m_directory.size()));
  trailer.setSizeOfCentralDirectory(m_offset - start);
  trailer.setOffsetOfStartOfCentralDirectory(start);
  return write(trailer.data());
}

QStringList ZKStreamArchive::names() const {
  QStringList out;
  for (const ZKCDHeader& header : m_directory) out << header.filename();
  return out;
}
