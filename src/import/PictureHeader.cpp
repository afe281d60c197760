#include "import/PictureHeader.h"

#include <QFile>
#include <QIODevice>

#include "base/RegularFile.h"

namespace PictureHeader {

namespace {

Result failure(const QString& why) { return Result{QSize(), why}; }

quint32 bigEndian32(const QByteArray& b, int at) {
  const auto u = [&](int i) { return static_cast<quint32>(static_cast<unsigned char>(b[at + i])); };
  return u(0) << 24 | u(1) << 16 | u(2) << 8 | u(3);
}

quint32 littleEndian(const QByteArray& b, int at, int bytes) {
  quint32 v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// Signature, then the IHDR chunk, which must come first.
Result readPng(QIODevice& device) {
  const QByteArray h = device.read(8 + 8 + 13);
  if (h.size() < 8 + 8 + 13) return failure(QStringLiteral("it is cut short before its picture"));
  if (bigEndian32(h, 8) != 13 || h.mid(12, 4) != "IHDR") return failure(QStringLiteral("its header is damaged"));
  const quint32 width = bigEndian32(h, 16);
  const quint32 height = bigEndian32(h, 20);
  const int depth = static_cast<unsigned char>(h[24]);
  const int colour = static_cast<unsigned char>(h[25]);
  const bool known = (colour == 0 || colour == 2 || colour == 3 || colour == 4 || colour == 6) &&
                     (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16) && h[26] == 0 &&
                     h[27] == 0 && (h[28] == 0 || h[28] == 1);
  if (!known) return failure(QStringLiteral("its header is damaged"));
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return failure(QStringLiteral("its header is damaged"));
  return JpegHeader::checkSize(static_cast<qint64>(width), static_cast<qint64>(height));
}

// RIFF header, then the first chunk: VP8 (lossy), VP8L (lossless) or VP8X
// (extended, with the canvas size).
Result readWebp(QIODevice& device) {
  const QByteArray h = device.read(12 + 8 + 10);
  if (h.size() < 12 + 8 + 5) return failure(QStringLiteral("it is cut short before its picture"));
  const QByteArray chunk = h.mid(12, 4);
  const auto need = [&](int bytes) { return h.size() >= 20 + bytes; };
  if (chunk == "VP8 ") {
    if (!need(10)) return failure(QStringLiteral("it is cut short before its picture"));
    // Frame tag (3 bytes), key frame start code, then 14-bit sizes.
    if (static_cast<unsigned char>(h[23]) != 0x9D || static_cast<unsigned char>(h[24]) != 0x01 ||
        static_cast<unsigned char>(h[25]) != 0x2A || (static_cast<unsigned char>(h[20]) & 1) != 0)
      return failure(QStringLiteral("its header is damaged"));
    return JpegHeader::checkSize(littleEndian(h, 26, 2) & 0x3FFF, littleEndian(h, 28, 2) & 0x3FFF);
  }
  if (chunk == "VP8L") {
    if (static_cast<unsigned char>(h[20]) != 0x2F) return failure(QStringLiteral("its header is damaged"));
    const quint32 bits = littleEndian(h, 21, 4);
    return JpegHeader::checkSize((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
  }
  if (chunk == "VP8X") {
    if (!need(10)) return failure(QStringLiteral("it is cut short before its picture"));
    return JpegHeader::checkSize(static_cast<qint64>(littleEndian(h, 24, 3)) + 1,
                                 static_cast<qint64>(littleEndian(h, 27, 3)) + 1);
  }
  return failure(QStringLiteral("its header is damaged"));
}

}  // namespace

Result read(QIODevice& device) {
  const QByteArray magic = device.peek(12);
  if (magic.isEmpty()) return failure(QStringLiteral("the file is empty"));
  if (magic.startsWith("\xFF\xD8")) return JpegHeader::read(device);
  if (magic.startsWith("\x89PNG\r\n\x1A\n")) return readPng(device);
  if (magic.size() == 12 && magic.startsWith("RIFF") && magic.mid(8, 4) == "WEBP") return readWebp(device);
  return failure(QStringLiteral("it is not a JPEG, PNG or WebP picture"));
}

Result readFile(const QString& path) {
  QFile file;
  QString why;
  if (!RegularFile::open(file, path, &why)) return failure(why);
  return read(file);
}

}  // namespace PictureHeader
