// Cleaning a page's SVG drawing for a zoom page (PageSvg): anything is either
// refused or comes out as a drawing that a second cleaning leaves as it is,
// without scripts, event handlers or references out of the file.
#include "FuzzSupport.h"
#include "import/PageSvg.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray svg =
      PageSvg::clean(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  if (svg.isEmpty()) return 0;
  FUZZ_CHECK(svg.startsWith("<svg"));
  const QByteArray lower = svg.toLower();
  FUZZ_CHECK(!lower.contains("<script") && !lower.contains("javascript:") && !lower.contains("<foreignobject"));
  FUZZ_CHECK(PageSvg::clean(svg) == svg);
  return 0;
}
