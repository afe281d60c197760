#include "zip/ZKLFHeader.h"

#include "zip/ZKBytes.h"
#include "zip/ZKRecordUtil.h"

ZKLFHeader::ZKLFHeader() : ZKEntryHeader(ZKLFHeaderMagicNumber) {}

QByteArray ZKLFHeader::zip64ExtraField() const { return zip64ExtraFieldWith({}); }

QByteArray ZKLFHeader::data() {
  setExtraField(zip64ExtraField());
  const QByteArray name = zkrecord::clip16(zk_precomposedUTF8(m_filename));
  QByteArray d;
  d.reserve(static_cast<qsizetype>(ZKLFHeaderFixedDataLength) + name.size() + m_extraField.size());
  zk_appendLittleInt32(d, m_magicNumber);
  appendSharedFields(d, name);
  d.append(name);
  d.append(m_extraField);
  return d;
}

quint64 ZKLFHeader::length() const {
  const QByteArray extra = m_extraField.isEmpty() ? zip64ExtraField() : m_extraField;
  return m_filenameLength + ZKLFHeaderFixedDataLength + static_cast<quint64>(extra.size());
}

void ZKLFHeader::parseZip64ExtraField() { (void)takeZip64Sizes(); }

QString ZKLFHeader::description() const {
  return QStringLiteral("%1 modified %2, %3 bytes (%4 compressed)")
      .arg(m_filename, m_lastModDate.toString(Qt::ISODate), QString::number(m_uncompressedSize),
           QString::number(m_compressedSize));
}

std::optional<ZKLFHeader> ZKLFHeader::recordWithData(const QByteArray& data, quint64 offset) {
  ZKByteReader r(data, offset);
  if (r.int32() != ZKLFHeaderMagicNumber || !r.ok()) return std::nullopt;
  ZKLFHeader h;
  h.readSharedFields(r);
  h.readNameAndExtraField(r);
  if (!r.ok()) return std::nullopt;
  if (h.m_extraFieldLength > 0) h.parseZip64ExtraField();
  return h;
}

std::optional<ZKLFHeader> ZKLFHeader::recordWithArchivePath(const QString& path, quint64 offset) {
  // The fixed part ends with the lengths of the name and the extra field.
  const auto bytes = zkrecord::readHeader(path, offset, ZKLFHeaderFixedDataLength, 26, 2);
  if (!bytes) return std::nullopt;
  return recordWithData(*bytes, 0);
}
