// folivox-cli as a user runs it: exit codes, messages, the book it writes.
#include <QProcess>

#include "PdfFixture.h"
#include "TestEnv.h"
#include "publish/BookBinReader.h"

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

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
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
    QVERIFY2(t.out.contains("float") && t.out.contains("Blank  (default)") && t.out.contains("Ocean"), qPrintable(t.out));
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
    const Run app = cli({"publish", demo(), "-o", m_dir.path() + "/apps", "--name", "Demo", "--app", "--settings", settings});
    QVERIFY2(app.code == 0, qPrintable(app.err));
    QCOMPARE(app.out.trimmed(), m_dir.path() + "/apps/Demo.app");
    QVERIFY(QFileInfo(m_dir.path() + "/apps/Demo.app/Contents/MacOS/launcher").isExecutable());
    QVERIFY(BookBinReader::inspect(m_dir.path() + "/apps/Demo.app/Contents/Resources").bookXml.contains("0x123456"));
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
    QTest::newRow("bad settings") << QStringList{"publish", demo(), "-o", out, "--settings", "/no/file"} << "does not exist";
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
    // Four pages; page 2 links to page 4 and to a web address; an outline.
    PdfFixture pdf(4);
    pdf.page(1).extra = "/Annots [<< /Type /Annot /Subtype /Link /Rect [100 700 300 720] /Dest [" + pdf.pageRef(3) +
                        " /Fit] >> << /Type /Annot /Subtype /Link /Rect [100 600 300 620] /A << /S /URI "
                        "/URI (https://example.org/) >> >>]";
    const int outlines = pdf.reserve();
    const int item = pdf.add("<< /Title (Chapter) /Parent " + PdfFixture::ref(outlines) + " /Dest [" + pdf.pageRef(2) + " /Fit] >>");
    pdf.set(outlines, "<< /Type /Outlines /First " + PdfFixture::ref(item) + " /Last " + PdfFixture::ref(item) + " /Count 1 >>");
    pdf.catalogExtra = "/Outlines " + PdfFixture::ref(outlines);
    const QString file = m_dir.path() + "/doc.pdf";
    QVERIFY(pdf.write(file));

    const QString out = m_dir.path() + "/pdfbook";
    const Run r = cli({"publish", file, "-o", out, "--range", "2-4", "--links", "--bookmarks", "--quality", "4", "--jobs", "2"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QByteArray xml = BookBinReader::inspect(out).bookXml;
    QVERIFY(xml.contains("count=\"3\""));
    QVERIFY(xml.contains("<item name=\"pageWidth\">612</item>") && xml.contains("<item name=\"pageHeight\">792</item>"));
    QVERIFY(xml.contains("./files/page/2.jpg") && !xml.contains("./files/page/1.jpg"));
    QVERIFY(xml.contains("<c>Chapter</c>") && xml.contains("<p>3</p>"));
    QVERIFY(xml.contains("<url>https://example.org/</url>") && xml.contains("<pageIndex>4</pageIndex>"));
    QVERIFY(xml.contains("<title>") == false);  // the page title goes into index.html, not book.xml
    QVERIFY(QFile(out + "/index.html").open(QIODevice::ReadOnly));
    QFile page(out + "/index.html");
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("<title>doc</title>"));  // named after the input

    // Without --links and --bookmarks the book has neither.
    const Run plain = cli({"publish", file, "-o", m_dir.path() + "/plain"});
    QCOMPARE(plain.code, 0);
    const QByteArray plainXml = BookBinReader::inspect(m_dir.path() + "/plain").bookXml;
    QVERIFY(!plainXml.contains("<ols") && !plainXml.contains("<pagesAnnos"));
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
    // would be incomplete, so the command fails and says which file is missing.
    const QString settings = m_dir.path() + "/bad/bad.txt";
    writeFile(settings, ("\n\rinnerMainbgImgUrl=" + m_dir.path() + "/bad/background.jpg").toUtf8());
    const Run r = cli({"publish", demo(), "-o", m_dir.path() + "/partial", "--settings", settings});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("publishing failed") && r.err.contains("bad/background.jpg"), qPrintable(r.err));
  }
};

FOLIVOX_TEST_MAIN(TestCli)
#include "test_cli.moc"
