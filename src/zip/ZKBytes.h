// Byte, string, date and compression helpers of the zip records and archives.
//
// Readers take the buffer and an offset that they advance; they never read
// past the end of the buffer and leave the offset alone when the bytes are
// missing, so every caller can trust its input to be hostile.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <optional>

#include "zip/ZKFileAttributes.h"

// Largest entry we ever inflate, whatever an archive claims.
inline constexpr quint64 ZKMaxInflatedSize = quint64{1} << 30;

// --- writing ---------------------------------------------------------------

QByteArray zk_dataWithLittleInt16(quint16 value);
QByteArray zk_dataWithLittleInt32(quint32 value);
void zk_appendLittleInt16(QByteArray& data, quint16 value);
void zk_appendLittleInt32(QByteArray& data, quint32 value);
void zk_appendLittleInt64(QByteArray& data, quint64 value);

// Names and comments are stored as UTF-8 in normalisation form C; a null or
// empty string appends nothing and measures 0.
QByteArray zk_precomposedUTF8(const QString& string);
void zk_appendPrecomposedUTF8String(QByteArray& data, const QString& string);
quint64 zk_precomposedUTF8Length(const QString& string);

// --- reading ---------------------------------------------------------------

// True when `length` bytes starting at `offset` lie inside `data`; safe for
// offsets and lengths up to 2^64 - 1.
bool zk_hasBytes(const QByteArray& data, quint64 offset, quint64 length);

// Each reads a little-endian value at `offset` and advances it by the value's
// size; none (offset unchanged) when the buffer ends too early.
std::optional<quint16> zk_hostInt16OffsetBy(const QByteArray& data, quint64& offset);
std::optional<quint32> zk_hostInt32OffsetBy(const QByteArray& data, quint64& offset);
std::optional<quint64> zk_hostInt64OffsetBy(const QByteArray& data, quint64& offset);
std::optional<QByteArray> zk_bytesOffsetBy(const QByteArray& data, quint64& offset, quint64 length);
std::optional<QString> zk_stringOffsetBy(const QByteArray& data, quint64& offset, quint64 length);

// A cursor over the same readers for parsing whole records: the first missing
// byte puts it into the failed state, after which every read gives 0 or empty
// and ok() stays false. Check ok() once at the end of a record.
class ZKByteReader {
 public:
  ZKByteReader(const QByteArray& data, quint64 offset) : m_data(data), m_offset(offset) {}

  quint16 int16();
  quint32 int32();
  quint64 int64();
  QByteArray bytes(quint64 length);
  QString string(quint64 length);
  void skip(quint64 length);

  bool ok() const { return m_ok; }
  quint64 offset() const { return m_offset; }

 private:
  template <typename T>
  T take(std::optional<T> value) {
    if (!value) m_ok = false;
    return value.value_or(T{});
  }

  const QByteArray& m_data;
  quint64 m_offset;
  bool m_ok = true;
};

// --- dates -----------------------------------------------------------------

// MS-DOS date and time in the local time zone, or in UTC for a date given in
// UTC (a fixed stamp must not change with the machine's zone): time in the low
// 16 bits, date in the high 16 bits. Dates outside 1980..2107 are clamped to
// that range.
quint32 zk_dosDate(const QDateTime& date);
// The reverse; an invalid QDateTime for impossible fields (month 0 and so on).
QDateTime zk_dateWithDosDate(quint32 dosDate);

// --- compression -----------------------------------------------------------

// A raw deflate stream (no zlib or gzip wrapper); none on failure.
std::optional<QByteArray> zk_deflate(const QByteArray& data);
// Decodes a raw deflate stream. Fails when the stream is damaged or does not
// end, or when it would produce more than min(maxSize, ZKMaxInflatedSize)
// bytes; memory grows with the real output, never with a claimed size.
std::optional<QByteArray> zk_inflate(const QByteArray& data, quint64 maxSize = ZKMaxInflatedSize);
quint32 zk_crc32(const QByteArray& data);

// Zip external attributes: the POSIX file type and permission bits in the
// high 16 bits (plus the MS-DOS directory bit for folders).
quint32 zk_externalFileAttributesFor(const ZKFileAttributes& attributes);

// AppleDouble companions ("__MACOSX/..." or "._name") as Mac archivers write them.
bool zk_isResourceForkPath(const QString& path);
