// folivox-cli as a user runs it: exit codes, messages, the book it writes,
// and how it ends on a signal.
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <functional>

#include "PdfFixture.h"
#include "TestEnv.h"
#include "publish/BookBinReader.h"
#include "publish/RC4.h"
#include "zip/ZKDataArchive.h"

namespace {

struct Run {
  int code = -1;
  QString out;
  QString err;
};

Run cli(const QStringList& args, const QString& program = QCoreApplication::applicationDirPath() + "/folivox-cli",
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  Run r;
  if (!p.waitForFinished(120000)) return r;
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

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
    process.start(QCoreApplication::applicationDirPath() + "/folivox-cli", args);
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
        firstPublished(cli({"publish", root + "/a", "-o", book}).code == 0),
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
  p.start(QCoreApplication::applicationDirPath() + "/folivox-cli", args);
  QVERIFY(p.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(ready(p.processId()) || p.state() == QProcess::NotRunning, 60000);
  QVERIFY2(p.state() == QProcess::Running, "the run ended before the chosen point");
  QCOMPARE(::kill(static_cast<pid_t>(p.processId()), sig), 0);
}

// Four pages; page 2 links to page 4 and to a web address; an outline.
bool writeLinkedPdf(const QString& file) {
  PdfFixture pdf(4);
  pdf.page(1).extra = "/Annots [<< /Type /Annot /Subtype /Link /Rect [100 700 300 720] /Dest [" + pdf.pageRef(3) +
                      " /Fit] >> << /Type /Annot /Subtype /Link /Rect [100 600 300 620] /A << /S /URI "
                      "/URI (https://example.org/) >> >>]";
  const int outlines = pdf.reserve();
  const int item =
      pdf.add("<< /Title (Chapter) /Parent " + PdfFixture::ref(outlines) + " /Dest [" + pdf.pageRef(2) + " /Fit] >>");
  pdf.set(outlines,
          "<< /Type /Outlines /First " + PdfFixture::ref(item) + " /Last " + PdfFixture::ref(item) + " /Count 1 >>");
  pdf.catalogExtra = "/Outlines " + PdfFixture::ref(outlines);
  QDir().mkpath(QFileInfo(file).absolutePath());
  return pdf.write(file);
}

// The date book.bin's entry carries.
QDateTime bookBinDate(const QString& folder) {
  const auto zip = RC4::RC4EncryptedDataUsingKey(readFile(folder + "/files/book.bin"), RC4::kBookKey);
  const auto archive = zip ? ZKDataArchive::archiveWithArchiveData(*zip) : nullptr;
  if (!archive || archive->centralDirectory().empty()) return {};
  return archive->centralDirectory().front().lastModDate();
}

}  // namespace

class TestCli : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;
  QString demo() const { return PlatformPaths::current().resource("DemoImgs"); }

 private Q_SLOTS:
  void usageAndTemplates() {
    QCOMPARE(cli({}).code, 2);
    QCOMPARE(cli({"--help"}).code, 0);
    QCOMPARE(cli({"frobnicate"}).code, 2);
    const Run t = cli({"templates"});
    QCOMPARE(t.code, 0);
    QVERIFY2(t.out.contains("float") && t.out.contains("Blank  (default)") && t.out.contains("Ocean"),
             qPrintable(t.out));
  }

  void helpAndVersionOfEveryCommand() {
    const QString version = QStringLiteral("folivox-cli " FOLIVOX_VERSION "\n");
    QCOMPARE(cli({"--version"}).out, version);
    const Run top = cli({"-h"});
    QCOMPARE(top.code, 0);
    for (const char* command : {"publish", "inspect", "templates"}) {
      QVERIFY2(top.out.contains(QStringLiteral("\n  %1 ").arg(command)), command);
      const Run help = cli({command, "--help"});
      QCOMPARE(help.code, 0);
      QVERIFY2(help.out.startsWith(QStringLiteral("Usage: folivox-cli %1").arg(command)), qPrintable(help.out));
      QVERIFY2(help.out.contains("--help"), qPrintable(help.out));
      QCOMPARE(cli({command, "--version"}).out, version);
    }
    // Help anywhere among a command's arguments answers instead of running it.
    const QString out = m_dir.path() + "/not-published";
    const Run r = cli({"publish", demo(), "-o", out, "--help"});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains("--output <DIR>") && !QFileInfo::exists(out));
    QVERIFY(cli({"publish", "--no-such-flag"}).err.contains("no-such-flag"));
  }

  // A program outside its build tree (installed) takes the resources installed
  // beside it, and never falls back on the source tree it was built from.
  void resourcesBesideTheProgram() {
    if (QFileInfo(QStringLiteral(FOLIVOX_INSTALLED_RESOURCES "/AppFiles")).isDir()) QSKIP("Folivox is installed here");
    const QString prefix = m_dir.path() + "/prefix";
    const QString program = prefix + "/bin/folivox-cli";
    QVERIFY(QDir().mkpath(prefix + "/bin") && QDir().mkpath(prefix + "/share"));
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/folivox-cli", program));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("FOLIVOX_RESOURCES");

    const Run missing = cli({"templates"}, program, env);
    QCOMPARE(missing.code, 1);
    QVERIFY2(missing.err.contains(prefix + "/share/folivox/AppFiles/"), qPrintable(missing.err));

    QVERIFY(QFile::link(PlatformPaths::current().resourceFolder, prefix + "/share/folivox"));
    const Run installed = cli({"templates"}, program, env);
    QVERIFY2(installed.code == 0 && installed.out.contains("float"), qPrintable(installed.err));
  }

  void publishPictureFolder() {
    const QString out = m_dir.path() + "/book";
    const Run r = cli({"publish", demo(), "-o", out, "--title", "My book", "--style", "Ocean"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out.trimmed(), out + "/index.html");
    QVERIFY(QFileInfo::exists(out + "/files/page/1.jpg"));
    QVERIFY(QFileInfo::exists(out + "/files/extfiles/innerMainbgImgUrl.png"));  // the style's own picture
    const BookBinReader::Result book = BookBinReader::inspect(out);
    QVERIFY(book.ok());
    QVERIFY(book.bookXml.contains("count=\"6\""));
    QVERIFY(book.bookXml.contains("<item name=\"bgColor\">0x0e4a72</item>"));
    QCOMPARE(cli({"inspect", out + "/files/book.bin"}).out.toUtf8(), book.bookXml);

    // As an application bundle, with a settings file on top of the style.
    const QString settings = m_dir.path() + "/my.txt";
    writeFile(settings, "\n\rbgColor=0x123456");
    const Run app =
        cli({"publish", demo(), "-o", m_dir.path() + "/apps", "--name", "Demo", "--app", "--settings", settings});
    QVERIFY2(app.code == 0, qPrintable(app.err));
    QCOMPARE(app.out.trimmed(), m_dir.path() + "/apps/Demo.app");
    QVERIFY(QFileInfo(m_dir.path() + "/apps/Demo.app/Contents/MacOS/launcher").isExecutable());
    QVERIFY(BookBinReader::inspect(m_dir.path() + "/apps/Demo.app/Contents/Resources").bookXml.contains("0x123456"));
  }

  // Pictures that cannot be pages are left out with a warning that says why;
  // a header that claims 60000 x 60000 pixels, named first, does not give the
  // book its page size. A folder of nothing but such pictures is refused.
  void pictureFolderWithBadPictures() {
    const QString folder = m_dir.path() + "/bad-pictures";
    QVERIFY(writeFile(folder + "/0-bomb.jpg", jpegHeader(60000, 60000) + QByteArray(64, 'x')));
    QVERIFY(writeFile(folder + "/1-empty.jpg", QByteArray()));
    QVERIFY(writeFile(folder + "/2-text.jpg", "not a picture"));
    QVERIFY(writeFile(folder + "/3-cut.jpg", jpegHeader(300, 400).left(12)));
    QCOMPARE(::mkfifo(QFile::encodeName(folder + "/4-pipe.jpg").constData(), 0600), 0);
    QImage page(300, 400, QImage::Format_RGB32);
    page.fill(Qt::darkBlue);
    QVERIFY(page.save(folder + "/5-page.jpg") && page.save(folder + "/6-page.jpg"));

    const QString out = m_dir.path() + "/bad-pictures-book";
    Run r = cli({"publish", folder, "-o", out});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.err.split('\n', Qt::SkipEmptyParts).filter("warning"),
             (QStringList{"folivox-cli: warning: 0-bomb.jpg is left out: it is 60000 x 60000 pixels, more than a page "
                          "may have (at most 50 million, 30000 on a side).",
                          "folivox-cli: warning: 1-empty.jpg is left out: the file is empty.",
                          "folivox-cli: warning: 2-text.jpg is left out: it is not a JPEG, PNG or WebP picture.",
                          "folivox-cli: warning: 3-cut.jpg is left out: it is cut short before its picture.",
                          "folivox-cli: warning: 4-pipe.jpg is left out: it is a named pipe, not a regular file."}));
    const QByteArray xml = BookBinReader::inspect(out).bookXml;
    QVERIFY(xml.contains("count=\"2\""));
    QVERIFY(xml.contains("<item name=\"pageWidth\">300</item>") &&
            xml.contains("<item name=\"pageHeight\">400</item>"));
    QCOMPARE(readFile(out + "/files/page/1.jpg"), readFile(folder + "/5-page.jpg"));

    for (const char* good : {"/5-page.jpg", "/6-page.jpg"}) QVERIFY(QFile::remove(folder + good));
    r = cli({"publish", folder, "-o", out + "-none"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.endsWith("folivox-cli: " + folder + " holds no picture that can be a page\n"), qPrintable(r.err));
  }

  void clearErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    const QString out = m_dir.path() + "/x";
    QTest::newRow("missing input") << QStringList{"publish", "/no/such/folder", "-o", out} << "does not exist";
    QTest::newRow("no -o") << QStringList{"publish", demo()} << "-o DIR";
    QTest::newRow("no pictures") << QStringList{"publish", m_dir.path(), "-o", out} << "no .jpg";
    QTest::newRow("bad template") << QStringList{"publish", demo(), "-o", out, "--template", "nope"} << "no template";
    QTest::newRow("bad style") << QStringList{"publish", demo(), "-o", out, "--style", "Nope"} << "no style";
    QTest::newRow("bad picture format") << QStringList{"publish", demo(), "-o", out, "--picture-format", "gif"}
                                        << "--picture-format takes auto, webp, jpeg or png";
    QTest::newRow("bad settings") << QStringList{"publish", demo(), "-o", out, "--settings", "/no/file"}
                                  << "does not exist";
    QTest::newRow("bad page timeout") << QStringList{"publish", demo(), "-o", out, "--page-timeout", "soon"}
                                      << "--page-timeout";
    QTest::newRow("inspect missing") << QStringList{"inspect", "/no/book"} << "cannot read";
  }
  void clearErrors() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = cli(args);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith("folivox-cli: ") && r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.err.count('\n'), 1);  // one clear line
  }

  void publishPdfWithLinksAndBookmarks() {
    const QString file = m_dir.path() + "/doc.pdf";
    QVERIFY(writeLinkedPdf(file));

    const QString out = m_dir.path() + "/pdfbook";
    const Run r =
        cli({"publish", file, "-o", out, "--range", "2-4", "--links", "--bookmarks", "--quality", "4", "--jobs", "2"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    // The whole book.xml: pages 2-4 with their picture, zoom and thumbnail files, the
    // page size, the links and bookmarks of that range, the title taken from the input.
    QVERIFY(matchesTestData(BookBinReader::inspect(out).bookXml, "linked-pages-2-4.book.xml"));
    QFile page(out + "/index.html");
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("<title>doc</title>"));  // named after the input

    // Without --links and --bookmarks the book has neither.
    const Run plain = cli({"publish", file, "-o", m_dir.path() + "/plain"});
    QCOMPARE(plain.code, 0);
    const QByteArray plainXml = BookBinReader::inspect(m_dir.path() + "/plain").bookXml;
    QVERIFY(!plainXml.contains("<ols") && !plainXml.contains("<pagesAnnos"));
  }

  // The same input and options give the same bytes in every file: whatever
  // the time, the machine's zone, the number of threads or where input and
  // output lie.
  void publishingTwiceGivesTheSameBytes() {
    const QString root = m_dir.path() + "/same";
    QVERIFY(writeLinkedPdf(root + "/a/doc.pdf"));
    QVERIFY(QDir().mkpath(root + "/b") && QFile::copy(root + "/a/doc.pdf", root + "/b/doc.pdf"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const auto publish = [&](const QStringList& args) {
      return cli(QStringList{"publish"} + args, QCoreApplication::applicationDirPath() + "/folivox-cli", env);
    };
    env.remove("SOURCE_DATE_EPOCH");
    env.insert("TZ", "UTC");
    const QStringList options = {"--links", "--bookmarks", "--title", "Same"};
    const Run first = publish(QStringList{root + "/a/doc.pdf", "-o", root + "/one", "--jobs", "1"} + options);
    QVERIFY2(first.code == 0, qPrintable(first.err));
    QThread::sleep(2);  // a zip time stamp counts in two seconds
    env.insert("TZ", "Asia/Kathmandu");
    const Run second = publish(QStringList{root + "/b/doc.pdf", "-o", root + "/two/deeper", "--jobs", "2"} + options);
    QVERIFY2(second.code == 0, qPrintable(second.err));
    const QMap<QString, QByteArray> one = filesBelow(root + "/one");
    const QMap<QString, QByteArray> two = filesBelow(root + "/two/deeper");
    QCOMPARE(one.keys(), two.keys());
    QVERIFY(one.contains("files/book.bin") && one.contains("files/text/all.js") && one.size() > 12);
    for (auto it = one.cbegin(); it != one.cend(); ++it)
      QVERIFY2(it.value() == two.value(it.key()), qPrintable(it.key()));
    QCOMPARE(bookBinDate(root + "/one"), QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::LocalTime));

    // SOURCE_DATE_EPOCH dates the book, in UTC; a value that is no number is ignored.
    env.insert("SOURCE_DATE_EPOCH", "1700000000");
    QCOMPARE(publish({root + "/a/doc.pdf", "-o", root + "/dated"}).code, 0);
    QCOMPARE(bookBinDate(root + "/dated"), QDateTime(QDate(2023, 11, 14), QTime(22, 13, 20), Qt::LocalTime));
    env.insert("SOURCE_DATE_EPOCH", "yesterday");
    QCOMPARE(publish({root + "/a/doc.pdf", "-o", root + "/undated"}).code, 0);
    QCOMPARE(bookBinDate(root + "/undated").date(), QDate(1980, 1, 1));
  }

  void publishTextDocument() {
    const QString file = m_dir.path() + "/notes.txt";
    QByteArray text;
    for (int i = 0; i < 120; ++i) text += "Line " + QByteArray::number(i) + " of a plain text document.\n";
    writeFile(file, text);
    const Run r = cli({"publish", file, "-o", m_dir.path() + "/textbook"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QByteArray xml = BookBinReader::inspect(m_dir.path() + "/textbook").bookXml;
    QVERIFY(xml.contains("<item name=\"pageWidth\">648</item>"));
    QVERIFY(!xml.contains("count=\"0\"") && !xml.contains("count=\"1\""));
    // Named after the file, not after the PDF it became; its text is searchable.
    QVERIFY(xml.contains("<item name=\"bookTitle\">notes</item>"));
    const Run words = cli({"inspect", m_dir.path() + "/textbook", "--text", "--page", "1"});
    QVERIFY2(words.code == 0 && words.out.startsWith("Line 0 of a plain text document.\nLine 1 of"),
             qPrintable(words.out + words.err));
  }

  void titleTextAndZoomPictures() {
    PdfFixture pdf(2);
    QByteArray bytes = pdf.build();
    bytes.replace("trailer\n<<", "trailer\n<< /Info << /Title (Field Guide) >>");
    writeFile(m_dir.path() + "/guide.pdf", bytes);
    auto read = [](const QString& file) {
      QFile f(file);
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    // By default: the document's title, zoom pages (drawings for pages of
    // text), thumbnails and text, pictures in the format of each page.
    const QString out = m_dir.path() + "/guide";
    QCOMPARE(cli({"publish", m_dir.path() + "/guide.pdf", "-o", out}).code, 0);
    QVERIFY(BookBinReader::inspect(out).bookXml.contains("<item name=\"bookTitle\">Field Guide</item>"));
    QVERIFY(read(out + "/index.html").contains("<title>Field Guide</title>"));
    for (const char* f :
         {"files/page/2.webp", "files/large/2.svg", "files/thumb/2.webp", "files/text/2.js", "files/text/all.js"})
      QVERIFY2(QFileInfo::exists(out + "/" + f), f);
    Run r = cli({"inspect", out, "--text"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("--- page 1 ---\nPage 1\n--- page 2 ---\nPage 2\n"));
    r = cli({"inspect", out + "/files/book.bin", "--text", "--page", "2"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("Page 2\n"));
    r = cli({"inspect", out, "--text", "--page", "9"});
    QVERIFY(r.code == 1 && r.err.contains("page 9 is not in the book"));
    QCOMPARE(cli({"inspect", out, "--page", "1"}).code, 2);

    // --title names both; the options leave zoom pictures and text out.
    const QString bare = m_dir.path() + "/guide-bare";
    r = cli({"publish", m_dir.path() + "/guide.pdf", "-o", bare, "--title", "Mine", "--no-text", "--no-zoom-pictures",
             "--picture-format", "JPEG"});
    QCOMPARE(r.code, 0);
    QVERIFY(BookBinReader::inspect(bare).bookXml.contains("<item name=\"bookTitle\">Mine</item>"));
    QVERIFY(read(bare + "/index.html").contains("<title>Mine</title>"));
    QVERIFY(!QFileInfo::exists(bare + "/files/large") && !QFileInfo::exists(bare + "/files/text"));
    QVERIFY(QFileInfo::exists(bare + "/files/thumb/1.jpg") && QFileInfo::exists(bare + "/files/page/1.jpg"));
    r = cli({"inspect", bare, "--text"});
    QVERIFY2(r.code == 1 && r.err.contains("has no text"), qPrintable(r.err));
  }

  // A page that would draw for hours is left blank after --page-timeout,
  // with a warning; the book is published.
  void slowPageIsLeftBlank() {
    PdfFixture pdf(2);
    pdf.drawNestedForms(0);
    QVERIFY(pdf.write(m_dir.path() + "/forms.pdf"));
    const Run r = cli({"publish", m_dir.path() + "/forms.pdf", "-o", m_dir.path() + "/forms", "--page-timeout", "1"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.err.split('\n').filter("warning"),
             QStringList("folivox-cli: warning: Page 1 could not be drawn (it took longer than 1 s); a blank page "
                         "stands in its place."));
    QVERIFY(BookBinReader::inspect(m_dir.path() + "/forms").bookXml.contains("count=\"2\""));
  }

  void badDocuments() {
    writeFile(m_dir.path() + "/fake.pdf", "this is not a PDF");
    Run r = cli({"publish", m_dir.path() + "/fake.pdf", "-o", m_dir.path() + "/fake"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith("folivox-cli: Cannot open fake.pdf"), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(m_dir.path() + "/fake/files/book.bin"));
    PdfFixture pdf(2);
    QVERIFY(pdf.write(m_dir.path() + "/two.pdf"));
    r = cli({"publish", m_dir.path() + "/two.pdf", "-o", m_dir.path() + "/none", "--range", "5-9"});
    QCOMPARE(r.code, 1);
    r = cli({"publish", m_dir.path() + "/two.pdf", "-o", m_dir.path() + "/q", "--quality", "7"});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains("--quality"));
    // An empty text is refused like a PDF without pages.
    writeFile(m_dir.path() + "/empty.txt", "\n \n");
    r = cli({"publish", m_dir.path() + "/empty.txt", "-o", m_dir.path() + "/empty"});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err, QString("folivox-cli: Cannot convert empty.txt: the document is empty\n"));
  }

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
    QCOMPARE(cli({"templates"}).code, 0);
    QCOMPARE(workFoldersOf(pid), QStringList());
  }

  void inspectDamagedBook() {
    const QString out = m_dir.path() + "/damaged";
    QCOMPARE(cli({"publish", demo(), "-o", out}).code, 0);
    QFile f(out + "/files/book.bin");
    QVERIFY(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    bytes.truncate(bytes.size() - 30);
    f.resize(0);
    f.write(bytes);
    f.close();
    const Run r = cli({"inspect", out});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("damaged"), qPrintable(r.err));
  }

  void publishFailureIsNotSuccess() {
    // A settings file naming a picture beside it that is not there: the book
    // would be incomplete, so the command fails, says which file is missing,
    // and writes nothing.
    const QString settings = m_dir.path() + "/bad/bad.txt";
    writeFile(settings, ("\n\rinnerMainbgImgUrl=" + m_dir.path() + "/bad/background.jpg").toUtf8());
    const Run r = cli({"publish", demo(), "-o", m_dir.path() + "/partial", "--settings", settings});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("publishing failed") && r.err.contains("bad/background.jpg"), qPrintable(r.err));
    // The file is named where it would have been, not in the work folder that is gone.
    QVERIFY2(r.err.contains("  " + m_dir.path() + "/partial/files/extfiles/innerMainbgImgUrl.jpg: ") &&
                 !r.err.contains(".folivox-staging"),
             qPrintable(r.err));
    QVERIFY(QDir(m_dir.path() + "/partial").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
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
    const QStringList& a = run.a;
    const QStringList& b = run.b;
    const QString& book = run.book;
    QVERIFY(run.firstPublished && run.child.waitStopped());
    run.child.signal(SIGKILL);
    QVERIFY(run.child.process.waitForFinished());
    // Killed before the swap: the old book. Between the swaps: files/ (book.bin
    // and every page) is the new book's already.
    QCOMPARE(whichBook(book, a, b), point == "publish-swap" ? QStringLiteral("B") : QStringLiteral("A"));
    if (point == "publish-swap") {
      // The first command that opens the folder finishes the swaps: the page
      // is the new book's too, and nothing of the killed publish is left.
      QVERIFY(readFile(book + "/index.html").contains("<title>a</title>"));
      QCOMPARE(cli({"inspect", book}).code, 0);
      QVERIFY(readFile(book + "/index.html").contains("<title>b</title>"));
      QCOMPARE(hiddenEntries(book), QStringList());
    }

    // The next publish clears what the killed one left.
    const Run again = cli({"publish", root + "/a", "-o", book});
    QVERIFY2(again.code == 0, qPrintable(again.err));
    QCOMPARE(whichBook(book, a, b), QStringLiteral("A"));
    QCOMPARE(hiddenEntries(book), QStringList());
  }

  void twoPublishesIntoOneFolder() {
    const QString root = m_dir.path() + "/two-at-once";
    const QStringList a = pictures(root + "/a", "A", 3);
    const QStringList b = pictures(root + "/b", "B", 5);
    const QString book = root + "/book";
    Child first({"publish", root + "/b", "-o", book}, "publish-pages");
    QVERIFY(first.waitStopped());
    const Run second = cli({"publish", root + "/a", "-o", book});
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
    QCOMPARE(cli({"publish", root + "/a", "-o", book}).code, 0);
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
    QCOMPARE(cli({"publish", root + "/a", "-o", book}).code, 0);
    Run r = cli({"publish", book + "/files/page", "-o", book});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(whichBook(book, a, {}), QStringLiteral("A"));

    QVERIFY(cli({"publish", root + "/a", "-o", ""}).err.contains("Choose the folder"));
    r = cli({"publish", root + "/a", "-o", "/", "--app"});
    QVERIFY2(r.code == 1 && r.err.contains("root folder"), qPrintable(r.err));
    writeFile(root + "/victim.app/Contents/keep.txt", "keep");
    r = cli({"publish", root + "/a", "-o", root + "/x/y", "--name", "../../victim", "--app"});
    QVERIFY2(r.code == 1 && r.err.contains("page name"), qPrintable(r.err));
    QCOMPARE(readFile(root + "/victim.app/Contents/keep.txt"), QByteArray("keep"));
    r = cli({"publish", root + "/a", "-o", root + "/unnamed", "--name", ""});
    QCOMPARE(r.out.trimmed(), root + "/unnamed/index.html");

    // The user's own page is not replaced unless they say so.
    const QString site = root + "/site";
    writeFile(site + "/index.html", "<h1>mine</h1>");
    r = cli({"publish", root + "/a", "-o", site});
    QVERIFY2(r.code == 1 && r.err.contains("index.html") && r.err.contains("--force"), qPrintable(r.err));
    QCOMPARE(readFile(site + "/index.html"), QByteArray("<h1>mine</h1>"));
    QCOMPARE(cli({"publish", root + "/a", "-o", site, "--force"}).code, 0);
    QVERIFY(readFile(site + "/index.html").contains("files/book.bin"));
    // Nor when a book published under another name stands beside it.
    const QString beside = root + "/beside";
    writeFile(beside + "/index.html", "<h1>mine</h1>");
    QCOMPARE(cli({"publish", root + "/a", "-o", beside, "--name", "catalog"}).code, 0);
    r = cli({"publish", root + "/a", "-o", beside});
    QVERIFY2(r.code == 1 && r.err.contains("index.html") && r.err.contains("--force"), qPrintable(r.err));
    QCOMPARE(readFile(beside + "/index.html"), QByteArray("<h1>mine</h1>"));
    QCOMPARE(cli({"publish", root + "/a", "-o", beside, "--name", "catalog"}).code, 0);  // its own page, replaced
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
      const Run r = cli(QStringList{"publish", broken} + args);
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
      return cli({"-m", "--propagation", "private", "sh", "-c", script,
                  QCoreApplication::applicationDirPath() + "/folivox-cli", demo(), folder},
                 unshare);
    };
    const Run mine = withoutProc(root + "/mine");
    QVERIFY2(mine.code == 0, qPrintable(mine.err));
    QVERIFY(BookBinReader::inspect(root + "/mine").ok());
    const Run shared = withoutProc(open);
    QVERIFY2(shared.code == 1 && shared.err.contains("/proc is not mounted"), qPrintable(shared.err));
    QVERIFY(QDir(open).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
  }

  // No link is followed to fix the runtime folder's permissions, and what
  // the log would have held goes to stderr as the command's own lines when
  // the log cannot be opened.
  void runtimeFolderAndLogWithoutSurprises() {
    const QString root = m_dir.path() + "/surprises";
    QVERIFY(QDir().mkpath(root + "/tmp") && QDir().mkpath(root + "/others"));
    QVERIFY(::chmod(QFile::encodeName(root + "/others").constData(), 0755) == 0);
    QVERIFY(QFile::link(root + "/others", root + "/tmp/runtime-" + QString::number(::getuid())));
    writeFile(root + "/not-a-folder", "x");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.insert("TMPDIR", root + "/tmp");
    env.insert("XDG_DATA_HOME", root + "/not-a-folder/data");     // no log file
    writeFile(root + "/look.txt", "\n\rlogoFile=/etc/hostname");  // refused, with a warning
    const Run r = cli({"publish", demo(), "-o", root + "/book", "--settings", root + "/look.txt"},
                      QCoreApplication::applicationDirPath() + "/folivox-cli", env);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(root + "/others").constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0755));
    QVERIFY2(r.err.contains("cannot open the log file") && r.err.contains("outside the settings file's folder"),
             qPrintable(r.err));
    for (const QString& line : r.err.split('\n', Qt::SkipEmptyParts))
      QVERIFY2(line.startsWith("folivox-cli: "), qPrintable(line));
    QVERIFY(QDir(root + "/tmp").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size() == 1);
  }

  void settingsFilesAndTheirFiles() {
    const QString root = m_dir.path() + "/settings";
    pictures(root + "/a", "A", 1);
    const auto publishWith = [&](const QByteArray& settings) {
      writeFile(root + "/shared/settings.txt", settings);
      return cli({"publish", root + "/a", "-o", root + "/book", "--settings", root + "/shared/settings.txt"});
    };
    // Unusable files stop the publish with the reason.
    for (const QByteArray& bad : {QByteArray("\n\rbgColor=\0\1\2", 13), QByteArray("%PDF-1.4 no settings here"),
                                  QByteArray("\n\rnoSuchKey=1")}) {
      const Run r = publishWith(bad);
      QVERIFY2(r.code == 1 && r.err.startsWith("folivox-cli: ") && r.err.contains("cannot be used as a settings file"),
               qPrintable(r.err));
    }
    // Files outside the settings file's folder are not taken; those beside it
    // are, and every file from outside the book is named.
    const QString secret = root + "/home/.ssh/id_ed25519";
    writeFile(secret, "PRIVATE KEY");
    writeFile(root + "/shared/logo.png", "png");
    const Run r = publishWith(("\n\rflipSound=" + secret + "\n\rlogoFile=" + root + "/shared/logo.png").toUtf8());
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains("warning: ") && r.err.contains("flipSound: " + secret), qPrintable(r.err));
    QVERIFY2(r.err.contains("copied into the book: " + root + "/shared/logo.png (as files/extfiles/logoFile.png)"),
             qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(root + "/book/files/extfiles/flipSound."));
    QCOMPARE(QDir(root + "/book/files/extfiles").entryList(QDir::Files), QStringList({"logoFile.png"}));
  }

  void inspectReadsOnlyWhatABookCanBe() {
    const Run zero = cli({"inspect", "/dev/zero"});
    QVERIFY2(zero.code == 1 && zero.err.contains("not a regular file"), qPrintable(zero.err));
    // A book whose text is a named pipe, then a link to /dev/zero: refused
    // at once, not waited on or read without end.
    const QString book = m_dir.path() + "/odd-text";
    QCOMPARE(cli({"publish", demo(), "-o", book}).code, 0);
    QDir().mkpath(book + "/files/text");
    QCOMPARE(::mkfifo(QFile::encodeName(book + "/files/text/all.js").constData(), 0600), 0);
    Run text = cli({"inspect", book, "--text"});
    QVERIFY2(text.code == 1 && text.err.contains("it is a named pipe, not a regular file"), qPrintable(text.err));
    QVERIFY(QFile::remove(book + "/files/text/all.js") && QFile::link("/dev/zero", book + "/files/text/all.js"));
    text = cli({"inspect", book, "--text"});
    QVERIFY2(text.code == 1 && text.err.contains("it is a device, not a regular file"), qPrintable(text.err));
    QVERIFY(cli({"publish", "--help"}).out.contains("--force"));
  }
};

FOLIVOX_TEST_MAIN(TestCli)
#include "test_cli.moc"
