// Times the conversion of a text or RTF document to PDF as the import runs it
// and prints one line:
//   bytes=<input size> pages=<PDF pages> seconds=<wall> max_rss_mb=<peak memory>
// Run it on growing inputs to see whether time grows linearly. With OUT.pdf
// the PDF is kept there.
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <cstdio>

#include "import/DocumentToPdf.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QLoggingCategory::setFilterRules(QStringLiteral("folivox.*.debug=false"));
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 2 || args.size() > 3 || args[1] == QLatin1String("--help")) {
    std::fprintf(stderr, "usage: bench_convert FILE.txt|FILE.rtf [OUT.pdf]\n");
    return 2;
  }
  QTemporaryDir work;
  const QString pdf = args.size() == 3 ? args[2] : work.filePath(QStringLiteral("out.pdf"));
  QElapsedTimer timer;
  timer.start();
  QString error;
  if (!DocumentToPdf::convertToPDF(args[1], pdf, &error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  int pages = -1;
  try {
    pages = MuPdfDocument::open(pdf)->pageCount();
  } catch (const ImportError& e) {
    std::fprintf(stderr, "the PDF does not open: %s\n", qPrintable(e.reason()));
    return 1;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("bytes=%lld pages=%d seconds=%.3f max_rss_mb=%ld\n", static_cast<long long>(QFileInfo(args[1]).size()),
              pages, seconds, usage.ru_maxrss / 1024);
  return 0;
}
