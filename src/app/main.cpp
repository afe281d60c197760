// The desktop program.
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "app/AppDelegate.h"
#include "app/ScreenshotTaker.h"
#include "base/Log.h"
#include "base/PlatformPaths.h"
#include "base/TerminationSignals.h"
#include "base/Translations.h"
#include "session/BookSession.h"

int main(int argc, char** argv) {
  // The web engine refuses to start as root with its sandbox on (as in CI).
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Folivox"));
  QApplication::setApplicationName(QStringLiteral("Folivox"));
  QApplication::setApplicationVersion(QStringLiteral(FOLIVOX_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("folivox"));
  Translations::install(app);

  // Developer options: a picture of the window, e.g. for the README.
  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption shotOpt(
      QStringLiteral("screenshot"),
      QCoreApplication::translate("main", "Save a picture of the window once the preview has loaded, then quit."),
      QStringLiteral("PNG"));
  const QCommandLineOption importOpt(
      QStringLiteral("import"), QCoreApplication::translate("main", "With --screenshot: import this document first."),
      QStringLiteral("FILE"));
  const QCommandLineOption delayOpt(
      QStringLiteral("delay"),
      QCoreApplication::translate("main", "With --screenshot: wait this long after loading (default 1500)."),
      QStringLiteral("MS"), QStringLiteral("1500"));
  const QCommandLineOption pageOpt(
      QStringLiteral("page"), QCoreApplication::translate("main", "With --screenshot: open this page of the preview."),
      QStringLiteral("N"), QStringLiteral("0"));
  parser.addOptions({shotOpt, importOpt, delayOpt, pageOpt});
  parser.addPositionalArgument(
      QStringLiteral("file"),
      QCoreApplication::translate("main", "A PDF, text or RTF document to import (the import sheet opens with it)."),
      QStringLiteral("[file]"));
  parser.process(app);

  Logging::setStderrPrefix(QStringLiteral("folivox: "));
  Logging::prepaireTheLog(PlatformPaths::current());
  qCInfo(lcApp).noquote() << "version is:" << QApplication::applicationVersion();

  AppDelegate delegate;
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);
  // Ctrl-C, SIGTERM and SIGHUP end the program in order, as the menu's Quit
  // does (aboutToQuit: the preview goes), but without the question about
  // unsaved changes that nobody is there to answer.
  TerminationSignals terminationSignals;
  QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app,
                   [](int sig) { QCoreApplication::exit(128 + sig); });
  QObject::connect(&terminationSignals, &TerminationSignals::terminationForced,
                   [] { BookSession::removeOwnFolders(); });
  std::unique_ptr<ScreenshotTaker> shot;
  if (parser.isSet(shotOpt)) {
    ScreenshotTaker::Options o;
    o.output = parser.value(shotOpt);
    o.importPath = parser.value(importOpt);
    o.delayMs = parser.value(delayOpt).toInt();
    o.page = parser.value(pageOpt).toInt();
    shot = std::make_unique<ScreenshotTaker>(delegate, o);
    shot->start();
  }
  delegate.applicationDidFinishLaunching();
  // "folivox FILE", as the file manager starts it: the import sheet with that file.
  if (const QStringList files = parser.positionalArguments(); !files.isEmpty() && !parser.isSet(shotOpt)) {
    const QString file =
        files.first().startsWith(QLatin1String("file:")) ? QUrl(files.first()).toLocalFile() : files.first();
    // Once the main window is up, so the sheet shows over it.
    QTimer::singleShot(0, &delegate, [&delegate, file]() {
      if (!delegate.openDocument(file))
        qCWarning(lcApp).noquote() << "cannot open" << file << "- no document that Folivox imports";
    });
  }
  return QApplication::exec();
}
