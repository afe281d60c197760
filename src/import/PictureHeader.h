// Reads what a picture file of a picture folder says of itself, whatever its
// kind: JPEG (JpegHeader), PNG (the IHDR chunk) or WebP (the VP8, VP8L or
// VP8X chunk), the kinds every browser shows. Only the first bytes are read,
// bounds-checked, and the same size limits hold for every kind.
#pragma once

#include <QString>

#include "import/JpegHeader.h"

class QIODevice;

namespace PictureHeader {

using Result = JpegHeader::Result;

// Reads from the device's current position; the kind is told by the bytes,
// not by the file's name.
Result read(QIODevice& device);
// The same for a file, which must be a regular file (RegularFile).
Result readFile(const QString& path);

}  // namespace PictureHeader
