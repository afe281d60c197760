// The commands of folivox-cli. Each returns the process exit code, and answers
// a lone "--help" with its help on stdout.
#pragma once

#include <QStringList>

class QCommandLineParser;

int runTemplatesCommand(const QStringList& args);
int runPublishCommand(const QStringList& args);
int runPrintBookCommand(const QStringList& args);
int runBatchCommand(const QStringList& args);

// Prints a command's help made by its parser, with the usage line naming
// "folivox-cli COMMAND"; returns 0.
int printCommandHelp(const QCommandLineParser& parser, const QString& command);
