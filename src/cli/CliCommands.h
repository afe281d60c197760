// The commands of folivox-cli. Each returns the process exit code.
#pragma once

#include <QStringList>

int runTemplatesCommand(const QStringList& args);
int runPublishCommand(const QStringList& args);
int runPrintBookCommand(const QStringList& args);
