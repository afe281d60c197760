// The header check that a folder's pictures pass before they become pages:
// JPEG marker walk, PNG and WebP headers, size limits.
#include <QBuffer>

#include "FuzzSupport.h"
#include "import/PictureHeader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QBuffer buffer;
  buffer.setData(fuzz::bytes(data, size));
  buffer.open(QIODevice::ReadOnly);
  const PictureHeader::Result r = PictureHeader::read(buffer);
  // A size or a reason, and a size within the limits.
  FUZZ_CHECK(r.ok() == r.size.isValid());
  if (r.ok()) {
    FUZZ_CHECK(r.size.width() >= 1 && r.size.width() <= JpegHeader::kMaxSide);
    FUZZ_CHECK(r.size.height() >= 1 && r.size.height() <= JpegHeader::kMaxSide);
    FUZZ_CHECK(static_cast<qint64>(r.size.width()) * r.size.height() <= JpegHeader::kMaxPixels);
  }
  // The same bytes as a file: the same answer.
  const PictureHeader::Result file =
      PictureHeader::readFile(fuzz::writeScratch(QStringLiteral("picture.jpg"), data, size));
  FUZZ_CHECK(file.size == r.size && file.error == r.error);
  return 0;
}
