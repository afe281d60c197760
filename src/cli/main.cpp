// folivox-cli: the command-line tool over the same core as the desktop program.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include "app/Log.h"
#include "app/PlatformPaths.h"
#include "cli/CliCommands.h"

namespace {

const char* const kUsage =
    "Usage:\n"
    "  folivox-cli templates             list templates and their styles\n"
    "  folivox-cli --help | --version\n";

}  // namespace

int main(int argc, char** argv) {
  // Text and RTF conversion lays out text with QtGui; it runs without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Folivox"));
  QCoreApplication::setApplicationName(QStringLiteral("Folivox"));
  QCoreApplication::setApplicationVersion(QStringLiteral(FOLIVOX_VERSION));
  Logging::prepaireTheLog(PlatformPaths::current());
  Logging::setEchoToStderr(true);

  QStringList args = QCoreApplication::arguments().mid(1);
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
  err << "folivox-cli: unknown command '" << command << "'\n" << kUsage;
  return 2;
}
