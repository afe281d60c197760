#include "base/DefaultApplication.h"

#include <QProcess>
#include <QStandardPaths>

QString DefaultApplication::forMimeType(const QString& mimeType) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return QString();
  QProcess p;
  p.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
  if (!p.waitForFinished(3000)) {
    p.kill();
    p.waitForFinished(1000);
    return QString();
  }
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return QString();
  return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}
