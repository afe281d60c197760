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
  // pixel adds its run of columns once. Every second row is enough for a
  // picture shrunk four times or more, and halves the memory read, the bulk
  // of the cost. 16-bit sums hold 257 rows of 255; a taller block (only on
  // pages of extreme shape) takes every k-th row.
  constexpr int kMaxRows = 65535 / 255;
  std::vector<uint16_t> column(rowBytes);
  std::vector<unsigned char> out(static_cast<size_t>(outWidth) * static_cast<size_t>(outHeight) * 3);
  int y = 0;
  for (int oy = 0; oy < outHeight; ++oy) {
    const int yEnd = static_cast<int>(static_cast<int64_t>(oy + 1) * height / outHeight);
    const int step = std::max((yEnd - y + kMaxRows - 1) / kMaxRows, yEnd - y >= 4 ? 2 : 1);
    uint32_t rows = 0;
    std::fill(column.begin(), column.end(), 0);
    for (; y < yEnd; y += step, ++rows) {
      const unsigned char* row = rgb + static_cast<std::ptrdiff_t>(y) * stride;
      uint16_t* c = column.data();
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
      uint32_t sum[3] = {0, 0, 0};
      for (int i = x; i < xEnd; ++i)
        for (int ch = 0; ch < 3; ++ch) sum[ch] += column[static_cast<size_t>(i) * 3 + static_cast<size_t>(ch)];
      const uint32_t n = static_cast<uint32_t>(xEnd - x) * rows;
      for (int ch = 0; ch < 3; ++ch) o[ox * 3 + ch] = static_cast<unsigned char>(n ? (sum[ch] + n / 2) / n : 255);
      x = xEnd;
    }
  }
  return out;
}
