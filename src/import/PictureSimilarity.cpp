#include "import/PictureSimilarity.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

std::vector<float> luma(const unsigned char* rgb, int stride, int width, int height) {
  std::vector<float> y(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int r = 0; r < height; ++r) {
    const unsigned char* row = rgb + static_cast<std::ptrdiff_t>(r) * stride;
    float* out = y.data() + static_cast<size_t>(r) * static_cast<size_t>(width);
    for (int c = 0; c < width; ++c)
      out[c] = 0.299f * static_cast<float>(row[3 * c]) + 0.587f * static_cast<float>(row[3 * c + 1]) +
               0.114f * static_cast<float>(row[3 * c + 2]);
  }
  return y;
}

}  // namespace

double PictureSimilarity::ssim(const unsigned char* a, int strideA, const unsigned char* b, int strideB, int width,
                               int height) {
  constexpr int kWindow = 8;
  constexpr int kStep = 4;
  constexpr double c1 = (0.01 * 255) * (0.01 * 255);
  constexpr double c2 = (0.03 * 255) * (0.03 * 255);
  const std::vector<float> ya = luma(a, strideA, width, height);
  const std::vector<float> yb = luma(b, strideB, width, height);
  const int wx = std::min(kWindow, width);
  const int wy = std::min(kWindow, height);
  double sum = 0;
  long windows = 0;
  for (int y0 = 0; y0 + wy <= height; y0 += kStep) {
    for (int x0 = 0; x0 + wx <= width; x0 += kStep) {
      double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
      for (int y = y0; y < y0 + wy; ++y) {
        const float* ra = ya.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        const float* rb = yb.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = x0; x < x0 + wx; ++x) {
          const double va = ra[x], vb = rb[x];
          sa += va;
          sb += vb;
          saa += va * va;
          sbb += vb * vb;
          sab += va * vb;
        }
      }
      const double n = static_cast<double>(wx) * wy;
      const double ma = sa / n, mb = sb / n;
      const double va = saa / n - ma * ma, vb = sbb / n - mb * mb, cov = sab / n - ma * mb;
      sum += ((2 * ma * mb + c1) * (2 * cov + c2)) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
      ++windows;
    }
  }
  return windows ? sum / static_cast<double>(windows) : 1.0;
}
