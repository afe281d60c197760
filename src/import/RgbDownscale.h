// Shrinks an RGB picture by averaging whole blocks of pixels: what a
// thumbnail needs, and much cheaper than drawing the page a second time.
#pragma once

#include <vector>

// Returns outWidth x outHeight pixels, 3 bytes each, rows packed: each the
// average of its block of source pixels, of which every column counts and two
// or three rows spread over the block (every row when it has fewer than four). Sizes are clamped to 1..the
// source's; the caller guarantees width, height >= 1 and a readable source.
std::vector<unsigned char> downscaleRgb(const unsigned char* rgb, int width, int height, int stride, int outWidth,
                                        int outHeight);
