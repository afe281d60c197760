// Small pieces shared by the three zip records; not part of the public API.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <optional>

#include "zip/ZKBytes.h"

namespace zkrecord {

// A size or offset that the 32-bit fields cannot hold; 0xFFFFFFFF itself is
// taken, because readers treat it as "look in the zip64 field".
inline bool needsZip64(quint64 value) { return value >= 0xFFFFFFFFULL; }

inline quint32 field32(quint64 value, bool zip64) { return zip64 ? 0xFFFFFFFFU : static_cast<quint32>(value); }

// Variable parts longer than a 16-bit length can say are cut, so the record
// stays readable.
inline QByteArray clip16(const QByteArray& bytes) { return bytes.left(0xFFFF); }

// The data of the first zip64 block (tag 1) inside the first `declaredLength`
// bytes of an extra field, cut to what is really there; none without one.
inline std::optional<QByteArray> zip64Block(const QByteArray& extraField, quint64 declaredLength) {
  const QByteArray extra =
      extraField.left(static_cast<qsizetype>(std::min(declaredLength, static_cast<quint64>(extraField.size()))));
  quint64 pos = 0;
  while (pos < static_cast<quint64>(extra.size())) {
    const auto tag = zk_hostInt16OffsetBy(extra, pos);
    const auto size = zk_hostInt16OffsetBy(extra, pos);
    if (!tag || !size) return std::nullopt;
    const quint64 blockSize = std::min<quint64>(*size, static_cast<quint64>(extra.size()) - pos);
    if (*tag == 1) return extra.mid(static_cast<qsizetype>(pos), static_cast<qsizetype>(blockSize));
    pos += blockSize;  // every step moves on by at least the 4 header bytes
  }
  return std::nullopt;
}

// Reads `length` bytes at `offset` from a file; none when the file is shorter.
inline std::optional<QByteArray> readFileRange(QFile& file, quint64 offset, quint64 length) {
  const auto size = static_cast<quint64>(file.size());
  if (offset > size || length > size - offset) return std::nullopt;
  if (!file.seek(static_cast<qint64>(offset))) return std::nullopt;
  QByteArray bytes = file.read(static_cast<qint64>(length));
  if (static_cast<quint64>(bytes.size()) != length) return std::nullopt;
  return bytes;
}

// The bytes of a header at `offset` in the file at `path`: its fixed part,
// then as many bytes as the `count` 16-bit lengths at `lengthsAt` in that part
// add up to (name, extra field, comment). None when the file ends first.
inline std::optional<QByteArray> readHeader(const QString& path, quint64 offset, quint64 fixedLength, quint64 lengthsAt,
                                            int count) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const auto fixed = readFileRange(file, offset, fixedLength);
  if (!fixed) return std::nullopt;
  quint64 variable = 0;
  for (int i = 0; i < count; ++i) {
    const auto length = zk_hostInt16OffsetBy(*fixed, lengthsAt);
    if (!length) return std::nullopt;
    variable += *length;
  }
  return readFileRange(file, offset, fixedLength + variable);
}

}  // namespace zkrecord
