// folivox-cli: the command-line tool over the same core as the desktop program.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <unistd.h>
#include <QGuiApplication>
#include <QTextStream>

#include "base/Log.h"
#include "base/PlatformPaths.h"
#include "cli/CliCommands.h"

namespace {

const char* const kUsage =
    "Usage:\n"
    "  folivox-cli publish INPUT -o DIR [--name NAME] [--title TEXT] [--range RANGE] [--quality 0..4]\n"
    "                      [--links] [--bookmarks] [--template NAME] [--style NAME]\n"
    "                      [--settings FILE] [--app] [--jobs N]\n"
    "                                    publish a book from a PDF, text or RTF document,\n"
    "                                    or from a folder of .jpg pictures\n"
    "  folivox-cli inspect BOOK          print the book.xml inside a book folder or a book.bin\n"
    "  folivox-cli templates             list templates and their styles\n"
    "  folivox-cli --help | --version\n";

}  // namespace

int main(int argc, char** argv) {
  // Text and RTF conversion lays out text with QtGui; it runs without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt wants a private runtime folder; make the one it would pick, quietly.
    const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-" + QByteArray::number(::getuid());
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QFile::setPermissions(QString::fromLocal8Bit(dir), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir);
  }
  // Read the arguments before QGuiApplication sees them: it takes options such
  // as --style and --title for itself.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Folivox"));
  QCoreApplication::setApplicationName(QStringLiteral("Folivox"));
  QCoreApplication::setApplicationVersion(QStringLiteral(FOLIVOX_VERSION));
  Logging::prepaireTheLog(PlatformPaths::current());
  // The log keeps the details; the commands report what went wrong themselves,
  // in one line each.
  Logging::setEchoToStderr(QtFatalMsg);

  QTextStream out(stdout);
  QTextStream err(stderr);
  if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
    (args.isEmpty() ? err : out) << kUsage;
    return args.isEmpty() ? 2 : 0;
  }
  if (args.first() == QLatin1String("--version")) {
    out << "folivox-cli " << FOLIVOX_VERSION << "\n";
    return 0;
  }
  const QString command = args.takeFirst();
  if (command == QLatin1String("templates")) return runTemplatesCommand(args);
  if (command == QLatin1String("publish")) return runPublishCommand(args);
  if (command == QLatin1String("inspect")) return runPrintBookCommand(args);
  err << "folivox-cli: unknown command '" << command << "'\n" << kUsage;
  return 2;
}
