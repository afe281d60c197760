#include "zip/ZKCDHeader.h"

#include "zip/ZKBytes.h"
#include "zip/ZKRecordUtil.h"

ZKCDHeader::ZKCDHeader() : ZKEntryHeader(ZKCDHeaderMagicNumber) {}

void ZKCDHeader::setLocalHeaderOffset(quint64 v) {
  m_localHeaderOffset = v;
  updateVersionNeeded();
}

void ZKCDHeader::setComment(const QString& v) {
  m_comment = v;
  if (m_commentLength == 0) m_commentLength = static_cast<quint32>(zk_precomposedUTF8Length(v));
}

bool ZKCDHeader::useZip64Extensions() const {
  return ZKEntryHeader::useZip64Extensions() || zkrecord::needsZip64(m_localHeaderOffset);
}

QByteArray ZKCDHeader::zip64ExtraField() const { return zip64ExtraFieldWith({m_localHeaderOffset}); }

QByteArray ZKCDHeader::data() {
  if (static_cast<quint64>(m_cachedData.size()) >= ZKCDHeaderFixedDataLength) return m_cachedData;
  setExtraField(zip64ExtraField());
  const QByteArray name = zkrecord::clip16(zk_precomposedUTF8(m_filename));
  const QByteArray comment = zkrecord::clip16(zk_precomposedUTF8(m_comment));
  QByteArray d;
  d.reserve(static_cast<qsizetype>(ZKCDHeaderFixedDataLength) + name.size() + m_extraField.size() + comment.size());
  zk_appendLittleInt32(d, m_magicNumber);
  zk_appendLittleInt16(d, static_cast<quint16>(m_versionMadeBy));
  appendSharedFields(d, name);
  zk_appendLittleInt16(d, static_cast<quint16>(comment.size()));
  zk_appendLittleInt16(d, static_cast<quint16>(m_diskNumberStart));
  zk_appendLittleInt16(d, static_cast<quint16>(m_internalFileAttributes));
  zk_appendLittleInt32(d, m_externalFileAttributes);
  zk_appendLittleInt32(d, zkrecord::field32(m_localHeaderOffset, useZip64Extensions()));
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
  const QByteArray rest = takeZip64Sizes();
  quint64 pos = 0;
  if (const auto v = zk_hostInt64OffsetBy(rest, pos)) m_localHeaderOffset = *v;
}

// The top three bits are the POSIX file type seen through the high word:
// 5 (0120000) a symbolic link, 2 (0040000) a directory.
bool ZKCDHeader::isSymLink() const { return (m_externalFileAttributes >> 29) == 5; }

bool ZKCDHeader::isDirectory() const { return (m_externalFileAttributes >> 29) == 2 && !isSymLink(); }

quint32 ZKCDHeader::posixPermissions() const {
  const quint32 permissions = (m_externalFileAttributes >> 16) & 0777;
  return permissions != 0 ? permissions : 0755;
}

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
  h.readSharedFields(r);
  h.m_commentLength = r.int16();
  h.m_diskNumberStart = r.int16();
  h.m_internalFileAttributes = r.int16();
  h.m_externalFileAttributes = r.int32();
  h.m_localHeaderOffset = r.int32();
  h.readNameAndExtraField(r);
  if (h.m_commentLength > 0) h.m_comment = r.string(h.m_commentLength);
  if (!r.ok()) return std::nullopt;
  if (h.m_extraFieldLength > 0) h.parseZip64ExtraField();
  return h;
}

std::optional<ZKCDHeader> ZKCDHeader::recordWithArchivePath(const QString& path, quint64 offset) {
  // The lengths of the name, the extra field and the comment, from byte 28.
  const auto bytes = zkrecord::readHeader(path, offset, ZKCDHeaderFixedDataLength, 28, 3);
  if (!bytes) return std::nullopt;
  return recordWithData(*bytes, 0);
}
