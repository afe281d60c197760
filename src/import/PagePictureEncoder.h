// Encodes a page's pictures in the format that suits the page: pages of text
// and line art losslessly as WebP, photographs lossy as WebP or JPEG, or
// everything as JPEG when the user asks for that, or PNG and JPEG for
// readers without WebP. Pictures longer than WebP
// allows (16383 pixels a side) are JPEG whatever the format. One encoder per
// thread.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

#include "import/PictureFormat.h"

class TurboJpegEncoder;
class WebpEncoder;

class PagePictureEncoder {
 public:
  struct Picture {
    QByteArrayView bytes;  // valid until the next call
    QString extension;     // "jpg", "webp" or "png"
  };

  // A page is a photograph when blocks of many colours cover at least this
  // share of it; below it, a few small pictures among text stay lossless.
  static constexpr double kPhotoShare = 0.02;
  // A lossy WebP stands in for the JPEG only when it looks at least as good,
  // within this much SSIM.
  static constexpr double kSameFidelity = 0.002;

  explicit PagePictureEncoder(PictureFormat format);
  ~PagePictureEncoder();
  PagePictureEncoder(const PagePictureEncoder&) = delete;
  PagePictureEncoder& operator=(const PagePictureEncoder&) = delete;

  PictureFormat format() const { return m_format; }

  // The page picture: its kind from its pixels into `kind`, then the bytes.
  // `quality` is the JPEG quality of the import's level (25..100); lossy
  // pages keep its meaning. Throws ImportError.
  Picture encodePage(const unsigned char* rgb, int width, int height, int stride, int quality, PageKind* kind);
  // A thumbnail: lossy, JPEG for `Jpeg`, else WebP.
  Picture encodeLossy(const unsigned char* rgb, int width, int height, int stride, int quality);
  // A raster zoom picture (four times a page's pixels): WebP only for `Webp`;
  // otherwise JPEG, which encodes that many pixels in a tenth of the time.
  Picture encodeZoom(const unsigned char* rgb, int width, int height, int stride, int quality);

  // Text and line art, or a photograph, from the colours of 16 x 16 blocks.
  static PageKind classify(const unsigned char* rgb, int width, int height, int stride);

 private:
  Picture encodePhoto(const unsigned char* rgb, int width, int height, int stride, int quality);

  PictureFormat m_format;
  std::unique_ptr<TurboJpegEncoder> m_jpeg;
  std::unique_ptr<WebpEncoder> m_webp;
  QByteArray m_png;  // the last PNG, which the Picture views
};
