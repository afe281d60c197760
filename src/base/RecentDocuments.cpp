#include "base/RecentDocuments.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("recentDocuments");

QSettings store() { return QSettings(QStringLiteral("Folivox"), QStringLiteral("Folivox")); }

}  // namespace

QStringList RecentDocuments::list() {
  QStringList out;
  for (const QString& path : store().value(kKey).toStringList())
    if (!path.isEmpty() && QFileInfo(path).isFile() && !out.contains(path) && out.size() < kMaxCount) out << path;
  return out;
}

void RecentDocuments::add(const QString& path) {
  if (path.isEmpty()) return;
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList paths = list();
  paths.removeAll(absolute);
  paths.prepend(absolute);
  while (paths.size() > kMaxCount) paths.removeLast();
  store().setValue(kKey, paths);
}

void RecentDocuments::clear() { store().remove(kKey); }
