// What the fuzz targets share: Qt set up once (logging off, private paths, an
// offscreen GUI application where text layout needs one), a scratch folder
// for readers that take a file, and a check that stops the run with a message
// so that the fuzzer keeps the input that broke it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/PlatformPaths.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

#define FUZZ_CHECK(cond)                                                            \
  do {                                                                              \
    if (!(cond)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

namespace fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Files the targets write live here: below $FOLIVOX_FUZZ_SCRATCH when set
// (scripts/run-fuzzers.sh removes it afterwards; libFuzzer ends without
// running destructors), else in memory where the machine has /dev/shm.
inline QString scratchBase() {
  const QString env = qEnvironmentVariable("FOLIVOX_FUZZ_SCRATCH");
  if (!env.isEmpty()) return env;
  return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

inline const QTemporaryDir& scratch() {
  static const QTemporaryDir dir(scratchBase() + QStringLiteral("/folivox-fuzz-XXXXXX"));
  return dir;
}

inline QString writeScratch(const QString& name, const uint8_t* data, size_t size) {
  const QString path = scratch().filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::abort();
  }
  return path;
}

// Silence: a fuzzer runs millions of inputs and most of them are logged as
// damaged. Fatal messages still stop the run.
inline void dropMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
    std::abort();
  }
}

inline void setUp(bool withGui = false) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
  qInstallMessageHandler(dropMessage);
  if (withGui && QCoreApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "folivox-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);  // lives until exit
    (void)app;
  }
  // Nothing outside the scratch folder is read or written.
  PlatformPaths p;
  const QString root = scratch().path();
  p.resourceFolder = root + QStringLiteral("/res");
  p.userAppSupport = root + QStringLiteral("/data");
  p.machineAppSupport = root + QStringLiteral("/machine");
  p.userTemp = root + QStringLiteral("/usertmp");
  p.tmpRoot = root + QStringLiteral("/tmp");
  QDir().mkpath(p.tmpRoot);  // work folders are made in it, as in /tmp
  PlatformPaths::setCurrent(p);
}

}  // namespace fuzz
