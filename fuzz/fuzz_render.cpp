// Rendering damaged PDFs to page pictures as the import does: the first two
// pages drawn in the work folder and encoded as JPEG (inputs of even size) or
// in the format that suits each page with zoom pages, SVG drawings for pages
// of text (odd size), or a blank page in the place of one that cannot be
// drawn, or a reason for the whole import.
#include <QImageReader>

#include "FuzzSupport.h"
#include "import/FlashPageSourcePDF.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "import/PDFToPageConverter.h"
#include "import/PageSvg.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp(true);  // QImageReader checks the pictures
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzz::writeScratch(QStringLiteral("input.pdf"), data, size);
  QString folder;
  {
    FlashPageSourcePDF source(path, QStringLiteral("1-2"), 144, 85, 1);
    const bool light = size % 2 == 1;
    if (light) {
      source.setPictureFormat(PictureFormat::Auto);
      source.setZoomPictures(true);
    }
    // Well inside libFuzzer's -timeout: a page that draws too long is the
    // blank page the import makes of it, not a hang.
    source.setPageTimeLimit(std::chrono::seconds(2));
    folder = source.toPageConverter()->converterWorkFolder();
    try {
      source.generatePages();
    } catch (const ImportError& e) {
      FUZZ_CHECK(!e.reason().isEmpty());
      FUZZ_CHECK(source.pages().empty());
      return 0;
    }
    FUZZ_CHECK(!source.pages().empty() && source.pages().size() <= 2);
    for (const FlashPagePtr& page : source.pages()) {
      QFile file(page->pageFilePath());
      FUZZ_CHECK(file.open(QIODevice::ReadOnly));
      const QByteArray picture = file.readAll();
      FUZZ_CHECK((picture.startsWith("\xFF\xD8") && picture.endsWith("\xFF\xD9")) ||
                 (light && picture.startsWith("RIFF") && picture.mid(8, 4) == "WEBP"));
      // A zoom drawing is one that cleaning leaves as it is: nothing in it runs.
      if (const FlashPagePtr zoom = source.getZoomedPageAtIndex(page->pageIndex());
          zoom && zoom->pageFilePath().endsWith(QLatin1String(".svg"))) {
        QFile svgFile(zoom->pageFilePath());
        FUZZ_CHECK(svgFile.open(QIODevice::ReadOnly));
        const QByteArray svg = svgFile.readAll();
        FUZZ_CHECK(!svg.isEmpty() && PageSvg::clean(svg) == svg);
      }
      // As large as the page at 144 pixels per inch, or smaller when that
      // would be too many pixels; never empty.
      const QSize pixels = QImageReader(page->pageFilePath()).size();
      FUZZ_CHECK(pixels.width() >= 1 && pixels.height() >= 1);
      FUZZ_CHECK(static_cast<double>(pixels.width()) * pixels.height() <= MuPdfDocument::kMaxPixels * 1.01);
    }
  }
  // The work folder goes with its page source.
  FUZZ_CHECK(folder.isEmpty() || !QFileInfo::exists(folder));
  return 0;
}
