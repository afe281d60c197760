// How close a published book's page pictures come to MuPDF's lossless render
// of the same pages at 144 dpi, and what they weigh. Prints one line:
//   pages=<n> bytes=<page pictures> webp=<n> jpg=<n> ssim_min=<..> ssim_mean=<..>
//   zoom_svg=<n> zoom_raster=<n> zoom_bytes=<..> text_pages=<n>
// Run by bench/pictures_bench.sh.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>
#include <cstdio>

#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "import/PagePictureEncoder.h"
#include "import/PictureSimilarity.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QLoggingCategory::setFilterRules(QStringLiteral("folivox.*.debug=false"));
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 5) {
    std::fprintf(stderr, "usage: bench_pictures FILE.pdf BOOK_FOLDER FIRST LAST\n");
    return 2;
  }
  const int first = args[3].toInt(), last = args[4].toInt();
  std::unique_ptr<MuPdfDocument> doc;
  try {
    doc = MuPdfDocument::open(args[1]);
  } catch (const ImportError& e) {
    std::fprintf(stderr, "%s\n", qPrintable(e.reason()));
    return 1;
  }
  const QDir book(args[2]);
  qint64 bytes = 0, zoomBytes = 0;
  int pages = 0, webp = 0, jpg = 0, zoomSvg = 0, zoomRaster = 0, textPages = 0;
  double sum = 0, worst = 1;
  for (int n = first; n <= last; ++n) {
    QString file;
    for (const char* ext : {"webp", "jpg"})
      if (QFileInfo::exists(book.filePath(QStringLiteral("files/page/%1.%2").arg(n).arg(QLatin1String(ext)))))
        file = book.filePath(QStringLiteral("files/page/%1.%2").arg(n).arg(QLatin1String(ext)));
    if (file.isEmpty()) {
      std::fprintf(stderr, "page %d has no picture in %s\n", n, qPrintable(args[2]));
      return 1;
    }
    bytes += QFileInfo(file).size();
    (file.endsWith(QLatin1String(".webp")) ? webp : jpg)++;
    const QImage shown = QImage(file).convertToFormat(QImage::Format_RGB888);
    double s = 0;
    doc->render(n - 1, 2.0f, [&](const unsigned char* rgb, int w, int h, int stride) {
      if (PagePictureEncoder::classify(rgb, w, h, stride) == PageKind::Text) ++textPages;
      if (shown.width() != w || shown.height() != h) return;
      s = PictureSimilarity::ssim(rgb, stride, shown.constBits(), static_cast<int>(shown.bytesPerLine()), w, h);
    });
    sum += s;
    worst = std::min(worst, s);
    ++pages;
    for (const char* ext : {"svg", "webp", "jpg"}) {
      const QString zoom = book.filePath(QStringLiteral("files/large/%1.%2").arg(n).arg(QLatin1String(ext)));
      if (!QFileInfo::exists(zoom)) continue;
      zoomBytes += QFileInfo(zoom).size();
      (QLatin1String(ext) == QLatin1String("svg") ? zoomSvg : zoomRaster)++;
    }
  }
  std::printf(
      "pages=%d bytes=%lld webp=%d jpg=%d ssim_min=%.4f ssim_mean=%.4f zoom_svg=%d zoom_raster=%d zoom_bytes=%lld "
      "text_pages=%d\n",
      pages, static_cast<long long>(bytes), webp, jpg, worst, pages ? sum / pages : 0.0, zoomSvg, zoomRaster,
      static_cast<long long>(zoomBytes), textPages);
  return 0;
}
