// Times one PDF import as the program runs it (render + JPEG + thumbnail +
// files) and prints a line for bench/import_bench.sh:
//   pages=<n> seconds=<wall> bytes=<sum of page JPEG sizes> pages_per_second=<r>
// With --text it also takes every page's words, with --zoom it also draws the
// zoom pictures; the line then adds their bytes:
//   text_bytes=<sum of text scripts> zoom_bytes=<sum of zoom JPEGs> thumb_bytes=<...>
// With --links or --bookmarks it also times reading those:
//   links=<anno count> links_seconds=<s> bookmarks=<count> bookmarks_seconds=<s>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <iterator>

#include "import/FlashOutlinePDF.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/ImportError.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QLoggingCategory::setFilterRules(QStringLiteral("folivox.*.debug=false"));
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 2 || args.contains(QStringLiteral("--help"))) {
    std::fprintf(stderr,
                 "usage: bench_import FILE.pdf [--range R] [--quality Q] [--jobs N] [--text] [--zoom] [--links] "
                 "[--bookmarks]\n");
    return 2;
  }
  QString range = QStringLiteral("ALL");
  int quality = 85;
  int jobs = 0;
  const bool links = args.contains(QStringLiteral("--links"));
  const bool bookmarks = args.contains(QStringLiteral("--bookmarks"));
  const bool text = args.contains(QStringLiteral("--text"));
  const bool zoom = args.contains(QStringLiteral("--zoom"));
  for (qsizetype i = 2; i + 1 < args.size(); ++i) {
    if (args[i] == QLatin1String("--range"))
      range = args[i + 1];
    else if (args[i] == QLatin1String("--quality"))
      quality = args[i + 1].toInt();
    else if (args[i] == QLatin1String("--jobs"))
      jobs = args[i + 1].toInt();
  }

  QElapsedTimer timer;
  timer.start();
  FlashPageSourcePDF source(args[1], range, 144, quality, jobs);
  source.setTakeText(text);
  source.setZoomPictures(zoom);
  try {
    source.generatePages();
    source.generateNormalPages();
  } catch (const ImportError& e) {
    std::fprintf(stderr, "%s\n", qPrintable(e.reason()));
    return 1;
  }
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  qint64 bytes = 0;
  for (const FlashPagePtr& p : source.pages()) bytes += QFileInfo(p->pageFilePath()).size();
  const auto pages = static_cast<double>(source.pages().size());
  qint64 textBytes = 0, zoomBytes = 0, thumbBytes = 0;
  for (const FlashPagePtr& p : source.pages()) {
    textBytes += source.pageTextScript(p->pageIndex()).size();
    if (const FlashPagePtr z = source.getZoomedPageAtIndex(p->pageIndex()))
      zoomBytes += QFileInfo(z->pageFilePath()).size();
    if (const FlashPagePtr t = source.getThumbPageAtIndex(p->pageIndex()))
      thumbBytes += QFileInfo(t->pageFilePath()).size();
  }
  std::printf(
      "pages=%zu seconds=%.3f bytes=%lld pages_per_second=%.1f text_bytes=%lld zoom_bytes=%lld thumb_bytes=%lld\n",
      source.pages().size(), seconds, static_cast<long long>(bytes), pages / seconds, static_cast<long long>(textBytes),
      static_cast<long long>(zoomBytes), static_cast<long long>(thumbBytes));
  if (links) {
    timer.restart();
    FlashPagesAnnotationsPDF annotations;
    annotations.loadLinksFromPDF(source.PDFDoc(), range);
    qsizetype count = 0;
    for (pugi::xml_node p : annotations.pagesAnnotationsNode().children())
      count += std::distance(p.children("anno").begin(), p.children("anno").end());
    std::printf("links=%lld links_seconds=%.3f\n", static_cast<long long>(count),
                static_cast<double>(timer.nsecsElapsed()) / 1e9);
  }
  if (bookmarks) {
    timer.restart();
    FlashOutlinePDF outline;
    outline.loadOutlineFromPDF(source.PDFDoc());
    std::function<qsizetype(const FlashOutlineItems&)> count = [&](const FlashOutlineItems& items) {
      qsizetype n = 0;
      for (const auto& i : items) n += 1 + count(i->childItems());
      return n;
    };
    std::printf("bookmarks=%lld bookmarks_seconds=%.3f\n", static_cast<long long>(count(outline.items())),
                static_cast<double>(timer.nsecsElapsed()) / 1e9);
  }
  return 0;
}
