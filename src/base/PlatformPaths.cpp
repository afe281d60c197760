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

// The folder of the running program's executable; empty where it cannot be told.
QString programFolder() {
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  // Fuzzers and benchmarks run without an application object.
  const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  return exe.isEmpty() ? QString() : QFileInfo(exe).absolutePath();
}

// Whether the program runs from the build tree it was built in.
bool runsFromBuildTree(const QString& program) {
  const QString build = QFileInfo(QStringLiteral(FOLIVOX_BUILD_DIR)).canonicalFilePath();
  return !program.isEmpty() && !build.isEmpty() && (program + QLatin1Char('/')).startsWith(build + QLatin1Char('/'));
}

QString findResourceFolder() {
  const QString env = qEnvironmentVariable("FOLIVOX_RESOURCES");
  if (!env.isEmpty() && QFileInfo(env).isDir()) return QDir(env).absolutePath();
  const QString program = programFolder();
  QStringList candidates;
  if (!program.isEmpty()) candidates << QDir::cleanPath(program + QStringLiteral("/../share/folivox"));
  candidates << QStringLiteral(FOLIVOX_INSTALLED_RESOURCES);
  // An installed program never reads a developer's checkout, even when its own
  // resources are missing: it would publish with templates it was not shipped with.
  if (runsFromBuildTree(program)) candidates << QStringLiteral(FOLIVOX_SOURCE_RESOURCES);
  for (const QString& c : candidates) {
    if (QFileInfo(c + QStringLiteral("/AppFiles")).isDir()) return QDir(c).absolutePath();
  }
  // None: the folder beside the program, so that messages name where resources belong.
  return QDir(candidates.first()).absolutePath();
}

}  // namespace

PlatformPaths PlatformPaths::systemDefaults() {
  PlatformPaths p;
  p.resourceFolder = findResourceFolder();
  p.userAppSupport = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  p.machineAppSupport = QStringLiteral("/usr/local/share");
  p.userTemp = QDir::tempPath();
  p.tmpRoot = QDir::tempPath();  // $TMPDIR, as every other program honours it
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

QString PlatformPaths::resource(const QString& relative) const { return QDir(resourceFolder).filePath(relative); }
