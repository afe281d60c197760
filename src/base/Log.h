// Logging categories and the log-file set-up shared by the program, the CLI and the tests.
#pragma once

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcImport)
Q_DECLARE_LOGGING_CATEGORY(lcTemplates)
Q_DECLARE_LOGGING_CATEGORY(lcPublish)
Q_DECLARE_LOGGING_CATEGORY(lcZip)
// Lines meant for the system log rather than the application's own log file;
// they go to stderr as well as the log file.
Q_DECLARE_LOGGING_CATEGORY(lcSystem)

class PlatformPaths;

namespace Logging {

// The log file below the user's application-support folder:
// <appsupport>/Quillory/Folivox`/Folivox.log
QString logFilePath(const PlatformPaths& paths);

// Reads resources/logging.properties, points the QuilloryFileLog appender at
// logFilePath() and installs the message handler. Returns the log file path.
QString prepaireTheLog(const PlatformPaths& paths);

// Also copy messages of this severity and above to stderr. Without a log
// file (it cannot be opened), warnings and worse go there in any case.
void setEchoToStderr(QtMsgType from);

// What starts every line the log writes to stderr ("folivox-cli: "), so
// that it reads as one of the program's own messages. Installs the message
// handler, so that lines logged before prepaireTheLog() get it too.
void setStderrPrefix(const QString& prefix);

// Reads a Java-style properties file: key=value lines, '#' and '!' comments.
// Bounded: lines longer than 64 KiB and files larger than 1 MiB are ignored.
QMap<QString, QString> readProperties(const QString& path);

}  // namespace Logging
