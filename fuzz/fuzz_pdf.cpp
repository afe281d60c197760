// The PDF structure readers over damaged files: page boxes and rotation, the
// link annotations (with named destinations) and the bookmark outline, and
// the book.xml they then go into.
#include "FuzzSupport.h"
#include "FuzzXml.h"
#include "import/FlashOutlinePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "publish/FlashBookOutput.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzz::writeScratch(QStringLiteral("input.pdf"), data, size);
  std::shared_ptr<MuPdfDocument> doc;
  try {
    doc = MuPdfDocument::open(path, 16u << 20);
  } catch (const ImportError&) {
    return 0;
  }
  FUZZ_CHECK(doc->pageCount() >= 0);
  for (int i = 0; i < std::min(doc->pageCount(), 4); ++i) {
    try {
      const QSizeF s = doc->pageSize(i);
      FUZZ_CHECK(s.width() >= 1 && s.height() >= 1);
      FUZZ_CHECK(doc->cropBox(i).isValid());
      const int r = doc->rotation(i);
      FUZZ_CHECK(r >= 0 && r < 360);
    } catch (const ImportError&) {
    }
  }

  // As an import with links and bookmarks reads them: every page.
  auto links = std::make_shared<FlashPagesAnnotationsPDF>();
  auto outline = std::make_shared<FlashOutlinePDF>();
  try {
    links->loadLinksFromPDF(doc, QStringLiteral("ALL"));
  } catch (const ImportError&) {
    links = std::make_shared<FlashPagesAnnotationsPDF>();
  }
  try {
    outline->loadOutlineFromPDF(doc);
  } catch (const ImportError&) {
  }
  FlashBookOutput out(nullptr, nullptr, fuzz::scratch().path(), std::nullopt);
  out.setFlashPagesAnnotations(links);
  out.setFlashOutline(outline);
  FUZZ_CHECK(fuzz::wellFormedXml(FlashBookOutput::serializeBookXML(*out.bookXML())));
  return 0;
}
