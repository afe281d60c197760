#include "base/LastFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "base/PlatformPaths.h"

namespace {

QSettings store() { return QSettings(QStringLiteral("Folivox"), QStringLiteral("Folivox")); }

QString key(const QString& kind) { return QStringLiteral("lastFolders/") + kind; }

bool insideResources(const QString& folder) {
  const QString resources = QFileInfo(PlatformPaths::current().resourceFolder).canonicalFilePath();
  const QString f = QFileInfo(folder).canonicalFilePath();
  return !resources.isEmpty() && (f == resources || f.startsWith(resources + QLatin1Char('/')));
}

bool usable(const QString& folder) {
  return !folder.isEmpty() && QFileInfo(folder).isDir() && !insideResources(folder);
}

}  // namespace

QString LastFolders::defaultFolder() {
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!docs.isEmpty() && QFileInfo(docs).isDir() && QDir(docs) != QDir::home()) return docs;
  return QDir::homePath();
}

QString LastFolders::startFolder(const QString& kind) {
  const QString last = store().value(key(kind)).toString();
  return usable(last) ? last : defaultFolder();
}

QString LastFolders::startFolderFor(const QString& kind, const QString& current) {
  if (!current.trimmed().isEmpty()) {
    const QFileInfo info(current);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (info.isAbsolute() && usable(folder)) return folder;
  }
  return startFolder(kind);
}

void LastFolders::remember(const QString& kind, const QString& path) {
  if (path.isEmpty()) return;
  const QFileInfo info(path);
  const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
  if (usable(folder)) store().setValue(key(kind), folder);
}
