#include "zip/ZKLFHeader.h"

#include <QFile>

#include "zip/ZKBytes.h"
#include "zip/ZKRecordUtil.h"

ZKLFHeader::ZKLFHeader() : m_lastModDate(QDateTime::currentDateTime()) {}

void ZKLFHeader::updateVersionNeeded() { m_versionNeededToExtract = useZip64Extensions() ? 45 : 20; }

void ZKLFHeader::setCompressedSize(quint64 v) {
  m_compressedSize = v;
  updateVersionNeeded();
}

void ZKLFHeader::setUncompressedSize(quint64 v) {
  m_uncompressedSize = v;
  updateVersionNeeded();
}

void ZKLFHeader::setFilename(const QString& v) {
  m_filename = v;
  if (m_filenameLength == 0) m_filenameLength = static_cast<quint32>(zk_precomposedUTF8Length(v));
}

void ZKLFHeader::setExtraField(const QByteArray& v) {
  m_extraField = v;
  if (m_extraFieldLength == 0) m_extraFieldLength = static_cast<quint32>(v.size());
}

bool ZKLFHeader::useZip64Extensions() const {
  return zkrecord::needsZip64(m_uncompressedSize) || zkrecord::needsZip64(m_compressedSize);
}

QByteArray ZKLFHeader::zip64ExtraField() const {
  if (!useZip64Extensions()) return {};
  QByteArray field;
  zk_appendLittleInt16(field, 0x0001);
  zk_appendLittleInt16(field, 16);
  zk_appendLittleInt64(field, m_uncompressedSize);
  zk_appendLittleInt64(field, m_compressedSize);
  return field;
}

QByteArray ZKLFHeader::data() {
  setExtraField(zip64ExtraField());
  const bool zip64 = useZip64Extensions();
  const QByteArray name = zkrecord::clip16(zk_precomposedUTF8(m_filename));
  QByteArray d;
  d.reserve(static_cast<qsizetype>(ZKLFHeaderFixedDataLength) + name.size() + m_extraField.size());
  zk_appendLittleInt32(d, m_magicNumber);
  zk_appendLittleInt16(d, static_cast<quint16>(m_versionNeededToExtract));
  zk_appendLittleInt16(d, static_cast<quint16>(m_generalPurposeBitFlag));
  zk_appendLittleInt16(d, static_cast<quint16>(m_compressionMethod));
  zk_appendLittleInt32(d, zk_dosDate(m_lastModDate));
  zk_appendLittleInt32(d, m_crc);
  zk_appendLittleInt32(d, zkrecord::field32(m_compressedSize, zip64));
  zk_appendLittleInt32(d, zkrecord::field32(m_uncompressedSize, zip64));
  zk_appendLittleInt16(d, static_cast<quint16>(name.size()));
  zk_appendLittleInt16(d, static_cast<quint16>(m_extraField.size()));
  d.append(name);
  d.append(m_extraField);
  return d;
}

quint64 ZKLFHeader::length() const {
  const QByteArray extra = m_extraField.isEmpty() ? zip64ExtraField() : m_extraField;
  return m_filenameLength + ZKLFHeaderFixedDataLength + static_cast<quint64>(extra.size());
}

void ZKLFHeader::parseZip64ExtraField() {
  const auto block = zkrecord::zip64Block(m_extraField, m_extraFieldLength);
  if (!block) return;
  quint64 pos = 0;
  if (const auto v = zk_hostInt64OffsetBy(*block, pos)) m_uncompressedSize = *v;
  if (const auto v = zk_hostInt64OffsetBy(*block, pos)) m_compressedSize = *v;
}

bool ZKLFHeader::isResourceFork() const { return zk_isResourceForkPath(m_filename); }

QString ZKLFHeader::description() const {
  return QStringLiteral("%1 modified %2, %3 bytes (%4 compressed)")
      .arg(m_filename, m_lastModDate.toString(Qt::ISODate), QString::number(m_uncompressedSize),
           QString::number(m_compressedSize));
}

std::optional<ZKLFHeader> ZKLFHeader::recordWithData(const QByteArray& data, quint64 offset) {
  ZKByteReader r(data, offset);
  if (r.int32() != ZKLFHeaderMagicNumber || !r.ok()) return std::nullopt;
  ZKLFHeader h;
  h.m_versionNeededToExtract = r.int16();
  h.m_generalPurposeBitFlag = r.int16();
  h.m_compressionMethod = r.int16();
  h.m_lastModDate = zk_dateWithDosDate(r.int32());
  h.m_crc = r.int32();
  h.m_compressedSize = r.int32();
  h.m_uncompressedSize = r.int32();
  h.m_filenameLength = r.int16();
  h.m_extraFieldLength = r.int16();
  if (h.m_filenameLength > 0) h.m_filename = r.string(h.m_filenameLength);
  if (h.m_extraFieldLength > 0) h.m_extraField = r.bytes(h.m_extraFieldLength);
  if (!r.ok()) return std::nullopt;
  if (h.m_extraFieldLength > 0) h.parseZip64ExtraField();
  return h;
}

std::optional<ZKLFHeader> ZKLFHeader::recordWithArchivePath(const QString& path, quint64 offset) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const auto fixed = zkrecord::readFileRange(file, offset, ZKLFHeaderFixedDataLength);
  if (!fixed) return std::nullopt;
  quint64 pos = 26;
  const quint64 variable = quint64{*zk_hostInt16OffsetBy(*fixed, pos)} + *zk_hostInt16OffsetBy(*fixed, pos);
  const auto whole = zkrecord::readFileRange(file, offset, ZKLFHeaderFixedDataLength + variable);
  if (!whole) return std::nullopt;
  return recordWithData(*whole, 0);
}
