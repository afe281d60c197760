#include "zip/ZKEntryHeader.h"

#include "zip/ZKBytes.h"
#include "zip/ZKRecordUtil.h"

ZKEntryHeader::ZKEntryHeader(quint32 magicNumber)
    : m_magicNumber(magicNumber), m_lastModDate(QDateTime::currentDateTime()) {}

bool ZKEntryHeader::useZip64Extensions() const {
  return zkrecord::needsZip64(m_uncompressedSize) || zkrecord::needsZip64(m_compressedSize);
}

void ZKEntryHeader::updateVersionNeeded() { m_versionNeededToExtract = useZip64Extensions() ? 45 : 20; }

void ZKEntryHeader::setCompressedSize(quint64 v) {
  m_compressedSize = v;
  updateVersionNeeded();
}

void ZKEntryHeader::setUncompressedSize(quint64 v) {
  m_uncompressedSize = v;
  updateVersionNeeded();
}

void ZKEntryHeader::setFilename(const QString& v) {
  m_filename = v;
  if (m_filenameLength == 0) m_filenameLength = static_cast<quint32>(zk_precomposedUTF8Length(v));
}

void ZKEntryHeader::setExtraField(const QByteArray& v) {
  m_extraField = v;
  if (m_extraFieldLength == 0) m_extraFieldLength = static_cast<quint32>(v.size());
}

bool ZKEntryHeader::isResourceFork() const { return zk_isResourceForkPath(m_filename); }

void ZKEntryHeader::readSharedFields(ZKByteReader& r) {
  m_versionNeededToExtract = r.int16();
  m_generalPurposeBitFlag = r.int16();
  m_compressionMethod = r.int16();
  m_lastModDate = zk_dateWithDosDate(r.int32());
  m_crc = r.int32();
  m_compressedSize = r.int32();
  m_uncompressedSize = r.int32();
  m_filenameLength = r.int16();
  m_extraFieldLength = r.int16();
}

void ZKEntryHeader::readNameAndExtraField(ZKByteReader& r) {
  if (m_filenameLength > 0) m_filename = r.string(m_filenameLength);
  if (m_extraFieldLength > 0) m_extraField = r.bytes(m_extraFieldLength);
}

void ZKEntryHeader::appendSharedFields(QByteArray& d, const QByteArray& name) const {
  const bool zip64 = useZip64Extensions();
  zk_appendLittleInt16(d, static_cast<quint16>(m_versionNeededToExtract));
  zk_appendLittleInt16(d, static_cast<quint16>(m_generalPurposeBitFlag));
  zk_appendLittleInt16(d, static_cast<quint16>(m_compressionMethod));
  zk_appendLittleInt32(d, zk_dosDate(m_lastModDate));
  zk_appendLittleInt32(d, m_crc);
  zk_appendLittleInt32(d, zkrecord::field32(m_compressedSize, zip64));
  zk_appendLittleInt32(d, zkrecord::field32(m_uncompressedSize, zip64));
  zk_appendLittleInt16(d, static_cast<quint16>(name.size()));
  zk_appendLittleInt16(d, static_cast<quint16>(m_extraField.size()));
}

QByteArray ZKEntryHeader::zip64ExtraFieldWith(std::initializer_list<quint64> more) const {
  if (!useZip64Extensions()) return {};
  QByteArray field;
  zk_appendLittleInt16(field, 0x0001);
  zk_appendLittleInt16(field, static_cast<quint16>(8 * (2 + more.size())));
  zk_appendLittleInt64(field, m_uncompressedSize);
  zk_appendLittleInt64(field, m_compressedSize);
  for (const quint64 value : more) zk_appendLittleInt64(field, value);
  return field;
}

QByteArray ZKEntryHeader::takeZip64Sizes() {
  const auto block = zkrecord::zip64Block(m_extraField, m_extraFieldLength);
  if (!block) return {};
  quint64 pos = 0;
  if (const auto v = zk_hostInt64OffsetBy(*block, pos)) m_uncompressedSize = *v;
  if (const auto v = zk_hostInt64OffsetBy(*block, pos)) m_compressedSize = *v;
  return block->mid(static_cast<qsizetype>(pos));
}
