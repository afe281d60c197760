#include "base/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMutex>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "base/HXCUtility.h"
#include "base/PlatformPaths.h"

Q_LOGGING_CATEGORY(lcApp, "folivox.app")
Q_LOGGING_CATEGORY(lcImport, "folivox.import")
Q_LOGGING_CATEGORY(lcTemplates, "folivox.templates")
Q_LOGGING_CATEGORY(lcPublish, "folivox.publish")
Q_LOGGING_CATEGORY(lcZip, "folivox.zip")
Q_LOGGING_CATEGORY(lcSystem, "folivox.system")

namespace {

QMutex gLogMutex;
QFile* gLogFile = nullptr;
int gEchoLevel = 5;  // nothing echoed
QByteArray gStderrPrefix;

const char* levelName(QtMsgType type) {
  switch (type) {
    case QtDebugMsg:
      return "DEBUG";
    case QtInfoMsg:
      return "INFO";
    case QtWarningMsg:
      return "WARN";
    case QtCriticalMsg:
      return "ERROR";
    case QtFatalMsg:
      return "FATAL";
  }
  return "?";
}

// QtMsgType's values are not in order of severity (QtInfoMsg is 4).
int severity(QtMsgType type) {
  switch (type) {
    case QtDebugMsg:
      return 0;
    case QtInfoMsg:
      return 1;
    case QtWarningMsg:
      return 2;
    case QtCriticalMsg:
      return 3;
    case QtFatalMsg:
      return 4;
  }
  return 0;
}

// Each line with the program's prefix, so that it reads as the program's
// own messages do. Called with gLogMutex held.
void writeToStderr(const QByteArray& text) {
  for (const QByteArray& line : text.split('\n')) {
    std::fputs(gStderrPrefix.constData(), stderr);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fputc('\n', stderr);
  }
}

void messageHandler(QtMsgType type, const QMessageLogContext& ctx, const QString& msg) {
  const QString file = ctx.file != nullptr ? QFileInfo(QString::fromUtf8(ctx.file)).fileName() : QStringLiteral("?");
  const QString line =
      QStringLiteral("%1 %2 %3:%4 %5 - %6\n")
          .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs), QString::fromLatin1(levelName(type)), file,
               QString::number(ctx.line), QString::fromUtf8(ctx.function != nullptr ? ctx.function : "?"), msg);
  const QByteArray bytes = line.toUtf8();
  QMutexLocker lock(&gLogMutex);
  if (gLogFile != nullptr) {
    gLogFile->write(bytes);
    gLogFile->flush();
  }
  const bool system = ctx.category != nullptr && qstrcmp(ctx.category, "folivox.system") == 0;
  // Without a log file, warnings and worse are all that reach the user.
  const int echoFrom = gLogFile == nullptr ? std::min(gEchoLevel, severity(QtWarningMsg)) : gEchoLevel;
  if (system || severity(type) >= echoFrom) writeToStderr(msg.toLocal8Bit());
}

}  // namespace

namespace Logging {

QString logFilePath(const PlatformPaths& paths) {
  QString base = paths.userAppSupport;
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/Library/Application Support/");
  const QString rel =
      QStringLiteral("Quillory/%1/%2.log").arg(QStringLiteral("Folivox") + QChar(0x60), QStringLiteral("Folivox"));
  return QDir(base).filePath(rel);
}

QMap<QString, QString> readProperties(const QString& path) {
  QMap<QString, QString> props;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly) || f.size() > (1 << 20)) return props;
  const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
  for (QString line : lines) {
    if (line.size() > (1 << 16)) continue;
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char('!'))) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0) continue;
    props.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
  }
  return props;
}

QString prepaireTheLog(const PlatformPaths& paths) {
  const QString logPath = logFilePath(paths);
  QString folderError;
  HXCUtility::makeFolders(QFileInfo(logPath).absolutePath(), &folderError);

  QMap<QString, QString> props = readProperties(paths.resource(QStringLiteral("logging.properties")));
  props.insert(QStringLiteral("log.appender.QuilloryFileLog.File"), logPath);

  // "INFO, QuilloryFileLog": the level comes first, appender names follow.
  const QString root = props.value(QStringLiteral("log.rootLogger"), QStringLiteral("INFO, QuilloryFileLog"));
  const QString level = root.section(QLatin1Char(','), 0, 0).trimmed().toUpper();
  const QString threshold = props.value(QStringLiteral("log.appender.QuilloryFileLog.Threshold"), level).toUpper();
  QString rules =
      QStringLiteral("folivox.*.debug=%1\nfolivox.*.info=%2\n")
          .arg(threshold == QLatin1String("DEBUG") ? QStringLiteral("true") : QStringLiteral("false"),
               (threshold == QLatin1String("DEBUG") || threshold == QLatin1String("INFO")) ? QStringLiteral("true")
                                                                                           : QStringLiteral("false"));
  rules += QStringLiteral("folivox.system.info=true\n");
  QLoggingCategory::setFilterRules(rules);

  const bool toFile = root.contains(QStringLiteral("QuilloryFileLog"));
  {
    QMutexLocker lock(&gLogMutex);
    delete gLogFile;
    gLogFile = nullptr;
    if (toFile) {
      auto* file = new QFile(props.value(QStringLiteral("log.appender.QuilloryFileLog.File")));
      if (file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        gLogFile = file;
      } else {
        const QString why = folderError.isEmpty() ? file->errorString() : folderError;
        writeToStderr(QStringLiteral("cannot open the log file %1 (%2); warnings go here instead")
                          .arg(file->fileName(), why)
                          .toLocal8Bit());
        delete file;
      }
    }
  }
  qInstallMessageHandler(messageHandler);
  return logPath;
}

void setStderrPrefix(const QString& prefix) {
  {
    QMutexLocker lock(&gLogMutex);
    gStderrPrefix = prefix.toLocal8Bit();
  }
  qInstallMessageHandler(messageHandler);
}

void setEchoToStderr(QtMsgType from) {
  QMutexLocker lock(&gLogMutex);
  gEchoLevel = severity(from);
}

}  // namespace Logging
