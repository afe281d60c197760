// Shared services: settings store, private and work folders, trust file, log,
// notifications, termination signals, child processes, the cores we may use.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <cstring>

#include "TestEnv.h"
#include "base/AppSettings.h"
#include "base/AtomicFile.h"
#include "base/AvailableCores.h"
#include "base/ChildProcess.h"
#include "base/DesktopOpener.h"
#include "base/HXCUtility.h"
#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "base/PrivateFolder.h"
#include "base/TerminationSignals.h"
#include "base/TreeRemoval.h"

namespace {

QByteArray utf16le(const QString& s) {
  QByteArray b("\xFF\xFE");
  b.append(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
  return b;
}

}  // namespace

class TestBase : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void settingsStore() {
    QSettings store(QStringLiteral("Folivox"), QStringLiteral("Folivox"));
    store.clear();
    store.sync();
    {
      AppSettings s;  // first run: defaults
      QCOMPARE(s.lastImportedFile(), QString());
      QCOMPARE(s.importQualityLevel(), 0);
      // Text and zoom pictures are on until the user turns them off.
      QCOMPARE(s.importText(), 1);
      QCOMPARE(s.importZoomPictures(), 1);
      QCOMPARE(s.importPictureFormat(), 0);  // the lightest format per page
      s.setImportZoomPictures(0);
      s.setImportPictureFormat(2);
      s.setLastImportedFile(QStringLiteral("/docs/a.pdf"));
      s.setImportQualityLevel(3);
      s.setImportLinks(1);
      s.setLastOutputFileTitle(std::nullopt);  // absent: skipped, the rest saved
      s.saveSettings();
    }
    store.sync();
    const QStringList keys = store.allKeys();
    QCOMPARE(keys.size(), 14);
    QVERIFY(keys.contains("PageWidth") && keys.contains("PageHeight") && !keys.contains("lastOutputFileTitle"));
    QCOMPARE(store.value("importQualityLevel").toInt(), 3);
    QCOMPARE(store.value("importPictureFormat").toInt(), 2);

    // Removed keys come back as "" and 0; a value of the wrong type is skipped.
    store.remove(QStringLiteral("lastImportedFile"));
    store.setValue(QStringLiteral("importQualityLevel"), QStringLiteral("not a number"));
    store.sync();
    AppSettings again;
    QCOMPARE(again.lastImportedFile(), QString());
    QCOMPARE(again.importQualityLevel(), 0);
    QCOMPARE(again.importLinks(), 1);
    QCOMPARE(again.importText(), 1);
    QCOMPARE(again.importZoomPictures(), 0);
    QCOMPARE(AppSettings::qualityForLevel(9), 100);  // out of range: the best
  }

  void workFoldersArePrivate() {
    const QString tmp = PlatformPaths::current().tmpRoot;
    // A shared <tmp>/Quireon that someone else made first, open to all, with
    // a page file linked to a secret: never used.
    const QString shared = tmp + "/Quireon";
    QVERIFY(QDir().mkpath(shared + "/temp.AAAAAA"));
    QVERIFY(QFile::link(tmp + "/secret", shared + "/temp.AAAAAA/1.jpg"));
    ::chmod(QFile::encodeName(shared).constData(), 0777);

    std::unique_ptr<PrivateFolder> a = HXCUtility::forceTmpDiractory(QStringLiteral("Quireon"));
    std::unique_ptr<PrivateFolder> b = HXCUtility::forceTmpDiractory(QStringLiteral("Quireon"));
    QVERIFY(a && b && a->path() != b->path());
    for (const PrivateFolder* f : {a.get(), b.get()}) {
      QCOMPARE(QFileInfo(f->path()).absolutePath(), tmp);
      QVERIFY(QFileInfo(f->path()).fileName().startsWith(QStringLiteral("Quireon-%1-").arg(::getpid())));
      QVERIFY(QDir(f->path()).isEmpty());
      struct stat st {};
      QCOMPARE(::lstat(QFile::encodeName(f->path()).constData(), &st), 0);
      QVERIFY(S_ISDIR(st.st_mode));
      QCOMPARE(st.st_mode & 07777, mode_t(0700));
      QCOMPARE(st.st_uid, ::geteuid());
      QVERIFY(f->isIntact());
    }
    const QString path = a->path();
    writeFile(path + "/sub/page.jpg", "x");
    a.reset();
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QFileInfo(shared + "/temp.AAAAAA/1.jpg").isSymLink());  // untouched, not followed

    // A folder removed or replaced behind our back is not intact, and what
    // stands at its path then is not ours to remove.
    const QString bPath = b->path();
    QVERIFY(QDir(bPath).removeRecursively());
    QVERIFY(QDir().mkdir(bPath));
    QVERIFY(!b->isIntact());
    b.reset();
    QVERIFY(QFileInfo(bPath).isDir());
    QDir(bPath).removeRecursively();
    QDir(shared).removeRecursively();
  }

  void unsafeParentsAreRefused() {
    QTemporaryDir dir;
    const QString open = dir.filePath("open"), sticky = dir.filePath("sticky"), plain = dir.filePath("plain");
    for (const QString& d : {open, sticky, plain}) QVERIFY(QDir().mkdir(d));
    ::chmod(QFile::encodeName(open).constData(), 0777);
    ::chmod(QFile::encodeName(sticky).constData(), 01777);
    writeFile(dir.filePath("file"), "x");
    QVERIFY(PrivateFolder::unsafeParentReason(open).contains("writable by other users"));
    QVERIFY(PrivateFolder::unsafeParentReason(sticky).isEmpty());  // as /tmp
    QVERIFY(PrivateFolder::unsafeParentReason(plain).isEmpty());
    QVERIFY(PrivateFolder::unsafeParentReason(dir.filePath("file")).contains("not a folder"));
    QVERIFY(!PrivateFolder::unsafeParentReason(dir.filePath("missing")).isEmpty());
    QString error;
    QVERIFY(!PrivateFolder::create(open, "x-", &error));
    QVERIFY2(error.contains("writable by other users"), qPrintable(error));
    QVERIFY(QDir(open).isEmpty());
    QVERIFY(PrivateFolder::create(sticky, "x-"));

    // The work folders follow the rule: an open temporary folder gives none.
    PlatformPaths paths = PlatformPaths::current();
    const PlatformPaths saved = paths;
    paths.tmpRoot = open;
    PlatformPaths::setCurrent(paths);
    QVERIFY(!HXCUtility::forceTmpDiractory(QStringLiteral("Quireon"), &error));
    PlatformPaths::setCurrent(saved);

    // Group write counts unless the group is the user's own private one (the
    // umask 002 of systems with a group per user).
    const QString ownGroup = dir.filePath("own-group"), otherGroup = dir.filePath("other-group");
    for (const QString& d : {ownGroup, otherGroup})
      QVERIFY(QDir().mkdir(d) && ::chmod(QFile::encodeName(d).constData(), 0775) == 0);
    if (::geteuid() != 0) QSKIP("a folder of another user or group needs root to make");
    QVERIFY(::chown(QFile::encodeName(otherGroup).constData(), 0, 65534) == 0);
    QVERIFY(PrivateFolder::unsafeParentReason(ownGroup).isEmpty());  // root's group "root" has no other members
    QVERIFY(PrivateFolder::unsafeParentReason(otherGroup).contains("writable by other users"));
    QVERIFY(::chown(QFile::encodeName(plain).constData(), 65534, 65534) == 0);
    QVERIFY(PrivateFolder::unsafeParentReason(plain).contains("belongs to another user"));
  }

  void leftoversOfEndedRunsAreSwept() {
    QTemporaryDir dir;
    const QString parent = dir.path();
    // A folder whose process has ended holds no lock.
    QVERIFY(QDir().mkpath(parent + "/w-1-dead/files/page"));
    writeFile(parent + "/w-1-dead/files/page/1.jpg", "x");
    // Neither links, files, nor other names are touched.
    QVERIFY(QDir().mkpath(parent + "/elsewhere"));
    writeFile(parent + "/elsewhere/keep", "x");
    QVERIFY(QFile::link(parent + "/elsewhere", parent + "/w-2-link"));
    writeFile(parent + "/w-3-file", "x");
    QVERIFY(QDir().mkpath(parent + "/other-4-dead"));
    // A folder of this process, and one that another running process holds.
    std::unique_ptr<PrivateFolder> mine = PrivateFolder::create(parent, "w-");
    QVERIFY(mine);
    QVERIFY(QDir().mkpath(parent + "/w-5-held"));
    const QString flock = QStandardPaths::findExecutable("flock");
    QProcess holder;
    if (!flock.isEmpty()) {
      // One process holds the lock: the shell takes it on fd 9 and becomes cat. (flock
      // running a command forks, and the child's copy of the descriptor could keep the
      // lock for a moment after the holder is killed.)
      holder.start(QStringLiteral("sh"),
                   {"-c", "exec 9<\"$1\" && " + flock + " 9 && exec cat", "sh", parent + "/w-5-held"});
      QVERIFY(holder.waitForStarted());
      // Wait until it holds the lock.
      QTRY_VERIFY([&] {
        const int fd = ::open(QFile::encodeName(parent + "/w-5-held").constData(), O_RDONLY | O_DIRECTORY);
        const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        return busy;
      }());
    }
    QCOMPARE(PrivateFolder::removeLeftovers(parent, "w-"), flock.isEmpty() ? 2 : 1);
    QVERIFY(!QFileInfo::exists(parent + "/w-1-dead"));
    QVERIFY(QFileInfo(parent + "/w-2-link").isSymLink());
    QVERIFY(QFileInfo::exists(parent + "/elsewhere/keep"));
    QVERIFY(QFileInfo::exists(parent + "/w-3-file"));
    QVERIFY(QFileInfo::exists(parent + "/other-4-dead"));
    QVERIFY(mine->isIntact());
    if (flock.isEmpty()) QSKIP("flock(1) is missing: a folder held by another process is not tried");
    QVERIFY(QFileInfo::exists(parent + "/w-5-held"));
    // Once its process has ended, its folder goes too.
    holder.kill();
    holder.waitForFinished();
    holder.close();
    QCOMPARE(PrivateFolder::removeLeftovers(parent, "w-"), 1);
    QVERIFY(!QFileInfo::exists(parent + "/w-5-held"));
    QVERIFY(mine->isIntact());
    QCOMPARE(PrivateFolder::removeLeftovers(parent, ""), 0);  // never a whole folder
  }

  // Trees are removed through descriptors: links in them are removed, never
  // followed, whatever they point at, and what stays is said.
  void treesAreRemovedWithoutLeavingThem() {
    QTemporaryDir dir;
    const QString r = dir.path();
    writeFile(r + "/victim/keep.txt", "keep");
    writeFile(r + "/tree/files/page/1.jpg", "x");
    writeFile(r + "/tree/files/.hidden", "x");
    QVERIFY(QFile::link(r + "/victim", r + "/tree/files/page/to-folder"));
    QVERIFY(QFile::link(r + "/victim/keep.txt", r + "/tree/files/to-file"));
    QVERIFY(QFile::link(r + "/victim", r + "/tree/files/large"));  // where a folder was
    QCOMPARE(::mkfifo(QFile::encodeName(r + "/tree/pipe").constData(), 0600), 0);
    const int fd = ::open(QFile::encodeName(r).constData(), O_RDONLY | O_DIRECTORY);
    QString error;
    QVERIFY2(TreeRemoval::removeEntry(fd, "tree", &error), qPrintable(error));
    QVERIFY(!QFileInfo::exists(r + "/tree"));
    QCOMPARE(readFile(r + "/victim/keep.txt"), QByteArray("keep"));
    QVERIFY(TreeRemoval::removeEntry(fd, "tree"));  // gone already: nothing to do

    // A link named as the tree is removed as a link.
    QVERIFY(QFile::link(r + "/victim", r + "/linked"));
    QVERIFY(TreeRemoval::removeEntry(fd, "linked"));
    QCOMPARE(readFile(r + "/victim/keep.txt"), QByteArray("keep"));
    QVERIFY(!TreeRemoval::removeEntry(fd, "..", &error));

    // Too deep a tree is left (partly) and said so.
    QString deep = r + "/deep";
    for (int i = 0; i <= TreeRemoval::kMaxDepth; ++i) deep += "/d";
    QVERIFY(QDir().mkpath(deep));
    error.clear();
    QVERIFY(!TreeRemoval::removeEntry(fd, "deep", &error));
    QVERIFY2(error.contains("Too many levels"), qPrintable(error));
    ::close(fd);
  }

  // Work folders go where TMPDIR says; a failed mkdir says why.
  void temporaryFoldersAndTheirReasons() {
    QCOMPARE(PlatformPaths::systemDefaults().tmpRoot, QDir::tempPath());
    QVERIFY(QDir::tempPath().endsWith("/usertmp"));  // TMPDIR, as the test set-up gives it
    QTemporaryDir dir;
    writeFile(dir.filePath("file"), "x");
    QString error;
    QVERIFY(!HXCUtility::makeFolders(dir.filePath("file/a/b"), &error));
    QCOMPARE(error, dir.filePath("file") + " is not a folder");
    QVERIFY(HXCUtility::makeFolders(dir.filePath("x/y/z"), &error));
    QVERIFY(QFileInfo(dir.filePath("x/y/z")).isDir());
    if (::geteuid() == 0) return;  // root writes anyway
    QVERIFY(QFile::setPermissions(dir.filePath("x"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QVERIFY(!HXCUtility::makeFolders(dir.filePath("x/new"), &error));
    QCOMPARE(error, QString("Permission denied"));
  }

  void signalsArriveOnTheEventLoop() {
    TerminationSignals signals;
    QCOMPARE(TerminationSignals::instance(), &signals);
    QSignalSpy requested(&signals, &TerminationSignals::terminationRequested);
    QCOMPARE(TerminationSignals::received(), 0);
    ::raise(SIGHUP);  // without the handler this would end the test program
    QCOMPARE(TerminationSignals::received(), SIGHUP);
    QVERIFY(requested.wait(5000));
    QCOMPARE(requested.first().first().toInt(), SIGHUP);
  }

  // A child runs in a group of its own: what it starts ends with it, a
  // signal to the group reaches them all, and its input is empty.
  void childProcesses() {
    const auto runToEnd = [](ChildProcess& child) {
      for (int i = 0; i < 600 && child.running(); ++i) {
        ChildProcess::wait({&child}, 100);
        child.poll();
      }
      return !child.running();
    };
    ChildProcess quick;
    QString error;
    QVERIFY2(
        quick.start("/bin/sh", {"-c", "cat; echo out; printf 'one\\ntwo' >&2; sleep 30 & echo $!; exit 3"}, &error),
        qPrintable(error));
    QVERIFY(runToEnd(quick));
    QCOMPARE(quick.exitCode(), 3);
    QCOMPARE(quick.exitSignal(), 0);
    QVERIFY(quick.peakMemoryKb() > 0);
    const QList<QByteArray> out = quick.output().split('\n');
    QCOMPARE(out.first(), QByteArray("out"));
    QCOMPARE(quick.takeErrorLines(), QList<QByteArray>({"one", "two"}));
    // The sleep it left behind was ended with it (a zombie until its new parent reaps it).
    const QString sleeper = QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(out.value(1)));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(sleeper) || readFile(sleeper).contains(") Z "), 5000);

    ChildProcess trapping;
    QVERIFY(trapping.start("/bin/sh", {"-c", "trap 'echo trapped' TERM; sleep 30; echo late"}, &error));
    QThread::msleep(200);
    trapping.signalGroup(SIGTERM);  // the shell traps it, the sleep in its group ends
    QVERIFY(runToEnd(trapping));
    QVERIFY(trapping.output().contains("late"));

    ChildProcess missing;
    QVERIFY(missing.start("/nonexistent/program", {}, &error));
    QVERIFY(runToEnd(missing));
    QCOMPARE(missing.exitCode(), 127);
  }

  void availableCores() {
    QCOMPARE(AvailableCores::fromCpuMax("max 100000\n"), 0);
    QCOMPARE(AvailableCores::fromCpuMax("150000 100000"), 2);
    QCOMPARE(AvailableCores::fromCpuMax("50000 100000"), 1);
    QCOMPARE(AvailableCores::fromCpuMax("garbage"), 0);
    QCOMPARE(AvailableCores::fromCfs("-1", "100000"), 0);
    QCOMPARE(AvailableCores::fromCfs("400000\n", "100000\n"), 4);
    QVERIFY(AvailableCores::count() >= 1);
  }

  void folderListing() {
    QTemporaryDir dir;
    const QString r = dir.path();
    for (const char* sub : {"a/b/c", "d", ".hidden"}) QDir().mkpath(r + "/" + sub);
    writeFile(r + "/a/file.txt", "x");
    QVERIFY(QFile::link(r + "/d", r + "/link"));
    QStringList list = HXCUtility::subFolderOfFolder(r);
    list.sort();
    QCOMPARE(list, QStringList({r + "/.hidden", r + "/a", r + "/a/b", r + "/a/b/c", r + "/d"}));
    QVERIFY(HXCUtility::subFolderOfFolder(r + "/missing").isEmpty());
  }

  void trustFile() {
    const QString t = HXCUtility::trustFilePath();
    QVERIFY(t.startsWith(PlatformPaths::current().machineAppSupport));
    QFile::remove(t);
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/p/preview"));
    QCOMPARE(readFile(t), utf16le("/p/preview"));
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/p/preview"));  // unchanged
    QCOMPARE(readFile(t), utf16le("/p/preview"));
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/p/preview/"));  // differs by a slash
    QCOMPARE(readFile(t), utf16le("/p/preview\n/p/preview/"));

    // Another program's UTF-8 file with CR LF: lines survive, path appended.
    writeFile(t, "/x/one\r\n/p/preview\r\n");
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/p/preview"));
    QCOMPARE(QStringDecoder(QStringDecoder::Utf16).decode(readFile(t)),
             QStringLiteral("/x/one\r\n/p/preview\r\n\n/p/preview"));

    // A last byte that is not UTF-8 is read as Latin-1, not dropped.
    writeFile(t, "/caf\xc3");
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/p"));
    QCOMPARE(QStringDecoder(QStringDecoder::Utf16).decode(readFile(t)), QStringLiteral("/caf\u00c3\n/p"));
    // A trust file that cannot be read (here: far too large, or a pipe) is
    // left as it is, not replaced by one line.
    QFile big(t);
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(HXCUtility::kMaxTrustFileSize + 1));
    big.close();
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/p/other"));
    QCOMPARE(QFileInfo(t).size(), HXCUtility::kMaxTrustFileSize + 1);
    QFile::remove(t);
    QVERIFY(::mkfifo(QFile::encodeName(t).constData(), 0600) == 0);
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/p/other"));
    QVERIFY(!QFileInfo(t).isFile());
    QFile::remove(t);
  }

  void atomicFilesKeepTheOldFileOnFailure() {
    const QString dir = QDir::temp().filePath(QStringLiteral("atomic"));
    QDir().mkpath(dir);
    const QString target = dir + "/book.bin";
    writeFile(target, "old book");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A write that hits the file-size limit (as a full disk would): the old
    // file stays, nothing is left beside it, and the reason is the system's.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool written = AtomicFile::writeFile(target, QByteArray(8192, 'x'), &error, AtomicFile::Sync::Yes);
    AtomicFile stream(target);
    const bool opened = stream.open();
    for (int i = 0; i < 3; ++i) stream.write(QByteArray(2048, 'y'));  // as QPdfWriter writes, unchecked
    const bool committed = stream.commit();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written && opened && !committed);
    QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
    QCOMPARE(stream.errorString(), error);
    QCOMPARE(readFile(target), QByteArray("old book"));
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList({"book.bin"}));

    // A good write replaces the file and keeps its permissions; a link at the
    // target is replaced, not written through.
    QVERIFY(AtomicFile::writeFile(target, "new book", &error));
    QCOMPARE(readFile(target), QByteArray("new book"));
    QCOMPARE(QFileInfo(target).permissions() & 0x0077, QFileDevice::Permissions());
    const QString elsewhere = dir + "/elsewhere.txt";
    writeFile(elsewhere, "untouched");
    QVERIFY(QFile::link(elsewhere, dir + "/link.txt"));
    QVERIFY(AtomicFile::writeFile(dir + "/link.txt", "replaced"));
    QVERIFY(!QFileInfo(dir + "/link.txt").isSymLink());
    QCOMPARE(readFile(elsewhere), QByteArray("untouched"));
    // A folder that is not there: the reason, not "Unknown error".
    QVERIFY(!AtomicFile::writeFile(dir + "/no/such/file", "x", &error));
    QCOMPARE(error, QString::fromLocal8Bit(std::strerror(ENOENT)));
  }

  void notificationsAcrossThreads() {
    QObject observer;
    QList<int> seen;
    NotificationCenter::defaultCenter().addObserver(&observer, ImportProgressInfoMSG, [&](const Notification& n) {
      QCOMPARE(QThread::currentThread(), observer.thread());
      seen << n.userInfo.value("pageIndex").toInt();
    });
    QThread* worker = QThread::create([] {
      for (int i = 1; i <= 200; ++i)
        NotificationCenter::defaultCenter().post(ImportProgressInfoMSG, nullptr,
                                                 {{"pageIndex", i}, {"totalPage", 200}});
    });
    worker->start();
    worker->wait();
    delete worker;
    QTRY_COMPARE(seen.size(), 200);
    for (int i = 0; i < 200; ++i) QCOMPARE(seen[i], i + 1);

    // A post on the observer's own thread is delivered at once; other names are not.
    NotificationCenter::defaultCenter().post(ImportProgressInfoMSG, nullptr, {{"pageIndex", 201}});
    NotificationCenter::defaultCenter().post(QStringLiteral("Other"));
    QCOMPARE(seen.size(), 201);
    NotificationCenter::defaultCenter().removeObserver(&observer);
    NotificationCenter::defaultCenter().post(ImportProgressInfoMSG);
    QCOMPARE(seen.size(), 201);
  }

  // Opening in the user's programs tells a failure from a success: Qt's own
  // opening counts xdg-open starting as success, whatever it then found.
  void desktopOpenerReportsWhatXdgOpenSays() {
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    // "opened", or why not; "" when the opener never said (the guard ran out).
    auto outcome = [&](int exitCode) -> QString {
      writeFile(bin.filePath("xdg-open"), QStringLiteral("#!/bin/sh\nexit %1\n").arg(exitCode).toUtf8());
      QFile::setPermissions(bin.filePath("xdg-open"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
      DesktopOpener* opener = DesktopOpener::open(bin.path());
      QString said;
      QEventLoop loop;
      connect(opener, &DesktopOpener::opened, &loop, [&] {
        said = "opened";
        loop.quit();
      });
      connect(opener, &DesktopOpener::failed, &loop, [&](const QString& why) {
        said = why;
        loop.quit();
      });
      QTimer::singleShot(20000, &loop, &QEventLoop::quit);
      loop.exec();
      return said;
    };
    qputenv("PATH", bin.path().toLocal8Bit());
    QCOMPARE(outcome(0), QString("opened"));
    QVERIFY(outcome(3).contains("no program"));
    QVERIFY(outcome(4).contains("failed"));
    QFile::remove(bin.filePath("xdg-open"));
    DesktopOpener* missing = DesktopOpener::open(bin.path());
    QSignalSpy failed(missing, &DesktopOpener::failed);
    QVERIFY(failed.wait(20000));
    QVERIFY(failed.first().first().toString().contains("xdg-utils"));
    qputenv("PATH", path);
  }

  void logFile() {
    const QString path = Logging::prepaireTheLog(PlatformPaths::current());
    QVERIFY(path.endsWith(QStringLiteral("Quillory/Folivox`/Folivox.log")));
    qCWarning(lcApp) << "a warning for the log";
    qCDebug(lcApp) << "debug is below the threshold";
    const QByteArray log = readFile(path);
    QVERIFY(log.contains("WARN test_base.cpp:") && log.contains("a warning for the log"));
    QVERIFY(!log.contains("debug is below"));
    qInstallMessageHandler(nullptr);
  }
};

FOLIVOX_TEST_MAIN(TestBase)
#include "test_base.moc"
