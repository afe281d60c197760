#include "zip/ZKBytes.h"

#include <zlib.h>

#include <QScopeGuard>
#include <algorithm>
#include <climits>

namespace {

template <typename T>
void appendLittle(QByteArray& data, T value) {
  char bytes[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  data.append(bytes, static_cast<qsizetype>(sizeof(T)));
}

template <typename T>
std::optional<T> readLittle(const QByteArray& data, quint64& offset) {
  if (!zk_hasBytes(data, offset, sizeof(T))) return std::nullopt;
  const auto* p = reinterpret_cast<const uchar*>(data.constData()) + offset;
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>(value | (static_cast<T>(p[i]) << (8 * i)));
  offset += sizeof(T);
  return value;
}

// zlib counts in uInt; larger buffers go through in slices of this size.
constexpr quint64 kZlibSlice = quint64{1} << 30;

}  // namespace

QByteArray zk_dataWithLittleInt16(quint16 value) {
  QByteArray data;
  appendLittle(data, value);
  return data;
}

QByteArray zk_dataWithLittleInt32(quint32 value) {
  QByteArray data;
  appendLittle(data, value);
  return data;
}

void zk_appendLittleInt16(QByteArray& data, quint16 value) { appendLittle(data, value); }
void zk_appendLittleInt32(QByteArray& data, quint32 value) { appendLittle(data, value); }
void zk_appendLittleInt64(QByteArray& data, quint64 value) { appendLittle(data, value); }

QByteArray zk_precomposedUTF8(const QString& string) {
  if (string.isEmpty()) return {};
  return string.normalized(QString::NormalizationForm_C).toUtf8();
}

void zk_appendPrecomposedUTF8String(QByteArray& data, const QString& string) {
  data.append(zk_precomposedUTF8(string));
}

quint64 zk_precomposedUTF8Length(const QString& string) {
  return static_cast<quint64>(zk_precomposedUTF8(string).size());
}

bool zk_hasBytes(const QByteArray& data, quint64 offset, quint64 length) {
  const auto size = static_cast<quint64>(data.size());
  return offset <= size && length <= size - offset;
}

std::optional<quint16> zk_hostInt16OffsetBy(const QByteArray& data, quint64& offset) {
  return readLittle<quint16>(data, offset);
}

std::optional<quint32> zk_hostInt32OffsetBy(const QByteArray& data, quint64& offset) {
  return readLittle<quint32>(data, offset);
}

std::optional<quint64> zk_hostInt64OffsetBy(const QByteArray& data, quint64& offset) {
  return readLittle<quint64>(data, offset);
}

std::optional<QByteArray> zk_bytesOffsetBy(const QByteArray& data, quint64& offset, quint64 length) {
  if (!zk_hasBytes(data, offset, length)) return std::nullopt;
  QByteArray bytes = data.mid(static_cast<qsizetype>(offset), static_cast<qsizetype>(length));
  offset += length;
  return bytes;
}

std::optional<QString> zk_stringOffsetBy(const QByteArray& data, quint64& offset, quint64 length) {
  const auto bytes = zk_bytesOffsetBy(data, offset, length);
  if (!bytes) return std::nullopt;
  return QString::fromUtf8(*bytes);
}

quint16 ZKByteReader::int16() { return m_ok ? take(zk_hostInt16OffsetBy(m_data, m_offset)) : 0; }
quint32 ZKByteReader::int32() { return m_ok ? take(zk_hostInt32OffsetBy(m_data, m_offset)) : 0; }
quint64 ZKByteReader::int64() { return m_ok ? take(zk_hostInt64OffsetBy(m_data, m_offset)) : 0; }
QByteArray ZKByteReader::bytes(quint64 length) {
  return m_ok ? take(zk_bytesOffsetBy(m_data, m_offset, length)) : QByteArray();
}
QString ZKByteReader::string(quint64 length) {
  return m_ok ? take(zk_stringOffsetBy(m_data, m_offset, length)) : QString();
}
void ZKByteReader::skip(quint64 length) {
  if (!m_ok) return;
  if (zk_hasBytes(m_data, m_offset, length))
    m_offset += length;
  else
    m_ok = false;
}

quint32 zk_dosDate(const QDateTime& date) {
  const QDateTime local = date.timeSpec() == Qt::UTC ? date : date.toLocalTime();
  QDate d = local.date();
  QTime t = local.time();
  if (!local.isValid() || d.year() < 1980) {
    d = QDate(1980, 1, 1);
    t = QTime(0, 0, 0);
  } else if (d.year() > 2107) {
    d = QDate(2107, 12, 31);
    t = QTime(23, 59, 58);
  }
  const auto dosTime = static_cast<quint32>(t.hour() * 2048 + t.minute() * 32 + t.second() / 2);
  const auto dosDay = static_cast<quint32>((d.year() - 1980) * 512 + d.month() * 32 + d.day());
  return (dosDay << 16) | dosTime;
}

QDateTime zk_dateWithDosDate(quint32 dosDate) {
  const auto time = static_cast<int>(dosDate & 0xFFFF);
  const auto day = static_cast<int>(dosDate >> 16);
  const QDate d(1980 + (day >> 9), (day >> 5) & 0x0F, day & 0x1F);
  const int hour = time >> 11;
  const int minute = (time >> 5) & 0x3F;
  const int second = (time & 0x1F) * 2;
  if (!d.isValid() || !QTime::isValid(hour, minute, second)) return {};
  return QDateTime(d, QTime(hour, minute, second), Qt::LocalTime);
}

std::optional<QByteArray> zk_deflate(const QByteArray& data) {
  z_stream zs{};
  if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    return std::nullopt;
  const auto end = qScopeGuard([&zs] { deflateEnd(&zs); });

  QByteArray out;
  out.resize(static_cast<qsizetype>(deflateBound(&zs, static_cast<uLong>(data.size()))));
  const auto* in = reinterpret_cast<const Bytef*>(data.constData());
  auto inLeft = static_cast<quint64>(data.size());
  quint64 produced = 0;
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    if (zs.avail_in == 0 && inLeft > 0) {
      const quint64 slice = std::min(inLeft, kZlibSlice);
      zs.next_in = const_cast<Bytef*>(in);
      zs.avail_in = static_cast<uInt>(slice);
      in += slice;
      inLeft -= slice;
    }
    if (produced == static_cast<quint64>(out.size())) out.resize(out.size() * 2 + 64);
    zs.next_out = reinterpret_cast<Bytef*>(out.data()) + produced;
    zs.avail_out = static_cast<uInt>(std::min(static_cast<quint64>(out.size()) - produced, kZlibSlice));
    const uInt room = zs.avail_out;
    rc = deflate(&zs, inLeft == 0 ? Z_FINISH : Z_NO_FLUSH);
    produced += room - zs.avail_out;
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return std::nullopt;
  }
  out.resize(static_cast<qsizetype>(produced));
  return out;
}

std::optional<QByteArray> zk_inflate(const QByteArray& data, quint64 maxSize) {
  const quint64 cap = std::min(maxSize, ZKMaxInflatedSize);
  z_stream zs{};
  if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return std::nullopt;
  const auto end = qScopeGuard([&zs] { inflateEnd(&zs); });

  QByteArray out;
  quint64 produced = 0;
  const auto* in = reinterpret_cast<const Bytef*>(data.constData());
  auto inLeft = static_cast<quint64>(data.size());
  // Once the cap is reached, one spare byte tells a stream that merely ends
  // there from one that would go on.
  Bytef spare = 0;
  for (;;) {
    if (zs.avail_in == 0 && inLeft > 0) {
      const quint64 slice = std::min(inLeft, kZlibSlice);
      zs.next_in = const_cast<Bytef*>(in);
      zs.avail_in = static_cast<uInt>(slice);
      in += slice;
      inLeft -= slice;
    }
    const bool atCap = produced >= cap;
    if (!atCap && produced == static_cast<quint64>(out.size())) {
      // Grow with the output, not with what the caller expects: a lying
      // size must not buy a large allocation.
      const quint64 wanted = std::max<quint64>({produced * 2, static_cast<quint64>(data.size()) * 4, 4096});
      out.resize(static_cast<qsizetype>(std::min(wanted, cap)));
    }
    if (atCap) {
      zs.next_out = &spare;
      zs.avail_out = 1;
    } else {
      zs.next_out = reinterpret_cast<Bytef*>(out.data()) + produced;
      zs.avail_out = static_cast<uInt>(std::min(static_cast<quint64>(out.size()) - produced, kZlibSlice));
    }
    const uInt room = zs.avail_out;
    const int rc = inflate(&zs, Z_NO_FLUSH);
    const uInt written = room - zs.avail_out;
    if (atCap && written > 0) return std::nullopt;  // more than the cap
    produced += written;
    if (rc == Z_STREAM_END) break;
    // Z_BUF_ERROR: no progress possible, i.e. the stream was cut short.
    if (rc != Z_OK) return std::nullopt;
  }
  out.resize(static_cast<qsizetype>(produced));
  return out;
}

quint32 zk_crc32(const QByteArray& data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  const auto* p = reinterpret_cast<const Bytef*>(data.constData());
  auto left = static_cast<quint64>(data.size());
  while (left > 0) {
    const quint64 slice = std::min(left, kZlibSlice);
    crc = crc32(crc, p, static_cast<uInt>(slice));
    p += slice;
    left -= slice;
  }
  return static_cast<quint32>(crc);
}

quint32 zk_externalFileAttributesFor(const ZKFileAttributes& attributes) {
  // POSIX st_mode file types, as unzip and friends read them.
  constexpr quint32 kRegular = 0100000;
  constexpr quint32 kDirectory = 0040000;
  constexpr quint32 kSymLink = 0120000;
  constexpr quint32 kDosDirectory = 0x10;

  quint32 type = kRegular;
  quint32 permissions = 0644;
  switch (attributes.fileType) {
    case ZKFileAttributes::FileType::Directory:
      type = kDirectory;
      permissions = 0755;
      break;
    case ZKFileAttributes::FileType::SymbolicLink:
      type = kSymLink;
      permissions = 0777;
      break;
    case ZKFileAttributes::FileType::Regular:
    case ZKFileAttributes::FileType::Unknown:
      break;
  }
  if (attributes.posixPermissions) permissions = *attributes.posixPermissions & 0777;
  quint32 external = (type | permissions) << 16;
  if (type == kDirectory) external |= kDosDirectory;
  return external;
}

bool zk_isResourceForkPath(const QString& path) {
  if (path.startsWith(QLatin1String("__MACOSX/"))) return true;
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  return path.mid(slash + 1).startsWith(QLatin1String("._"));
}
