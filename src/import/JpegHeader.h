// Reads what a JPEG file says of itself before its first pixel: the frame
// header, with the picture's size and kind. A folder's pictures are checked
// with it before they become pages, so that an empty file, something else
// named .jpg, or a header that claims 60000 x 60000 pixels (gigabytes for the
// browser that decodes it) never reaches a book, nor sets its page size.
//
// It reads untrusted bytes: every segment length is checked against what is
// left, segments are walked in a loop with a bounded count, and nothing of
// the picture's data is read.
#pragma once

#include <QSize>
#include <QString>

class QIODevice;

namespace JpegHeader {

// Larger pictures are refused: decoded, each pixel costs a browser 4 bytes.
inline constexpr qint64 kMaxPixels = 50'000'000;
inline constexpr int kMaxSide = 30'000;
// Segments before the first scan; real files have a dozen or two.
inline constexpr int kMaxSegments = 10'000;

struct Result {
  QSize size;     // in pixels, when the header is usable
  QString error;  // why the picture cannot be a page: "it is not a JPEG picture"
  bool ok() const { return error.isEmpty(); }
};

// The size as a result when a page may have it, else why not.
Result checkSize(qint64 width, qint64 height);

// Reads from the device's current position up to the first scan. Only
// baseline, extended and progressive JPEGs, the kinds every browser shows,
// are taken.
Result read(QIODevice& device);
// The same for a file, which must be a regular file (RegularFile).
Result readFile(const QString& path);

}  // namespace JpegHeader
