// WebP encoding of RGB pictures with libwebp, one encoder per thread: lossless
// for pages of text and line art, lossy for photographs.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class WebpEncoder {
 public:
  // Lossless effort: libwebp's method and quality (search effort, not
  // fidelity). Method 1 at 50 gives nine tenths of the size gain of the
  // slowest settings at a quarter of their time on text pages.
  static constexpr int kLosslessMethod = 1;
  static constexpr float kLosslessEffort = 50.0f;
  // Lossy effort: method 2 is about twice as fast as the default 4 for a few
  // per cent more bytes.
  static constexpr int kLossyMethod = 2;

  WebpEncoder() = default;
  WebpEncoder(const WebpEncoder&) = delete;
  WebpEncoder& operator=(const WebpEncoder&) = delete;

  // Encodes a picture (3 bytes per pixel, rows `stride` bytes apart). The
  // bytes stay valid until the next call. Throws ImportError.
  QByteArrayView encodeLossless(const unsigned char* rgb, int width, int height, int stride);
  // `quality` 1..100 (clamped), libwebp's scale.
  QByteArrayView encodeLossy(const unsigned char* rgb, int width, int height, int stride, int quality);

 private:
  QByteArrayView encode(const unsigned char* rgb, int width, int height, int stride, bool lossless, float quality,
                        int method);
  QByteArray m_buffer;
};
