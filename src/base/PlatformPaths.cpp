#include "base/PlatformPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <mutex>
#include <optional>

namespace {

std::mutex gMutex;
std::optional<PlatformPaths> gCurrent;

QString findResourceFolder() {
  const QString env = qEnvironmentVariable("FOLIVOX_RESOURCES");
  if (!env.isEmpty() && QFileInfo(env).isDir()) return QDir(env).absolutePath();
  QStringList candidates;
  if (QCoreApplication::instance() != nullptr)
    candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/folivox");
  candidates << QStringLiteral(FOLIVOX_INSTALLED_RESOURCES) << QStringLiteral(FOLIVOX_SOURCE_RESOURCES);
  for (const QString& c : candidates) {
    if (QFileInfo(c + QStringLiteral("/AppFiles")).isDir()) return QDir(c).absolutePath();
  }
  return QDir(QStringLiteral(FOLIVOX_SOURCE_RESOURCES)).absolutePath();
}

}  // namespace

PlatformPaths PlatformPaths::systemDefaults() {
  PlatformPaths p;
  p.resourceFolder = findResourceFolder();
  p.userAppSupport = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  p.machineAppSupport = QStringLiteral("/usr/local/share");
  p.userTemp = QDir::tempPath();
  p.tmpRoot = QStringLiteral("/tmp");
  return p;
}

const PlatformPaths& PlatformPaths::current() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (!gCurrent) gCurrent = systemDefaults();
  return *gCurrent;
}

void PlatformPaths::setCurrent(const PlatformPaths& paths) {
  std::lock_guard<std::mutex> lock(gMutex);
  gCurrent = paths;
}

QString PlatformPaths::resource(const QString& relative) const {
  return QDir(resourceFolder).filePath(relative);
}
