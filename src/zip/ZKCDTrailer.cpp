#include "zip/ZKCDTrailer.h"

#include <QFile>
#include <algorithm>

#include "zip/ZKBytes.h"
#include "zip/ZKRecordUtil.h"

ZKCDTrailer::ZKCDTrailer() { setComment(QStringLiteral("Archive created by Folivox.")); }

void ZKCDTrailer::setComment(const QString& v) {
  m_comment = v;
  if (m_commentLength == 0) m_commentLength = static_cast<quint32>(zk_precomposedUTF8Length(v));
}

bool ZKCDTrailer::useZip64Extensions() const {
  return zkrecord::needsZip64(m_sizeOfCentralDirectory) || zkrecord::needsZip64(m_offsetOfStartOfCentralDirectory);
}

QByteArray ZKCDTrailer::data() const {
  const bool zip64 = useZip64Extensions();
  const QByteArray comment = zkrecord::clip16(zk_precomposedUTF8(m_comment));
  QByteArray d;
  d.reserve(static_cast<qsizetype>(ZKCDTrailerFixedDataLength) + comment.size());
  zk_appendLittleInt32(d, m_magicNumber);
  zk_appendLittleInt16(d, static_cast<quint16>(m_thisDiskNumber));
  zk_appendLittleInt16(d, static_cast<quint16>(m_diskNumberWithStartOfCentralDirectory));
  zk_appendLittleInt16(d, static_cast<quint16>(m_numberOfCentralDirectoryEntriesOnThisDisk));
  zk_appendLittleInt16(d, static_cast<quint16>(m_totalNumberOfCentralDirectoryEntries));
  zk_appendLittleInt32(d, zkrecord::field32(m_sizeOfCentralDirectory, zip64));
  zk_appendLittleInt32(d, zkrecord::field32(m_offsetOfStartOfCentralDirectory, zip64));
  zk_appendLittleInt16(d, static_cast<quint16>(comment.size()));
  d.append(comment);
  return d;
}

// Counted in bytes as written, so it agrees with data() for any comment.
quint64 ZKCDTrailer::length() const {
  return ZKCDTrailerFixedDataLength + std::min<quint64>(zk_precomposedUTF8Length(m_comment), 0xFFFF);
}

QString ZKCDTrailer::description() const {
  return QStringLiteral("%1 entries (%2 bytes) @: %3")
      .arg(m_totalNumberOfCentralDirectoryEntries)
      .arg(m_sizeOfCentralDirectory)
      .arg(m_offsetOfStartOfCentralDirectory);
}

std::optional<ZKCDTrailer> ZKCDTrailer::recordWithData(const QByteArray& data, quint64 offset) {
  ZKByteReader r(data, offset);
  if (r.int32() != ZKCDTrailerMagicNumber || !r.ok()) return std::nullopt;
  ZKCDTrailer t;
  t.m_thisDiskNumber = r.int16();
  t.m_diskNumberWithStartOfCentralDirectory = r.int16();
  t.m_numberOfCentralDirectoryEntriesOnThisDisk = r.int16();
  t.m_totalNumberOfCentralDirectoryEntries = r.int16();
  t.m_sizeOfCentralDirectory = r.int32();
  t.m_offsetOfStartOfCentralDirectory = r.int32();
  t.m_commentLength = r.int16();
  t.m_comment = t.m_commentLength > 0 ? r.string(t.m_commentLength) : QString();
  if (!r.ok()) return std::nullopt;
  return t;
}

std::optional<ZKCDTrailer> ZKCDTrailer::recordWithData(const QByteArray& data) {
  if (static_cast<quint64>(data.size()) < ZKCDTrailerFixedDataLength) return std::nullopt;
  static const QByteArray signature = zk_dataWithLittleInt32(ZKCDTrailerMagicNumber);
  // A signature inside a comment or cut off by the end of the buffer is not
  // the record: keep looking further back.
  qsizetype from = data.size() - static_cast<qsizetype>(ZKCDTrailerFixedDataLength);
  while (from >= 0) {
    const qsizetype at = data.lastIndexOf(signature, from);
    if (at < 0) break;
    if (auto trailer = recordWithData(data, static_cast<quint64>(at))) return trailer;
    from = at - 1;
  }
  return std::nullopt;
}

std::optional<ZKCDTrailer> ZKCDTrailer::recordWithArchivePath(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const auto size = static_cast<quint64>(file.size());
  const quint64 tail = std::min<quint64>(size, ZKCDTrailerFixedDataLength + 0xFFFF);
  const auto bytes = zkrecord::readFileRange(file, size - tail, tail);
  if (!bytes) return std::nullopt;
  return recordWithData(*bytes);
}
