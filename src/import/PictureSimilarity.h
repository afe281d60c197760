// How alike two pictures of the same size look: the structural similarity
// (SSIM) of their luma, 1 for identical pictures. Decides between two lossy
// encodings of a page, and measures encodings in the tests and benchmarks.
#pragma once

namespace PictureSimilarity {

// SSIM over 8 x 8 windows every 4 pixels (the constants of the usual
// definition, K1 0.01, K2 0.03, 8-bit range), averaged. Both pictures are
// RGB, 3 bytes per pixel; width, height >= 1. A picture smaller than a window
// is one window.
double ssim(const unsigned char* a, int strideA, const unsigned char* b, int strideB, int width, int height);

}  // namespace PictureSimilarity
