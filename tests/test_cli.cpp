// folivox-cli as a user runs it: exit codes, messages, options, the book it
// writes and what inspect reads. What can go wrong during a publish is in
// test_cli_publish.
#include <sys/stat.h>
#include <unistd.h>

#include "CliFixture.h"
#include "PdfFixture.h"
#include "TestEnv.h"
#include "publish/BookBinReader.h"
#include "publish/RC4.h"
#include "zip/ZKDataArchive.h"

namespace {

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
  void usageHelpVersionAndTemplates() {
    QCOMPARE(runCli({}).code, 2);
    QCOMPARE(runCli({"frobnicate"}).code, 2);
    QCOMPARE(runCli({"--help"}).code, 0);
    const CliRun t = runCli({"templates"});
    QVERIFY2(t.code == 0 && t.out.contains("float") && t.out.contains("Blank  (default)") && t.out.contains("Ocean"),
             qPrintable(t.out));
    const QString version = QStringLiteral("folivox-cli " FOLIVOX_VERSION "\n");
    QCOMPARE(runCli({"--version"}).out, version);
    const CliRun top = runCli({"-h"});
    QCOMPARE(top.code, 0);
    for (const char* command : {"publish", "inspect", "templates"}) {
      QVERIFY2(top.out.contains(QStringLiteral("\n  %1 ").arg(command)), command);
      const CliRun help = runCli({command, "--help"});
      QCOMPARE(help.code, 0);
      QVERIFY2(help.out.startsWith(QStringLiteral("Usage: folivox-cli %1").arg(command)), qPrintable(help.out));
      QVERIFY2(help.out.contains("--help"), qPrintable(help.out));
      QCOMPARE(runCli({command, "--version"}).out, version);
    }
    // Help anywhere among a command's arguments answers instead of running it.
    const QString out = m_dir.path() + "/not-published";
    const CliRun r = runCli({"publish", demo(), "-o", out, "--help"});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains("--output <DIR>") && !QFileInfo::exists(out));
    QVERIFY(runCli({"publish", "--no-such-flag"}).err.contains("no-such-flag"));
  }

  // A program outside its build tree (installed) takes the resources installed
  // beside it, and never falls back on the source tree it was built from.
  void resourcesBesideTheProgram() {
    if (QFileInfo(QStringLiteral(FOLIVOX_INSTALLED_RESOURCES "/AppFiles")).isDir()) QSKIP("Folivox is installed here");
    const QString prefix = m_dir.path() + "/prefix";
    const QString program = prefix + "/bin/folivox-cli";
    QVERIFY(QDir().mkpath(prefix + "/bin") && QDir().mkpath(prefix + "/share"));
    QVERIFY(QFile::copy(cliProgram(), program));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("FOLIVOX_RESOURCES");

    const CliRun missing = runCli({"templates"}, env, {}, {}, program);
    QCOMPARE(missing.code, 1);
    QVERIFY2(missing.err.contains(prefix + "/share/folivox/AppFiles/"), qPrintable(missing.err));

    QVERIFY(QFile::link(PlatformPaths::current().resourceFolder, prefix + "/share/folivox"));
    const CliRun installed = runCli({"templates"}, env, {}, {}, program);
    QVERIFY2(installed.code == 0 && installed.out.contains("float"), qPrintable(installed.err));
  }

  void publishPictureFolder() {
    const QString out = m_dir.path() + "/book";
    const CliRun r = runCli({"publish", demo(), "-o", out, "--title", "My book", "--style", "Ocean"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out.trimmed(), out + "/index.html");
    QVERIFY(QFileInfo::exists(out + "/files/page/1.jpg"));
    QVERIFY(QFileInfo::exists(out + "/files/extfiles/innerMainbgImgUrl.png"));  // the style's own picture
    const BookBinReader::Result book = BookBinReader::inspect(out);
    QVERIFY(book.ok());
    QVERIFY(book.bookXml.contains("count=\"6\""));
    QVERIFY(book.bookXml.contains("<item name=\"bgColor\">0x0e4a72</item>"));
    QCOMPARE(runCli({"inspect", out + "/files/book.bin"}).out.toUtf8(), book.bookXml);

    // As an application bundle, with a settings file on top of the style.
    const QString settings = m_dir.path() + "/my.txt";
    writeFile(settings, "\n\rbgColor=0x123456");
    const CliRun app =
        runCli({"publish", demo(), "-o", m_dir.path() + "/apps", "--name", "Demo", "--app", "--settings", settings});
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
    CliRun r = runCli({"publish", folder, "-o", out});
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
    r = runCli({"publish", folder, "-o", out + "-none"});
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
    const CliRun r = runCli(args);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith("folivox-cli: ") && r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.err.count('\n'), 1);  // one clear line
  }

  void publishPdfWithLinksAndBookmarks() {
    const QString file = m_dir.path() + "/doc.pdf";
    QVERIFY(writeLinkedPdf(file));

    const QString out = m_dir.path() + "/pdfbook";
    const CliRun r = runCli(
        {"publish", file, "-o", out, "--range", "2-4", "--links", "--bookmarks", "--quality", "4", "--jobs", "2"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    // The whole book.xml: pages 2-4 with their picture, zoom and thumbnail files, the
    // page size, the links and bookmarks of that range, the title taken from the input.
    QVERIFY(matchesTestData(BookBinReader::inspect(out).bookXml, "linked-pages-2-4.book.xml"));
    QVERIFY(readFile(out + "/index.html").contains("<title>doc</title>"));  // named after the input

    // Without --links and --bookmarks the book has neither.
    const CliRun plain = runCli({"publish", file, "-o", m_dir.path() + "/plain"});
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
    const auto publish = [&](const QStringList& args) { return runCli(QStringList{"publish"} + args, env); };
    env.remove("SOURCE_DATE_EPOCH");
    env.insert("TZ", "UTC");
    const QStringList options = {"--links", "--bookmarks", "--title", "Same"};
    const CliRun first = publish(QStringList{root + "/a/doc.pdf", "-o", root + "/one", "--jobs", "1"} + options);
    QVERIFY2(first.code == 0, qPrintable(first.err));
    QThread::sleep(2);  // a zip time stamp counts in two seconds
    env.insert("TZ", "Asia/Kathmandu");
    const CliRun second =
        publish(QStringList{root + "/b/doc.pdf", "-o", root + "/two/deeper", "--jobs", "2"} + options);
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
    const CliRun r = runCli({"publish", file, "-o", m_dir.path() + "/textbook"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QByteArray xml = BookBinReader::inspect(m_dir.path() + "/textbook").bookXml;
    QVERIFY(xml.contains("<item name=\"pageWidth\">648</item>"));
    QVERIFY(!xml.contains("count=\"0\"") && !xml.contains("count=\"1\""));
    // Named after the file, not after the PDF it became; its text is searchable.
    QVERIFY(xml.contains("<item name=\"bookTitle\">notes</item>"));
    const CliRun words = runCli({"inspect", m_dir.path() + "/textbook", "--text", "--page", "1"});
    QVERIFY2(words.code == 0 && words.out.startsWith("Line 0 of a plain text document.\nLine 1 of"),
             qPrintable(words.out + words.err));
  }

  void titleTextAndZoomPictures() {
    PdfFixture pdf(2);
    QByteArray bytes = pdf.build();
    bytes.replace("trailer\n<<", "trailer\n<< /Info << /Title (Field Guide) >>");
    writeFile(m_dir.path() + "/guide.pdf", bytes);

    // By default: the document's title, zoom pages (drawings for pages of
    // text), thumbnails and text, pictures in the format of each page.
    const QString out = m_dir.path() + "/guide";
    QCOMPARE(runCli({"publish", m_dir.path() + "/guide.pdf", "-o", out}).code, 0);
    QVERIFY(BookBinReader::inspect(out).bookXml.contains("<item name=\"bookTitle\">Field Guide</item>"));
    QVERIFY(readFile(out + "/index.html").contains("<title>Field Guide</title>"));
    for (const char* f :
         {"files/page/2.webp", "files/large/2.svg", "files/thumb/2.webp", "files/text/2.js", "files/text/all.js"})
      QVERIFY2(QFileInfo::exists(out + "/" + f), f);
    CliRun r = runCli({"inspect", out, "--text"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("--- page 1 ---\nPage 1\n--- page 2 ---\nPage 2\n"));
    r = runCli({"inspect", out + "/files/book.bin", "--text", "--page", "2"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("Page 2\n"));
    r = runCli({"inspect", out, "--text", "--page", "9"});
    QVERIFY(r.code == 1 && r.err.contains("page 9 is not in the book"));
    QCOMPARE(runCli({"inspect", out, "--page", "1"}).code, 2);

    // --title names both; the options leave zoom pictures and text out.
    const QString bare = m_dir.path() + "/guide-bare";
    r = runCli({"publish", m_dir.path() + "/guide.pdf", "-o", bare, "--title", "Mine", "--no-text",
                "--no-zoom-pictures", "--picture-format", "JPEG"});
    QCOMPARE(r.code, 0);
    QVERIFY(BookBinReader::inspect(bare).bookXml.contains("<item name=\"bookTitle\">Mine</item>"));
    QVERIFY(readFile(bare + "/index.html").contains("<title>Mine</title>"));
    QVERIFY(!QFileInfo::exists(bare + "/files/large") && !QFileInfo::exists(bare + "/files/text"));
    QVERIFY(QFileInfo::exists(bare + "/files/thumb/1.jpg") && QFileInfo::exists(bare + "/files/page/1.jpg"));
    r = runCli({"inspect", bare, "--text"});
    QVERIFY2(r.code == 1 && r.err.contains("has no text"), qPrintable(r.err));
  }

  // A page that would draw for hours is left blank after --page-timeout,
  // with a warning; the book is published.
  void slowPageIsLeftBlank() {
    PdfFixture pdf(2);
    pdf.drawNestedForms(0);
    QVERIFY(pdf.write(m_dir.path() + "/forms.pdf"));
    const CliRun r =
        runCli({"publish", m_dir.path() + "/forms.pdf", "-o", m_dir.path() + "/forms", "--page-timeout", "1"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.err.split('\n').filter("warning"),
             QStringList("folivox-cli: warning: Page 1 could not be drawn (it took longer than 1 s); a blank page "
                         "stands in its place."));
    QVERIFY(BookBinReader::inspect(m_dir.path() + "/forms").bookXml.contains("count=\"2\""));
  }

  void badDocuments() {
    writeFile(m_dir.path() + "/fake.pdf", "this is not a PDF");
    CliRun r = runCli({"publish", m_dir.path() + "/fake.pdf", "-o", m_dir.path() + "/fake"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith("folivox-cli: Cannot open fake.pdf"), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(m_dir.path() + "/fake/files/book.bin"));
    PdfFixture pdf(2);
    QVERIFY(pdf.write(m_dir.path() + "/two.pdf"));
    r = runCli({"publish", m_dir.path() + "/two.pdf", "-o", m_dir.path() + "/none", "--range", "5-9"});
    QCOMPARE(r.code, 1);
    r = runCli({"publish", m_dir.path() + "/two.pdf", "-o", m_dir.path() + "/q", "--quality", "7"});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains("--quality"));
    // An empty text is refused like a PDF without pages.
    writeFile(m_dir.path() + "/empty.txt", "\n \n");
    r = runCli({"publish", m_dir.path() + "/empty.txt", "-o", m_dir.path() + "/empty"});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err, QString("folivox-cli: Cannot convert empty.txt: the document is empty\n"));
  }

  void inspectDamagedBook() {
    const QString out = m_dir.path() + "/damaged";
    QCOMPARE(runCli({"publish", demo(), "-o", out}).code, 0);
    const QByteArray bytes = readFile(out + "/files/book.bin");
    QVERIFY(writeFile(out + "/files/book.bin", bytes.left(bytes.size() - 30)));
    const CliRun r = runCli({"inspect", out});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("damaged"), qPrintable(r.err));
  }

  void publishFailureIsNotSuccess() {
    // A settings file naming a picture beside it that is not there: the book
    // would be incomplete, so the command fails, says which file is missing,
    // and writes nothing.
    const QString settings = m_dir.path() + "/bad/bad.txt";
    writeFile(settings, ("\n\rinnerMainbgImgUrl=" + m_dir.path() + "/bad/background.jpg").toUtf8());
    const CliRun r = runCli({"publish", demo(), "-o", m_dir.path() + "/partial", "--settings", settings});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("publishing failed") && r.err.contains("bad/background.jpg"), qPrintable(r.err));
    // The file is named where it would have been, not in the work folder that is gone.
    QVERIFY2(r.err.contains("  " + m_dir.path() + "/partial/files/extfiles/innerMainbgImgUrl.jpg: ") &&
                 !r.err.contains(".folivox-staging"),
             qPrintable(r.err));
    QVERIFY(QDir(m_dir.path() + "/partial").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
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
    const CliRun r = runCli({"publish", demo(), "-o", root + "/book", "--settings", root + "/look.txt"}, env);
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
    const auto publishWith = [&](const QByteArray& settings) {
      writeFile(root + "/shared/settings.txt", settings);
      return runCli({"publish", demo(), "-o", root + "/book", "--settings", root + "/shared/settings.txt"});
    };
    // Unusable files stop the publish with the reason.
    for (const QByteArray& bad : {QByteArray("\n\rbgColor=\0\1\2", 13), QByteArray("%PDF-1.4 no settings here"),
                                  QByteArray("\n\rnoSuchKey=1")}) {
      const CliRun r = publishWith(bad);
      QVERIFY2(r.code == 1 && r.err.startsWith("folivox-cli: ") && r.err.contains("cannot be used as a settings file"),
               qPrintable(r.err));
    }
    // Files outside the settings file's folder are not taken; those beside it
    // are, and every file from outside the book is named.
    const QString secret = root + "/home/.ssh/id_ed25519";
    writeFile(secret, "PRIVATE KEY");
    writeFile(root + "/shared/logo.png", "png");
    const CliRun r = publishWith(("\n\rflipSound=" + secret + "\n\rlogoFile=" + root + "/shared/logo.png").toUtf8());
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains("warning: ") && r.err.contains("flipSound: " + secret), qPrintable(r.err));
    QVERIFY2(r.err.contains("copied into the book: " + root + "/shared/logo.png (as files/extfiles/logoFile.png)"),
             qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(root + "/book/files/extfiles/flipSound."));
    QCOMPARE(QDir(root + "/book/files/extfiles").entryList(QDir::Files), QStringList({"logoFile.png"}));
  }

  void inspectReadsOnlyWhatABookCanBe() {
    const CliRun zero = runCli({"inspect", "/dev/zero"});
    QVERIFY2(zero.code == 1 && zero.err.contains("not a regular file"), qPrintable(zero.err));
    // A book whose text is a named pipe, then a link to /dev/zero: refused
    // at once, not waited on or read without end.
    const QString book = m_dir.path() + "/odd-text";
    QCOMPARE(runCli({"publish", demo(), "-o", book}).code, 0);
    QDir().mkpath(book + "/files/text");
    QCOMPARE(::mkfifo(QFile::encodeName(book + "/files/text/all.js").constData(), 0600), 0);
    CliRun text = runCli({"inspect", book, "--text"});
    QVERIFY2(text.code == 1 && text.err.contains("it is a named pipe, not a regular file"), qPrintable(text.err));
    QVERIFY(QFile::remove(book + "/files/text/all.js") && QFile::link("/dev/zero", book + "/files/text/all.js"));
    text = runCli({"inspect", book, "--text"});
    QVERIFY2(text.code == 1 && text.err.contains("it is a device, not a regular file"), qPrintable(text.err));
    QVERIFY(runCli({"publish", "--help"}).out.contains("--force"));
  }
};

FOLIVOX_TEST_MAIN(TestCli)
#include "test_cli.moc"
