// Shared set-up for the test programs: every test program runs with its own
// HOME, XDG folders, settings store and PlatformPaths under one temporary
// folder, so no test writes into the real home, /usr/local/share or /tmp.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <algorithm>

#include "base/PlatformPaths.h"
#include "base/Translations.h"

// Writes `bytes` to `path`, making its folder first; a failure fails the running test.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size()) return true;
  QTest::qFail(qPrintable(QStringLiteral("cannot write ") + path), __FILE__, __LINE__);
  return false;
}

inline QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file below `folder` with its bytes, by path relative to it: two books
// compare whole with one QCOMPARE.
inline QMap<QString, QByteArray> filesBelow(const QString& folder) {
  QMap<QString, QByteArray> files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    files.insert(QDir(folder).relativeFilePath(path), readFile(path));
  }
  return files;
}

// The head of a JPEG file up to its first scan, for a picture of `width` x
// `height` whose pixels do not matter: what the folder import reads of it.
inline QByteArray jpegHeader(int width, int height, unsigned char frame = 0xC0) {
  const auto byte = [](int v) { return static_cast<char>(v & 0xFF); };
  QByteArray h("\xFF\xD8\xFF", 3);
  h += byte(frame);
  h += QByteArray("\x00\x11\x08", 3) + byte(height >> 8) + byte(height) + byte(width >> 8) + byte(width);
  h += QByteArray("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
  h += QByteArray("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 14);
  return h;
}

// Whether `actual` is exactly the expected output kept in tests/data/`name`; where
// they part, both are printed from there. With FOLIVOX_UPDATE_TEST_DATA=1 in the
// environment the output is written there instead (read its diff before committing).
inline bool matchesTestData(const QByteArray& actual, const QString& name) {
  const QString path = QStringLiteral(FOLIVOX_TEST_DATA "/") + name;
  if (qEnvironmentVariableIsSet("FOLIVOX_UPDATE_TEST_DATA")) return writeFile(path, actual);
  const QByteArray expected = readFile(path);
  if (actual == expected) return true;
  qsizetype at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  const qsizetype from = std::max<qsizetype>(0, at - 60);
  qWarning().noquote() << name << "differs at byte" << at << "\n expected: ..." << expected.mid(from, 160)
                       << "\n actual:   ..." << actual.mid(from, 160);
  return false;
}

// The translators (ours and Qt's) and layout direction for `tag` as if it were
// the user's locale, instead of the ones installed before; the language chosen.
inline QString useLocale(const QString& tag) {
  for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
  QLocale::setDefault(QLocale(tag));
  return Translations::install(*QCoreApplication::instance());
}

// The converters' work folders now in the temporary root.
inline QStringList workFolders() {
  return QDir(PlatformPaths::current().tmpRoot)
      .entryList({QStringLiteral("Quireon-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

class TestEnv {
 public:
  TestEnv() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    m_root.setAutoRemove(true);
    const QString r = m_root.path();
    for (const char* sub : {"home", "data", "config", "cache", "machine", "tmp", "usertmp", "runtime"})
      QDir().mkpath(r + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(r + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", (r + QStringLiteral("/home")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (r + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (r + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (r + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (r + QStringLiteral("/runtime")).toLocal8Bit());
    qputenv("TMPDIR", (r + QStringLiteral("/usertmp")).toLocal8Bit());
  }

  // Call once the application object exists.
  void install() {
    const QString r = m_root.path();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, r + QStringLiteral("/config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, r + QStringLiteral("/config"));
    PlatformPaths p = PlatformPaths::systemDefaults();
    p.userAppSupport = r + QStringLiteral("/data");
    p.machineAppSupport = r + QStringLiteral("/machine");
    p.userTemp = r + QStringLiteral("/usertmp");
    p.tmpRoot = r + QStringLiteral("/tmp");
    PlatformPaths::setCurrent(p);
    QLoggingCategory::setFilterRules(QStringLiteral("folivox.*.debug=false"));
  }

  QString root() const { return m_root.path(); }

 private:
  QTemporaryDir m_root{QDir::tempPath() + QStringLiteral("/folivox-test-XXXXXX")};
};

#define FOLIVOX_TEST_MAIN(TestClass)      \
  int main(int argc, char** argv) {       \
    TestEnv env;                          \
    QGuiApplication app(argc, argv);      \
    env.install();                        \
    TestClass tc;                         \
    QTEST_SET_MAIN_SOURCE_PATH            \
    return QTest::qExec(&tc, argc, argv); \
  }
