#include "import/RgbDownscale.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

std::vector<unsigned char> downscaleRgb(const unsigned char* rgb, int width, int height, int stride, int outWidth,
                                        int outHeight) {
  outWidth = std::clamp(outWidth, 1, width);
  outHeight = std::clamp(outHeight, 1, height);
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  // The rows of a block are first added up byte by byte, then each output
  // pixel adds its run of columns once. Two or three rows of a block are
  // enough for a thumbnail and spare most of the memory reads, the bulk of the cost; all
  // columns count. 16-bit sums hold 257 rows of 255.
  constexpr int kMaxRows = 65535 / 255;
  std::vector<uint16_t> column(rowBytes);
  std::vector<unsigned char> out(static_cast<size_t>(outWidth) * static_cast<size_t>(outHeight) * 3);
  int y = 0;
  for (int oy = 0; oy < outHeight; ++oy) {
    const int yEnd = static_cast<int>(static_cast<int64_t>(oy + 1) * height / outHeight);
    const int step = std::max((yEnd - y + kMaxRows - 1) / kMaxRows, std::max(1, (yEnd - y) / 2));
    uint32_t rows = 0;
    std::fill(column.begin(), column.end(), 0);
    for (; y < yEnd; y += step, ++rows) {
      // Not aliased (a char pointer could be anything to the compiler), so
      // the loop below may be vectorised.
      const unsigned char* __restrict row = rgb + static_cast<std::ptrdiff_t>(y) * stride;
      uint16_t* __restrict c = column.data();
      size_t i = 0;
      // Whole chunks of 16 let the compiler vectorise at -O2.
      for (; i + 16 <= rowBytes; i += 16)
        for (size_t k = 0; k < 16; ++k) c[i + k] = static_cast<uint16_t>(c[i + k] + row[i + k]);
      for (; i < rowBytes; ++i) c[i] = static_cast<uint16_t>(c[i] + row[i]);
    }
    y = yEnd;
    unsigned char* o = &out[static_cast<size_t>(oy) * static_cast<size_t>(outWidth) * 3];
    int x = 0;
    for (int ox = 0; ox < outWidth; ++ox) {
      const int xEnd = static_cast<int>(static_cast<int64_t>(ox + 1) * width / outWidth);
      uint32_t r = 0, g = 0, b = 0;
      for (size_t i = static_cast<size_t>(x) * 3; i < static_cast<size_t>(xEnd) * 3; i += 3) {
        r += column[i];
        g += column[i + 1];
        b += column[i + 2];
      }
      // One division per pixel, not three: integer division is the slowest step here.
      const float inverse = 1.0f / static_cast<float>(std::max<uint32_t>(1, static_cast<uint32_t>(xEnd - x) * rows));
      o[ox * 3] = static_cast<unsigned char>(static_cast<float>(r) * inverse + 0.5f);
      o[ox * 3 + 1] = static_cast<unsigned char>(static_cast<float>(g) * inverse + 0.5f);
      o[ox * 3 + 2] = static_cast<unsigned char>(static_cast<float>(b) * inverse + 0.5f);
      x = xEnd;
    }
  }
  return out;
}
