#include "import/RgbDownscale.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

std::vector<unsigned char> downscaleRgb(const unsigned char* rgb, int width, int height, int stride, int outWidth,
                                        int outHeight) {
  outWidth = std::clamp(outWidth, 1, width);
  outHeight = std::clamp(outHeight, 1, height);
  // Source column -> output column, and the number of columns per output pixel.
  std::vector<int> columnOf(static_cast<size_t>(width));
  std::vector<uint32_t> columns(static_cast<size_t>(outWidth), 0);
  for (int x = 0; x < width; ++x) {
    const int ox = static_cast<int>(static_cast<int64_t>(x) * outWidth / width);
    columnOf[static_cast<size_t>(x)] = ox;
    ++columns[static_cast<size_t>(ox)];
  }
  std::vector<uint32_t> sums(static_cast<size_t>(outWidth) * 3);
  std::vector<unsigned char> out(static_cast<size_t>(outWidth) * static_cast<size_t>(outHeight) * 3);
  int y = 0;
  for (int oy = 0; oy < outHeight; ++oy) {
    const int yEnd = static_cast<int>(static_cast<int64_t>(oy + 1) * height / outHeight);
    std::fill(sums.begin(), sums.end(), 0);
    const int rows = yEnd - y;
    for (; y < yEnd; ++y) {
      const unsigned char* row = rgb + static_cast<std::ptrdiff_t>(y) * stride;
      for (int x = 0; x < width; ++x) {
        uint32_t* s = &sums[static_cast<size_t>(columnOf[static_cast<size_t>(x)]) * 3];
        s[0] += row[0];
        s[1] += row[1];
        s[2] += row[2];
        row += 3;
      }
    }
    unsigned char* o = &out[static_cast<size_t>(oy) * static_cast<size_t>(outWidth) * 3];
    for (int ox = 0; ox < outWidth; ++ox) {
      const uint32_t n = columns[static_cast<size_t>(ox)] * static_cast<uint32_t>(rows);
      for (int c = 0; c < 3; ++c)
        o[ox * 3 + c] = static_cast<unsigned char>(n ? (sums[static_cast<size_t>(ox) * 3 + static_cast<size_t>(c)] + n / 2) / n : 255);
    }
  }
  return out;
}
