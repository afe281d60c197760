// JPEG encoding of RGB pictures with libjpeg-turbo, one encoder per thread.
// The output buffer is kept between pictures, so encoding a page allocates
// nothing once the first page of the largest size has been done.
#pragma once

#include <QByteArrayView>

class TurboJpegEncoder {
 public:
  TurboJpegEncoder();
  ~TurboJpegEncoder();
  TurboJpegEncoder(const TurboJpegEncoder&) = delete;
  TurboJpegEncoder& operator=(const TurboJpegEncoder&) = delete;

  // Encodes a picture (3 bytes per pixel, rows `stride` bytes apart) at
  // `quality` (1..100, clamped). The bytes stay valid until the next call.
  // Throws ImportError.
  QByteArrayView encode(const unsigned char* rgb, int width, int height, int stride, int quality);

 private:
  void* m_handle = nullptr;
  unsigned char* m_buffer = nullptr;
  unsigned long m_capacity = 0;
};
