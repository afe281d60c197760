#include "import/JpegHeader.h"

#include <QFile>
#include <QIODevice>

#include "base/RegularFile.h"

namespace JpegHeader {

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;
// Bytes that are not a marker where one belongs; libjpeg and browsers skip
// some, so do we, up to this many.
constexpr int kMaxStrayBytes = 4096;

Result failure(const QString& why) { return Result{QSize(), why}; }

// Frame headers (SOFn) are C0..CF but for C4 (Huffman tables), C8 (reserved)
// and CC (arithmetic conditioning).
bool isFrame(unsigned char m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
// Baseline, extended sequential and progressive, with Huffman coding.
bool browsersShow(unsigned char m) { return m == 0xC0 || m == 0xC1 || m == 0xC2; }
bool standsAlone(unsigned char m) { return m == 0x01 || (m >= 0xD0 && m <= 0xD7); }

}  // namespace

Result read(QIODevice& device) {
  const QString cut = QStringLiteral("it is cut short before its picture");
  const QString damaged = QStringLiteral("its header is damaged");
  char c = 0;
  auto next = [&](unsigned char* byte) {
    if (!device.getChar(&c)) return false;
    *byte = static_cast<unsigned char>(c);
    return true;
  };
  unsigned char a = 0, b = 0;
  if (!next(&a)) return failure(QStringLiteral("the file is empty"));
  if (!next(&b) || a != kMarker || b != kStartOfImage) return failure(QStringLiteral("it is not a JPEG picture"));

  QSize size;
  for (int segments = 0;; ++segments) {
    if (segments > kMaxSegments) return failure(damaged);
    unsigned char m = 0;
    for (int stray = 0;; ++stray) {
      if (!next(&m)) return failure(cut);
      if (m == kMarker) break;
      if (stray >= kMaxStrayBytes) return failure(damaged);
    }
    do {
      if (!next(&m)) return failure(cut);
    } while (m == kMarker);  // fill bytes
    if (standsAlone(m)) continue;
    if (m == 0x00 || m == kStartOfImage) return failure(damaged);
    if (m == kEndOfImage) return failure(QStringLiteral("it holds no picture"));
    if (m == kStartOfScan) {
      if (!size.isValid()) return failure(damaged);  // a scan needs the frame before it
      return Result{size, QString()};
    }
    unsigned char hi = 0, lo = 0;
    if (!next(&hi) || !next(&lo)) return failure(cut);
    const int length = hi << 8 | lo;
    if (length < 2) return failure(damaged);
    if (!isFrame(m)) {
      if (device.skip(length - 2) != length - 2) return failure(cut);
      continue;
    }
    if (size.isValid()) return failure(damaged);  // one frame per picture
    if (!browsersShow(m)) return failure(QStringLiteral("it is a kind of JPEG that browsers do not show"));
    const QByteArray frame = device.read(length - 2);
    if (frame.size() != length - 2) return failure(cut);
    if (frame.size() < 6) return failure(damaged);
    const auto u8 = [&](int i) { return static_cast<unsigned char>(frame[i]); };
    const int height = u8(1) << 8 | u8(2);
    const int width = u8(3) << 8 | u8(4);
    const int components = u8(5);
    if (frame.size() != 6 + 3 * components || (components != 1 && components != 3 && components != 4))
      return failure(damaged);
    // A height of 0 comes later, in a DNL segment, which browsers do not read.
    if (width == 0 || height == 0) return failure(QStringLiteral("its header gives no size"));
    const Result checked = checkSize(width, height);
    if (!checked.ok()) return checked;
    size = QSize(width, height);
  }
}

Result checkSize(qint64 width, qint64 height) {
  if (width <= 0 || height <= 0) return failure(QStringLiteral("its header gives no size"));
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    return failure(QStringLiteral("it is %1 x %2 pixels, more than a page may have (at most %3 million, %4 on a side)")
                       .arg(width)
                       .arg(height)
                       .arg(kMaxPixels / 1'000'000)
                       .arg(kMaxSide));
  return Result{QSize(static_cast<int>(width), static_cast<int>(height)), QString()};
}

Result readFile(const QString& path) {
  QFile file;
  QString why;
  if (!RegularFile::open(file, path, &why)) return failure(why);
  return read(file);
}

}  // namespace JpegHeader
