// The PDF structure readers over damaged files: page boxes and rotation, the
// document's title and page labels, the words of a page, the link
// annotations (with named destinations) and the bookmark outline, and the
// book.xml they then go into.
#include "FuzzSupport.h"
#include "FuzzXml.h"
#include "base/DataScript.h"
#include "import/FlashOutlinePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "import/PageText.h"
#include "import/PdfPageLabels.h"
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

  try {
    FUZZ_CHECK(doc->title().size() <= MuPdfDocument::kMaxTitleLength);
    const PdfPageLabels labels(*doc);
    for (int i = 0; i < std::min(doc->pageCount(), 4); ++i)
      FUZZ_CHECK(labels.label(i).size() <= PdfPageLabels::kMaxPrefixLength + 64);
  } catch (const ImportError&) {
  }
  // The words of the first page, drawn small: the text comes from the same page.
  if (doc->pageCount() > 0) {
    PageText text;
    MuPdfDocument::PageJob job;
    job.scale = 0.25f;
    job.picture = [](const unsigned char*, int, int, int) {};
    job.text = &text;
    try {
      doc->renderPage(0, job);
      for (const PageText::Word& w : text.words())
        FUZZ_CHECK(!w.text.isEmpty() && w.box.left() >= 0 && w.box.right() <= 1 && w.box.top() >= 0 &&
                   w.box.bottom() <= 1);
      FUZZ_CHECK(DataScript::payload(text.textScript(1), "text").has_value());
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
