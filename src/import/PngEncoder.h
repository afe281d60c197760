// Lossless PNG pictures of pages, for books whose readers do not all show
// WebP (EPUB). A page is stored grey or with a palette when its pixels allow,
// which keeps a page of text small; RGB otherwise.
#pragma once

#include <QByteArray>

namespace PngEncoder {
// RGB pixels, 3 bytes a pixel, rows `stride` bytes apart. Empty on failure.
QByteArray encode(const unsigned char* rgb, int width, int height, int stride);
}  // namespace PngEncoder
