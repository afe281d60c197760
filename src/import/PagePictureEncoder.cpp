#include "import/PagePictureEncoder.h"

#include <turbojpeg.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <array>
#include <vector>

#include "import/ImportError.h"
#include "import/PictureSimilarity.h"
#include "import/PngEncoder.h"
#include "import/TurboJpegEncoder.h"
#include "import/WebpEncoder.h"

namespace {

constexpr int kBlock = 16;
// Antialiased text, even coloured on a tinted ground, stays well below this
// many colours in a block; a photograph's block is above it.
constexpr int kPhotoColours = 96;

// Whether the block at (x0, y0) holds more than kPhotoColours colours.
bool manyColours(const unsigned char* rgb, int stride, int x0, int y0, int w, int h) {
  constexpr int kSlots = 512;  // a power of two above kPhotoColours, so probing ends
  std::array<quint32, kSlots> seen;
  seen.fill(0xffffffffu);
  int count = 0;
  for (int y = y0; y < y0 + h; ++y) {
    const unsigned char* p = rgb + static_cast<std::ptrdiff_t>(y) * stride + 3 * x0;
    for (int x = 0; x < w; ++x, p += 3) {
      const quint32 c = (quint32(p[0]) << 16) | (quint32(p[1]) << 8) | p[2];
      quint32 slot = (c * 2654435761u) >> 23;
      while (seen[slot] != 0xffffffffu && seen[slot] != c) slot = (slot + 1) & (kSlots - 1);
      if (seen[slot] == c) continue;
      seen[slot] = c;
      if (++count > kPhotoColours) return true;
    }
  }
  return false;
}

// WebP holds at most 16383 pixels a side; a longer page (a banner, a scroll)
// is a JPEG, which holds 65535.
bool fitsWebp(int width, int height) { return width <= WEBP_MAX_DIMENSION && height <= WEBP_MAX_DIMENSION; }

// Decoded pictures, to compare two encodings with the original.
std::vector<unsigned char> decodeJpeg(QByteArrayView bytes, int width, int height) {
  std::vector<unsigned char> out(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  tjhandle h = tjInitDecompress();
  if (h == nullptr) return {};
  const int ok =
      tjDecompress2(h, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                    out.data(), width, width * 3, height, TJPF_RGB, 0);
  tjDestroy(h);
  return ok == 0 ? out : std::vector<unsigned char>();
}

std::vector<unsigned char> decodeWebp(QByteArrayView bytes, int width, int height) {
  std::vector<unsigned char> out(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  if (!WebPDecodeRGBInto(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<size_t>(bytes.size()), out.data(),
                         out.size(), width * 3))
    return {};
  return out;
}

}  // namespace

PagePictureEncoder::PagePictureEncoder(PictureFormat format)
    : m_format(format), m_jpeg(std::make_unique<TurboJpegEncoder>()), m_webp(std::make_unique<WebpEncoder>()) {}

PagePictureEncoder::~PagePictureEncoder() = default;

PageKind PagePictureEncoder::classify(const unsigned char* rgb, int width, int height, int stride) {
  if (width <= 0 || height <= 0) return PageKind::Unknown;
  qint64 photo = 0;
  qint64 all = 0;
  for (int y = 0; y < height; y += kBlock) {
    const int h = std::min(kBlock, height - y);
    for (int x = 0; x < width; x += kBlock) {
      const int w = std::min(kBlock, width - x);
      const qint64 area = static_cast<qint64>(w) * h;
      all += area;
      if (manyColours(rgb, stride, x, y, w, h)) photo += area;
    }
  }
  return static_cast<double>(photo) >= kPhotoShare * static_cast<double>(all) ? PageKind::Photo : PageKind::Text;
}

PagePictureEncoder::Picture PagePictureEncoder::encodePage(const unsigned char* rgb, int width, int height, int stride,
                                                           int quality, PageKind* kind) {
  const PageKind k = classify(rgb, width, height, stride);
  if (kind) *kind = k;
  if (m_format == PictureFormat::Png && k == PageKind::Text) {
    m_png = PngEncoder::encode(rgb, width, height, stride);
    if (m_png.isEmpty()) throw ImportError(QStringLiteral("a page could not be encoded as PNG"));
    return {m_png, QStringLiteral("png")};
  }
  if (m_format == PictureFormat::Jpeg || m_format == PictureFormat::Png || !fitsWebp(width, height))
    return {m_jpeg->encode(rgb, width, height, stride, quality), QStringLiteral("jpg")};
  if (k == PageKind::Text) return {m_webp->encodeLossless(rgb, width, height, stride), QStringLiteral("webp")};
  return encodePhoto(rgb, width, height, stride, quality);
}

PagePictureEncoder::Picture PagePictureEncoder::encodeLossy(const unsigned char* rgb, int width, int height, int stride,
                                                            int quality) {
  if (m_format == PictureFormat::Jpeg || m_format == PictureFormat::Png || !fitsWebp(width, height))
    return {m_jpeg->encode(rgb, width, height, stride, quality), QStringLiteral("jpg")};
  return {m_webp->encodeLossy(rgb, width, height, stride, quality), QStringLiteral("webp")};
}

PagePictureEncoder::Picture PagePictureEncoder::encodeZoom(const unsigned char* rgb, int width, int height, int stride,
                                                           int quality) {
  if (m_format == PictureFormat::Webp && fitsWebp(width, height))
    return {m_webp->encodeLossy(rgb, width, height, stride, quality), QStringLiteral("webp")};
  return {m_jpeg->encode(rgb, width, height, stride, quality), QStringLiteral("jpg")};
}

PagePictureEncoder::Picture PagePictureEncoder::encodePhoto(const unsigned char* rgb, int width, int height, int stride,
                                                            int quality) {
  const Picture webp{m_webp->encodeLossy(rgb, width, height, stride, quality), QStringLiteral("webp")};
  if (m_format == PictureFormat::Webp) return webp;
  // Auto: the JPEG of this quality is the fidelity to keep; the WebP replaces
  // it only when it is smaller and looks as good.
  const Picture jpeg{m_jpeg->encode(rgb, width, height, stride, quality), QStringLiteral("jpg")};
  if (webp.bytes.size() >= jpeg.bytes.size()) return jpeg;
  const std::vector<unsigned char> fromJpeg = decodeJpeg(jpeg.bytes, width, height);
  const std::vector<unsigned char> fromWebp = decodeWebp(webp.bytes, width, height);
  if (fromJpeg.empty() || fromWebp.empty()) return jpeg;
  const double j = PictureSimilarity::ssim(rgb, stride, fromJpeg.data(), width * 3, width, height);
  const double w = PictureSimilarity::ssim(rgb, stride, fromWebp.data(), width * 3, width, height);
  return w + kSameFidelity >= j ? webp : jpeg;
}
