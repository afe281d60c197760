#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "cli/CliCommands.h"

int printCommandHelp(const QCommandLineParser& parser, const QString& command) {
  // The parser names the program by argv[0], which may be any path; the help
  // (and the manual page made from it) names the command as users type it.
  QString text = parser.helpText();
  const QString program = QCoreApplication::arguments().value(0);
  const QString usage = QStringLiteral("Usage: ");
  if (text.startsWith(usage + program))
    text.replace(usage.size(), program.size(), QStringLiteral("folivox-cli ") + command);
  QTextStream(stdout) << text;
  return 0;
}
