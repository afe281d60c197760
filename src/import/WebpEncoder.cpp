#include "import/WebpEncoder.h"

#include <webp/encode.h>

#include <QString>
#include <algorithm>

#include "import/ImportError.h"

namespace {

// libwebp hands the bytes over piece by piece; they go straight into the
// buffer kept between pictures.
int appendBytes(const uint8_t* data, size_t size, const WebPPicture* picture) {
  auto* out = static_cast<QByteArray*>(picture->custom_ptr);
  out->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  return 1;
}

QString why(WebPEncodingError code) {
  switch (code) {
    case VP8_ENC_ERROR_OUT_OF_MEMORY:
    case VP8_ENC_ERROR_BITSTREAM_OUT_OF_MEMORY:
      return QStringLiteral("out of memory");
    case VP8_ENC_ERROR_BAD_DIMENSION:
      return QStringLiteral("the picture is too large for WebP");
    default:
      return QStringLiteral("error %1").arg(static_cast<int>(code));
  }
}

}  // namespace

QByteArrayView WebpEncoder::encodeLossless(const unsigned char* rgb, int width, int height, int stride) {
  return encode(rgb, width, height, stride, true, kLosslessEffort, kLosslessMethod);
}

QByteArrayView WebpEncoder::encodeLossy(const unsigned char* rgb, int width, int height, int stride, int quality) {
  return encode(rgb, width, height, stride, false, static_cast<float>(std::clamp(quality, 1, 100)), kLossyMethod);
}

QByteArrayView WebpEncoder::encode(const unsigned char* rgb, int width, int height, int stride, bool lossless,
                                   float quality, int method) {
  if (width <= 0 || height <= 0 || width > WEBP_MAX_DIMENSION || height > WEBP_MAX_DIMENSION)
    throw ImportError(QStringLiteral("the picture is too large for WebP"));
  WebPConfig config;
  if (!WebPConfigInit(&config)) throw ImportError(QStringLiteral("the WebP library does not match its headers"));
  config.lossless = lossless ? 1 : 0;
  config.quality = quality;
  config.method = method;
  // Pages are opaque; the encoder need not look for transparency.
  config.exact = 0;
  WebPPicture picture;
  if (!WebPPictureInit(&picture)) throw ImportError(QStringLiteral("the WebP library does not match its headers"));
  picture.width = width;
  picture.height = height;
  picture.use_argb = lossless ? 1 : 0;
  struct Free {
    WebPPicture* p;
    ~Free() { WebPPictureFree(p); }
  } freePicture{&picture};
  if (!WebPPictureImportRGB(&picture, rgb, stride))
    throw ImportError(QStringLiteral("out of memory for the WebP picture"));
  m_buffer.resize(0);
  picture.writer = appendBytes;
  picture.custom_ptr = &m_buffer;
  if (!WebPEncode(&config, &picture))
    throw ImportError(QStringLiteral("WebP encoding failed: %1").arg(why(picture.error_code)));
  return QByteArrayView(m_buffer);
}
