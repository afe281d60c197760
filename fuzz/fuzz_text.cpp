// The conversion of text and RTF documents to PDF: decoding, line ends,
// the RTF reader, and the layout in bounded pieces that prints each line
// once. The first byte picks the kind (odd: RTF); the rest is the document.
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "import/DocumentToPdf.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp(true);  // text layout needs fonts
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool rtf = (data[0] & 1) != 0;
  const QString source =
      fuzz::writeScratch(rtf ? QStringLiteral("input.rtf") : QStringLiteral("input.txt"), data + 1, size - 1);
  const QString target = fuzz::scratch().filePath(QStringLiteral("output.pdf"));
  QFile::remove(target);
  QString error;
  qint64 last = -1;
  const bool ok = DocumentToPdf::convertToPDF(source, target, &error, [&](qint64 done, qint64 total) {
    FUZZ_CHECK(done >= last && done <= total);
    last = done;
    return true;
  });
  FUZZ_CHECK(ok == error.isEmpty());
  FUZZ_CHECK(ok == QFile::exists(target));
  if (!ok) return 0;
  // What was written is a PDF of the conversion's pages.
  try {
    const std::unique_ptr<MuPdfDocument> pdf = MuPdfDocument::open(target);
    FUZZ_CHECK(pdf->pageCount() >= 1);
    const QSizeF page = pdf->pageSize(0);
    FUZZ_CHECK(qAbs(page.width() - DocumentToPdf::kPageWidth) < 0.01 &&
               qAbs(page.height() - DocumentToPdf::kPageHeight) < 0.01);
  } catch (const ImportError& e) {
    std::fprintf(stderr, "the PDF does not open: %s\n", qPrintable(e.reason()));
    std::abort();
  }
  return 0;
}
