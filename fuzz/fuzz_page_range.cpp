// The page-range grammar ("ALL", "1,3-5,9"), as typed by the user or kept in
// the settings. The first two bytes pick the document's page count.
#include <algorithm>

#include "FuzzSupport.h"
#include "import/FlashPageSource.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const qint32 total = static_cast<qint32>(data[0] | (data[1] << 8)) - 16;  // a few negative totals too
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));

  const QList<qint32> pages = FlashPageSource::parsePageRange(text, total);
  // Ascending without duplicates, and never more numbers than the pages plus
  // one lone number per piece: a range cannot explode.
  for (qsizetype i = 1; i < pages.size(); ++i) FUZZ_CHECK(pages[i - 1] < pages[i]);
  const qsizetype pieces = text.count(QLatin1Char(',')) + 1;
  FUZZ_CHECK(pages.size() <= std::max<qsizetype>(total, 0) + 1 + pieces);
  return 0;
}
