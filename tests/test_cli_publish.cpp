// folivox-cli publish against what can go wrong while it writes: signals and
// kills at chosen points, a second publish, a full disk, hostile output
// folders. The folder holds one whole book after each, old or new.
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStandardPaths>
#include <csignal>
#include <functional>

#include "CliFixture.h"
#include "PdfFixture.h"
#include "TestEnv.h"
#include "publish/BookBinReader.h"

namespace {

// A CLI run that stops itself at a named point (FOLIVOX_STOP_AT) or runs
// under a file-size limit; the caller looks at it, kills or continues it.
struct Child {
  QProcess process;
  explicit Child(const QStringList& args, const QByteArray& stopAt = QByteArray(), qint64 sizeLimit = 0) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!stopAt.isEmpty()) env.insert("FOLIVOX_STOP_AT", QString::fromLatin1(stopAt));
    process.setProcessEnvironment(env);
    if (sizeLimit > 0) {
      process.setChildProcessModifier([sizeLimit] {
        ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead of killing
        const rlimit limit{rlim_t(sizeLimit), rlim_t(sizeLimit)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
      });
    }
    process.start(cliProgram(), args);
  }
  // True once the process has stopped itself (state T in /proc).
  bool waitStopped() {
    for (int i = 0; i < 3000; ++i) {
      const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(process.processId()));
      const qsizetype close = stat.lastIndexOf(')');
      if (close > 0 && stat.mid(close + 2, 1) == "T") return true;
      if (process.state() == QProcess::NotRunning) return false;
      QThread::msleep(10);
    }
    return false;
  }
  void signal(int sig) { ::kill(static_cast<pid_t>(process.processId()), sig); }
};

// A folder of `count` pictures whose bytes say which set they belong to.
QStringList pictures(const QString& folder, const QByteArray& tag, int count, int size = 64) {
  QStringList contents;
  for (int i = 1; i <= count; ++i) {
    const QByteArray bytes =
        jpegHeader(40, 60) + (tag + "-" + QByteArray::number(i) + ' ').repeated(size / 4 + 1).left(size);
    writeFile(QStringLiteral("%1/%2.jpg").arg(folder).arg(i), bytes);
    contents << QString::fromLatin1(bytes);
  }
  return contents;
}

// Book A (3 pictures) published into `root`/book, then a republish of book B
// (5 pictures) into it that stops itself at `point`.
struct StoppedRepublish {
  QStringList a, b;
  QString book;
  bool firstPublished;
  Child child;
  StoppedRepublish(const QString& root, const QByteArray& point)
      : a(pictures(root + "/a", "A", 3)),
        b(pictures(root + "/b", "B", 5)),
        book(root + "/book"),
        firstPublished(runCli({"publish", root + "/a", "-o", book}).code == 0),
        child({"publish", root + "/b", "-o", book}, point) {}
};

// Which of two picture books `folder` holds, judged by book.xml and every page
// file: "A", "B", or "mixed" (say, book.xml of one with pages of the other).
QString whichBook(const QString& folder, const QStringList& a, const QStringList& b) {
  const BookBinReader::Result book = BookBinReader::inspect(folder);
  if (!book.ok()) return QStringLiteral("broken: ") + book.error;
  const QStringList files = QDir(folder + "/files/page").entryList(QDir::Files | QDir::Hidden);
  for (const auto& [name, pages] : {std::pair{QStringLiteral("A"), a}, std::pair{QStringLiteral("B"), b}}) {
    bool all =
        book.bookXml.contains("count=\"" + QByteArray::number(pages.size()) + "\"") && files.size() == pages.size();
    for (int i = 0; all && i < pages.size(); ++i)
      all = readFile(QStringLiteral("%1/files/page/%2.jpg").arg(folder).arg(i + 1)) == pages[i].toLatin1();
    if (all) return name;
  }
  return QStringLiteral("mixed");
}

QStringList hiddenEntries(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The work folders of the CLI run `pid` (it renders into $TMPDIR, which it
// has from us).
QStringList workFoldersOf(qint64 pid) {
  return QDir::temp().entryList({QStringLiteral("Quireon-%1-*").arg(pid)}, QDir::Dirs | QDir::Hidden);
}

// True once a page picture of run `pid` is written.
bool renderingStarted(qint64 pid) {
  for (const QString& folder : workFoldersOf(pid))
    if (!QDir(QDir::temp().filePath(folder)).entryList({"*.jpg", "*.webp"}, QDir::Files).isEmpty()) return true;
  return false;
}

// Holds the publish lock of `folder` as a publish under way does, while it lives.
struct HeldLock {
  int fd;
  explicit HeldLock(const QString& folder)
      : fd(::open(QFile::encodeName(folder + "/.folivox-publish.lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC,
                  0666)) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    if (::fcntl(fd, F_OFD_SETLK, &whole) != 0) qFatal("cannot take the lock");
  }
  ~HeldLock() { ::close(fd); }
};

// Starts `folivox-cli args`, waits until `ready`, then sends `sig`.
void runUntil(QProcess& p, const QStringList& args, const std::function<bool(qint64 pid)>& ready, int sig) {
  p.start(cliProgram(), args);
  QVERIFY(p.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(ready(p.processId()) || p.state() == QProcess::NotRunning, 60000);
  QVERIFY2(p.state() == QProcess::Running, "the run ended before the chosen point");
  QCOMPARE(::kill(static_cast<pid_t>(p.processId()), sig), 0);
}

}  // namespace

class TestCliPublish : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;
  QString demo() const { return PlatformPaths::current().resource("DemoImgs"); }

 private Q_SLOTS:
  // Ctrl-C, SIGTERM and SIGHUP at chosen points: the run stops soon, ends by
  // that signal (so a shell loop stops too), and leaves no work folder and no
  // book behind; a second signal right after the first ends it at once, and
  // still leaves nothing.
  void signalsEndARunInOrder_data() {
    QTest::addColumn<int>("sig");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("twice");
    QTest::newRow("Ctrl-C while converting text") << int(SIGINT) << "long.txt" << false;
    QTest::newRow("Ctrl-C while converting RTF") << int(SIGINT) << "long.rtf" << false;
    QTest::newRow("Ctrl-C and SIGTERM while converting RTF") << int(SIGINT) << "long.rtf" << true;
    QTest::newRow("SIGTERM while rendering") << int(SIGTERM) << "long.pdf" << false;
    QTest::newRow("SIGHUP while rendering") << int(SIGHUP) << "long.pdf" << false;
    QTest::newRow("SIGTERM and Ctrl-C while rendering") << int(SIGTERM) << "long.pdf" << true;
  }
  void signalsEndARunInOrder() {
    QFETCH(int, sig);
    QFETCH(QString, input);
    QFETCH(bool, twice);
    const bool converting = !input.endsWith(".pdf");
    input = m_dir.path() + "/" + input;
    if (input.endsWith(".txt")) {
      QByteArray text;
      while (text.size() < 8 * 1024 * 1024) text += "Words on a line of a long plain text document.\n";
      writeFile(input, text);
    } else if (input.endsWith(".rtf")) {
      // One paragraph, its format changing at every other word.
      QByteArray rtf = "{\\rtf1\\ansi ";
      for (int i = 0; rtf.size() < 3 * 1024 * 1024; ++i) rtf += i % 2 ? "{\\b bold} " : "plain ";
      writeFile(input, rtf + "}");
    } else {
      QVERIFY(PdfFixture(400).write(input));
    }
    const QString out = m_dir.path() + "/stopped";
    QProcess p;
    runUntil(p, {"publish", input, "-o", out, "--jobs", "1"},
             converting ? std::function<bool(qint64)>([](qint64 pid) { return !workFoldersOf(pid).isEmpty(); })
                        : renderingStarted,
             sig);
    // Another signal: two of one kind sent at once arrive as one.
    if (twice) ::kill(static_cast<pid_t>(p.processId()), sig == SIGTERM ? SIGINT : SIGTERM);
    const qint64 pid = p.processId();
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::CrashExit);  // ended by the signal
    const QString err = QString::fromUtf8(p.readAllStandardError());
    // (The first signal may be dealt with before the second comes.)
    QVERIFY2(err.contains("The import was cancelled.") || (twice && err.contains("stopped at once")), qPrintable(err));
    QVERIFY2(workFoldersOf(pid).isEmpty(), qPrintable(err));
    QVERIFY(!QFileInfo::exists(out + "/files/book.bin") && !QFileInfo::exists(out + "/index.html"));
  }

  void killedRunsAreSweptAtTheNextStart() {
    const QString input = m_dir.path() + "/long.pdf";
    QVERIFY(PdfFixture(400).write(input));
    QProcess p;
    runUntil(p, {"publish", input, "-o", m_dir.path() + "/killed", "--jobs", "1"}, renderingStarted, SIGKILL);
    const qint64 pid = p.processId();
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(workFoldersOf(pid).size(), qsizetype(1));  // what a killed run leaves
    QCOMPARE(runCli({"templates"}).code, 0);
    QCOMPARE(workFoldersOf(pid), QStringList());
  }

  void killedPublishLeavesOneWholeBook_data() {
    QTest::addColumn<QByteArray>("point");
    QTest::newRow("while copying pages") << QByteArray("publish-pages");
    QTest::newRow("while writing book.bin") << QByteArray("publish-bookbin");
    QTest::newRow("between the swaps") << QByteArray("publish-swap");
  }
  void killedPublishLeavesOneWholeBook() {
    QFETCH(QByteArray, point);
    const QString root = m_dir.path() + "/killed-" + point;
    StoppedRepublish run(root, point);
    const QString& book = run.book;
    QVERIFY(run.firstPublished && run.child.waitStopped());
    run.child.signal(SIGKILL);
    QVERIFY(run.child.process.waitForFinished());
    // Killed before the swap: the old book. Between the swaps: files/ (book.bin
    // and every page) is the new book's already.
    QCOMPARE(whichBook(book, run.a, run.b), point == "publish-swap" ? QStringLiteral("B") : QStringLiteral("A"));
    if (point == "publish-swap") {
      // The first command that opens the folder finishes the swaps: the page
      // is the new book's too, and nothing of the killed publish is left.
      QVERIFY(readFile(book + "/index.html").contains("<title>a</title>"));
      QCOMPARE(runCli({"inspect", book}).code, 0);
      QVERIFY(readFile(book + "/index.html").contains("<title>b</title>"));
      QCOMPARE(hiddenEntries(book), QStringList());
    }

    // The next publish clears what the killed one left.
    const CliRun again = runCli({"publish", root + "/a", "-o", book});
    QVERIFY2(again.code == 0, qPrintable(again.err));
    QCOMPARE(whichBook(book, run.a, run.b), QStringLiteral("A"));
    QCOMPARE(hiddenEntries(book), QStringList());
  }

  void twoPublishesIntoOneFolder() {
    const QString root = m_dir.path() + "/two-at-once";
    const QStringList a = pictures(root + "/a", "A", 3);
    const QStringList b = pictures(root + "/b", "B", 5);
    const QString book = root + "/book";
    Child first({"publish", root + "/b", "-o", book}, "publish-pages");
    QVERIFY(first.waitStopped());
    const CliRun second = runCli({"publish", root + "/a", "-o", book});
    QCOMPARE(second.code, 1);
    QVERIFY2(second.err.contains("Another publish into " + book), qPrintable(second.err));
    first.signal(SIGCONT);
    QVERIFY(first.process.waitForFinished());
    QCOMPARE(first.process.exitCode(), 0);
    QCOMPARE(whichBook(book, a, b), QStringLiteral("B"));
    QCOMPARE(hiddenEntries(book), QStringList());
  }

  void fullDiskKeepsTheOldBook() {
    // Files may grow to 64 KiB only: the new book's pages do not fit.
    const QString root = m_dir.path() + "/full";
    const QStringList a = pictures(root + "/a", "A", 3);
    const QStringList big = pictures(root + "/big", "C", 2, 100 * 1024);
    const QString book = root + "/book";
    QCOMPARE(runCli({"publish", root + "/a", "-o", book}).code, 0);
    const QByteArray oldPage = readFile(book + "/index.html");
    Child child({"publish", root + "/big", "-o", book, "--title", "New"}, QByteArray(), 64 * 1024);
    QVERIFY(child.process.waitForFinished());
    QCOMPARE(child.process.exitCode(), 1);
    const QString err = QString::fromUtf8(child.process.readAllStandardError());
    QVERIFY2(err.contains("File too large") && err.contains("nothing in " + book + " was changed"), qPrintable(err));
    QVERIFY(!err.contains("Unknown error"));
    QCOMPARE(whichBook(book, a, big), QStringLiteral("A"));
    QCOMPARE(readFile(book + "/index.html"), oldPage);
    QCOMPARE(hiddenEntries(book), QStringList());
  }

  void outputFolderAndNameRules() {
    const QString root = m_dir.path() + "/rules";
    const QStringList a = pictures(root + "/a", "A", 3);
    // The book's own pages published again into it: they are read, not overwritten.
    const QString book = root + "/book";
    QCOMPARE(runCli({"publish", root + "/a", "-o", book}).code, 0);
    CliRun r = runCli({"publish", book + "/files/page", "-o", book});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(whichBook(book, a, {}), QStringLiteral("A"));

    QVERIFY(runCli({"publish", root + "/a", "-o", ""}).err.contains("Choose the folder"));
    r = runCli({"publish", root + "/a", "-o", "/", "--app"});
    QVERIFY2(r.code == 1 && r.err.contains("root folder"), qPrintable(r.err));
    writeFile(root + "/victim.app/Contents/keep.txt", "keep");
    r = runCli({"publish", root + "/a", "-o", root + "/x/y", "--name", "../../victim", "--app"});
    QVERIFY2(r.code == 1 && r.err.contains("page name"), qPrintable(r.err));
    QCOMPARE(readFile(root + "/victim.app/Contents/keep.txt"), QByteArray("keep"));
    r = runCli({"publish", root + "/a", "-o", root + "/unnamed", "--name", ""});
    QCOMPARE(r.out.trimmed(), root + "/unnamed/index.html");

    // The user's own page is not replaced unless they say so.
    const QString site = root + "/site";
    writeFile(site + "/index.html", "<h1>mine</h1>");
    r = runCli({"publish", root + "/a", "-o", site});
    QVERIFY2(r.code == 1 && r.err.contains("index.html") && r.err.contains("--force"), qPrintable(r.err));
    QCOMPARE(readFile(site + "/index.html"), QByteArray("<h1>mine</h1>"));
    QCOMPARE(runCli({"publish", root + "/a", "-o", site, "--force"}).code, 0);
    QVERIFY(readFile(site + "/index.html").contains("files/book.bin"));
    // Nor when a book published under another name stands beside it.
    const QString beside = root + "/beside";
    writeFile(beside + "/index.html", "<h1>mine</h1>");
    QCOMPARE(runCli({"publish", root + "/a", "-o", beside, "--name", "catalog"}).code, 0);
    r = runCli({"publish", root + "/a", "-o", beside});
    QVERIFY2(r.code == 1 && r.err.contains("index.html") && r.err.contains("--force"), qPrintable(r.err));
    QCOMPARE(readFile(beside + "/index.html"), QByteArray("<h1>mine</h1>"));
    QCOMPARE(runCli({"publish", root + "/a", "-o", beside, "--name", "catalog"}).code, 0);  // its own page, replaced
  }

  // A signal while the book is written: before the swap it stops there and
  // the old book stays; once the swap has begun it is finished. Either way
  // the command says so and ends by the signal.
  void signalWhileTheBookIsWritten_data() {
    QTest::addColumn<QByteArray>("point");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("book");
    QTest::newRow("while copying pages") << QByteArray("publish-pages")
                                         << "stopped by signal 2 before the book was put in place"
                                         << "A";
    QTest::newRow("between the swaps") << QByteArray("publish-swap") << "it was put in place first"
                                       << "B";
  }
  void signalWhileTheBookIsWritten() {
    QFETCH(QByteArray, point);
    QFETCH(QString, said);
    QFETCH(QString, book);
    StoppedRepublish run(m_dir.path() + "/signalled-" + point, point);
    QVERIFY(run.firstPublished && run.child.waitStopped());
    run.child.signal(SIGINT);  // waits until the process runs again
    run.child.signal(SIGCONT);
    QVERIFY(run.child.process.waitForFinished());
    QCOMPARE(run.child.process.exitStatus(), QProcess::CrashExit);
    const QString err = QString::fromUtf8(run.child.process.readAllStandardError());
    QVERIFY2(err.contains(said), qPrintable(err));
    QCOMPARE(whichBook(run.book, run.a, run.b), book);
    QVERIFY(readFile(run.book + "/index.html").contains("<title>" + book.toLower().toUtf8() + "</title>"));
    QCOMPARE(hiddenEntries(run.book), QStringList());
  }

  // A folder that cannot take the book is told before the document is read
  // (here a damaged one, whose import would fail first otherwise).
  void unusableFoldersAreToldBeforeTheImport() {
    const QString root = m_dir.path() + "/unusable";
    const QString broken = root + "/broken.pdf";
    writeFile(broken, "%PDF-1.4 no more");
    const auto refused = [&](const QStringList& args, const QString& why) {
      const CliRun r = runCli(QStringList{"publish", broken} + args);
      QVERIFY2(r.code == 1 && r.err.contains(why) && !r.err.contains("broken.pdf"), qPrintable(r.err));
    };
    const QString busy = root + "/busy";
    QVERIFY(QDir().mkpath(busy));
    {
      HeldLock lock(busy);
      refused({"-o", busy}, "Another publish into " + busy);
    }
    writeFile(root + "/file", "x");
    refused({"-o", root + "/file/book"},
            "Cannot create the folder " + root + "/file/book: " + root + "/file is not a folder");
    const QString open = root + "/open";
    QVERIFY(QDir().mkpath(open) && ::chmod(QFile::encodeName(open).constData(), 0777) == 0);
    refused({"-o", open}, "Other users may change what is in " + open);
    refused({"-o", open}, "add --force to publish there all the same");
    QVERIFY(QDir(open).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    if (::geteuid() != 0) QSKIP("a read-only file system needs root to mount");
    const QString readOnly = root + "/read-only";
    QVERIFY(QDir().mkpath(readOnly));
    QVERIFY(::mount("tmpfs", QFile::encodeName(readOnly).constData(), "tmpfs", MS_RDONLY, "size=64k") == 0);
    refused({"-o", readOnly}, "Cannot publish into " + readOnly + ": Read-only file system");
    refused({"-o", readOnly + "/new"}, "Cannot create the folder " + readOnly + "/new: Read-only file system");
    ::umount2(QFile::encodeName(readOnly).constData(), MNT_DETACH);
  }

  // Without /proc the book is written by name, which only a folder of the
  // user's own makes safe: one that others may change is refused then.
  void withoutProcOnlyOwnFoldersTakeABook() {
    const QString unshare = QStandardPaths::findExecutable("unshare");
    if (::geteuid() != 0 || unshare.isEmpty()) QSKIP("needs root and unshare(1) to hide /proc");
    const QString root = m_dir.path() + "/no-proc";
    const QString open = root + "/open";
    QVERIFY(QDir().mkpath(open) && ::chmod(QFile::encodeName(open).constData(), 0777) == 0);
#ifdef __SANITIZE_ADDRESS__
    QSKIP("the sanitizers need /proc themselves (even to read their options)");
#endif
    const auto withoutProc = [&](const QString& folder) {
      const QString script = QStringLiteral("umount -l /proc && exec \"$0\" publish \"$1\" -o \"$2\" --force");
      return runCli({"-m", "--propagation", "private", "sh", "-c", script, cliProgram(), demo(), folder},
                    QProcessEnvironment::systemEnvironment(), {}, {}, unshare);
    };
    const CliRun mine = withoutProc(root + "/mine");
    QVERIFY2(mine.code == 0, qPrintable(mine.err));
    QVERIFY(BookBinReader::inspect(root + "/mine").ok());
    const CliRun shared = withoutProc(open);
    QVERIFY2(shared.code == 1 && shared.err.contains("/proc is not mounted"), qPrintable(shared.err));
    QVERIFY(QDir(open).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
  }
};

FOLIVOX_TEST_MAIN(TestCliPublish)
#include "test_cli_publish.moc"
