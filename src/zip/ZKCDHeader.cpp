#include "zip/ZKCDHeader.h"

#include <QFile>

#include "zip/ZKBytes.h"
#include "zip/ZKRecordUtil.h"

ZKCDHeader::ZKCDHeader() : m_lastModDate(QDateTime::currentDateTime()) {}

void ZKCDHeader::updateVersionNeeded() { m_versionNeededToExtract = useZip64Extensions() ? 45 : 20; }

void ZKCDHeader::setCompressedSize(quint64 v) {
  m_compressedSize = v;
  updateVersionNeeded();
}

void ZKCDHeader::setUncompressedSize(quint64 v) {
  m_uncompressedSize = v;
  updateVersionNeeded();
}

void ZKCDHeader::setLocalHeaderOffset(quint64 v) {
  m_localHeaderOffset = v;
  updateVersionNeeded();
}

void ZKCDHeader::setFilename(const QString& v) {
  m_filename = v;
  if (m_filenameLength == 0) m_filenameLength = static_cast<quint32>(zk_precomposedUTF8Length(v));
}

void ZKCDHeader::setExtraField(const QByteArray& v) {
  m_extraField = v;
  if (m_extraFieldLength == 0) m_extraFieldLength = static_cast<quint32>(v.size());
}

void ZKCDHeader::setComment(const QString& v) {
  m_comment = v;
  if (m_commentLength == 0) m_commentLength = static_cast<quint32>(zk_precomposedUTF8Length(v));
}

bool ZKCDHeader::useZip64Extensions() const {
  return zkrecord::needsZip64(m_uncompressedSize) || zkrecord::needsZip64(m_compressedSize) ||
         zkrecord::needsZip64(m_localHeaderOffset);
}

QByteArray ZKCDHeader::zip64ExtraField() const {
  if (!useZip64Extensions()) return {};
  QByteArray field;
  zk_appendLittleInt16(field, 0x0001);
  zk_appendLittleInt16(field, 24);
  zk_appendLittleInt64(field, m_uncompressedSize);
  zk_appendLittleInt64(field, m_compressedSize);
  zk_appendLittleInt64(field, m_localHeaderOffset);
  return field;
}

QByteArray ZKCDHeader::data() {
  if (static_cast<quint64>(m_cachedData.size()) >= ZKCDHeaderFixedDataLength) return m_cachedData;
  setExtraField(zip64ExtraField());
  const bool zip64 = useZip64Extensions();
  const QByteArray name = zkrecord::clip16(zk_precomposedUTF8(m_filename));
  const QByteArray comment = zkrecord::clip16(zk_precomposedUTF8(m_comment));
  QByteArray d;
  d.reserve(static_cast<qsizetype>(ZKCDHeaderFixedDataLength) + name.size() + m_extraField.size() + comment.size());
  zk_appendLittleInt32(d, m_magicNumber);
  zk_appendLittleInt16(d, static_cast<quint16>(m_versionMadeBy));
  zk_appendLittleInt16(d, static_cast<quint16>(m_versionNeededToExtract));
  zk_appendLittleInt16(d, static_cast<quint16>(m_generalPurposeBitFlag));
  zk_appendLittleInt16(d, static_cast<quint16>(m_compressionMethod));
  zk_appendLittleInt32(d, zk_dosDate(m_lastModDate));
  zk_appendLittleInt32(d, m_crc);
  zk_appendLittleInt32(d, zkrecord::field32(m_compressedSize, zip64));
  zk_appendLittleInt32(d, zkrecord::field32(m_uncompressedSize, zip64));
  zk_appendLittleInt16(d, static_cast<quint16>(name.size()));
  zk_appendLittleInt16(d, static_cast<quint16>(m_extraField.size()));
  zk_appendLittleInt16(d, static_cast<quint16>(comment.size()));
  zk_appendLittleInt16(d, static_cast<quint16>(m_diskNumberStart));
  zk_appendLittleInt16(d, static_cast<quint16>(m_internalFileAttributes));
  zk_appendLittleInt32(d, m_externalFileAttributes);
  zk_appendLittleInt32(d, zkrecord::field32(m_localHeaderOffset, zip64));
  d.append(name);
  d.append(m_extraField);
  d.append(comment);
  m_cachedData = d;
  return d;
}

quint64 ZKCDHeader::length() const {
  const QByteArray extra = m_extraField.isEmpty() ? zip64ExtraField() : m_extraField;
  return m_filenameLength + ZKCDHeaderFixedDataLength + m_commentLength + static_cast<quint64>(extra.size());
}

quint64 ZKCDHeader::storedLength() const {
  return ZKCDHeaderFixedDataLength + m_filenameLength + m_extraFieldLength + m_commentLength;
}

void ZKCDHeader::parseZip64ExtraField() {
  const auto block = zkrecord::zip64Block(m_extraField, m_extraFieldLength);
  if (!block) return;
  quint64 pos = 0;
  if (const auto v = zk_hostInt64OffsetBy(*block, pos)) m_uncompressedSize = *v;
  if (const auto v = zk_hostInt64OffsetBy(*block, pos)) m_compressedSize = *v;
  if (const auto v = zk_hostInt64OffsetBy(*block, pos)) m_localHeaderOffset = *v;
}

// The top three bits are the POSIX file type seen through the high word:
// 5 (0120000) a symbolic link, 2 (0040000) a directory.
bool ZKCDHeader::isSymLink() const { return (m_externalFileAttributes >> 29) == 5; }

bool ZKCDHeader::isDirectory() const { return (m_externalFileAttributes >> 29) == 2 && !isSymLink(); }

quint32 ZKCDHeader::posixPermissions() const {
  const quint32 permissions = (m_externalFileAttributes >> 16) & 0777;
  return permissions != 0 ? permissions : 0755;
}

bool ZKCDHeader::isResourceFork() const { return zk_isResourceForkPath(m_filename); }

QString ZKCDHeader::description() const {
  return QStringLiteral("%1 modified %2, %3 bytes (%4 compressed), @ %5")
      .arg(m_filename, m_lastModDate.toString(Qt::ISODate), QString::number(m_uncompressedSize),
           QString::number(m_compressedSize), QString::number(m_localHeaderOffset));
}

std::optional<ZKCDHeader> ZKCDHeader::recordWithData(const QByteArray& data, quint64 offset) {
  ZKByteReader r(data, offset);
  if (r.int32() != ZKCDHeaderMagicNumber || !r.ok()) return std::nullopt;
  ZKCDHeader h;
  h.m_versionMadeBy = r.int16();
  h.m_versionNeededToExtract = r.int16();
  h.m_generalPurposeBitFlag = r.int16();
  h.m_compressionMethod = r.int16();
  h.m_lastModDate = zk_dateWithDosDate(r.int32());
  h.m_crc = r.int32();
  h.m_compressedSize = r.int32();
  h.m_uncompressedSize = r.int32();
  h.m_filenameLength = r.int16();
  h.m_extraFieldLength = r.int16();
  h.m_commentLength = r.int16();
  h.m_diskNumberStart = r.int16();
  h.m_internalFileAttributes = r.int16();
  h.m_externalFileAttributes = r.int32();
  h.m_localHeaderOffset = r.int32();
  if (h.m_filenameLength > 0) h.m_filename = r.string(h.m_filenameLength);
  if (h.m_extraFieldLength > 0) h.m_extraField = r.bytes(h.m_extraFieldLength);
  if (h.m_commentLength > 0) h.m_comment = r.string(h.m_commentLength);
  if (!r.ok()) return std::nullopt;
  if (h.m_extraFieldLength > 0) h.parseZip64ExtraField();
  return h;
}

std::optional<ZKCDHeader> ZKCDHeader::recordWithArchivePath(const QString& path, quint64 offset) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const auto fixed = zkrecord::readFileRange(file, offset, ZKCDHeaderFixedDataLength);
  if (!fixed) return std::nullopt;
  quint64 pos = 28;
  quint64 variable = 0;
  for (int i = 0; i < 3; ++i) variable += *zk_hostInt16OffsetBy(*fixed, pos);
  const auto whole = zkrecord::readFileRange(file, offset, ZKCDHeaderFixedDataLength + variable);
  if (!whole) return std::nullopt;
  return recordWithData(*whole, 0);
}
