// folivox-cli batch: reading the list, naming the book folders, and runs as a
// job system makes them: mixed good and bad documents, --skip-done, timeouts
// and signals in the middle of a publish, hostile names.
#include <signal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "CliFixture.h"
#include "PdfFixture.h"
#include "TestEnv.h"
#include "publish/BookBinReader.h"
#include "publish/BookTransaction.h"
#include "session/BatchList.h"
#include "session/BookFolderNames.h"

namespace {

// A batch run with the JSON line of each document.
struct Run : CliRun {
  QList<QJsonObject> lines;
  // The JSON line of the document on list line `line`.
  QJsonObject of(int line) const {
    for (const QJsonObject& o : lines)
      if (o.value("line").toInt() == line) return o;
    return {};
  }
};

// `folivox-cli batch` in `cwd`, with `list` on its standard input.
Run batch(const QString& cwd, const QByteArray& list, const QStringList& args) {
  Run r{runCli(QStringList{"batch", "-", "--json"} + args, QProcessEnvironment::systemEnvironment(), list, cwd), {}};
  for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts))
    r.lines << QJsonDocument::fromJson(line.toUtf8()).object();
  return r;
}

// A PDF of `pages` pages whose text says `tag`, so two versions differ.
void writePdf(const QString& path, int pages, const QByteArray& tag = "A") {
  PdfFixture pdf(pages);
  for (int i = 0; i < pages; ++i)
    pdf.page(i).content = "BT /F1 36 Tf 72 400 Td (" + tag + " " + QByteArray::number(i + 1) + ") Tj ET";
  QDir().mkpath(QFileInfo(path).absolutePath());
  QVERIFY(pdf.write(path));
}

// The pid of a child of `parent` that has stopped itself (state T), or 0.
qint64 stoppedChildOf(qint64 parent) {
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
    const QByteArray stat = readFile("/proc/" + entry + "/stat");
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0) continue;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');  // state, ppid, ...
    if (fields.size() > 1 && fields[0] == "T" && fields[1].toLongLong() == parent) return entry.toLongLong();
  }
  return 0;
}

// Pages of the book in `folder`, or -1 when it holds no readable book.
int bookPages(const QString& folder) {
  const BookBinReader::Result book = BookBinReader::inspect(folder);
  if (!book.ok()) return -1;
  const qsizetype at = book.bookXml.indexOf("count=\"");
  return at < 0 ? -1 : book.bookXml.mid(at + 7, book.bookXml.indexOf('"', at + 7) - at - 7).toInt();
}

}  // namespace

class TestBatch : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;

 private Q_SLOTS:
  void listWords_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("plain") << "a.pdf --range 1-3  --links" << QStringList{"a.pdf", "--range", "1-3", "--links"};
    QTest::newRow("double quotes") << "a.pdf --title \"Two \\\"words\\\" \\\\ \\n\""
                                   << QStringList{"a.pdf", "--title", "Two \"words\" \\ \\n"};
    QTest::newRow("single quotes") << "'my \\ file'.pdf" << QStringList{"my \\ file.pdf"};
    QTest::newRow("backslash") << "my\\ file.pdf\tx\\#y" << QStringList{"my file.pdf", "x#y"};
    QTest::newRow("dollar quotes") << "$'new\\nline\\t\\'.pdf'" << QStringList{"new\nline\t'.pdf"};
    QTest::newRow("printf %q") << "'it'\\''s a'$'\\n''b.pdf' $'it\\'s a\\nb.pdf'"
                               << QStringList{"it's a\nb.pdf", "it's a\nb.pdf"};  // coreutils, bash
    QTest::newRow("comment") << "a#b.pdf # all of this" << QStringList{"a#b.pdf"};
    QTest::newRow("empty word") << "'' x" << QStringList{"", "x"};
  }
  void listWords() {
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QStringList got;
    QString error;
    QVERIFY2(BatchList::splitWords(line, &got, &error), qPrintable(error));
    QCOMPARE(got, words);
  }

  // Each line that cannot be run is its own failure with its number; the
  // others are read on.
  void listLines() {
    QByteArray list = "\xEF\xBB\xBF# archive\r\n\r\n  a.pdf --quality 2\r\n";
    list += "b.pdf -o /elsewhere\n";                                        // 4
    list += "c.pdf --output=/x\n";                                          // 5
    list += "d.pdf -o/x\n";                                                 // 6
    list += "e.pdf --help\n";                                               // 7
    list += "f.pdf -- g.pdf\n";                                             // 8
    list += "\"open.pdf\n";                                                 // 9
    list += QByteArray("nul\0.pdf\n", 9);                                   // 10
    list += "bad\xFF.pdf\n";                                                // 11
    list += "'' --links\n";                                                 // 12
    list += "x " + QByteArray("y ").repeated(BatchList::kMaxWords) + "\n";  // 13
    list += QByteArray(BatchList::kMaxLineLength + 1, 'z') + "\n";          // 14
    list += "last.pdf";                                                     // 15, no line end
    const BatchList::Result r = BatchList::parse(list);
    QVERIFY(r.error.isEmpty());
    QCOMPARE(r.entries.size(), size_t(13));
    QCOMPARE(r.entries[0].line, 3);
    QCOMPARE(r.entries[0].input, QString("a.pdf"));
    QCOMPARE(r.entries[0].options, QStringList({"--quality", "2"}));
    QVERIFY(r.entries[0].error.isEmpty());
    for (size_t i = 1; i < 12; ++i) {
      QCOMPARE(r.entries[i].line, int(i) + 3);
      QVERIFY2(r.entries[i].error.startsWith(QStringLiteral("line %1: ").arg(i + 3)), qPrintable(r.entries[i].error));
    }
    QVERIFY(r.entries[1].error.contains("chooses the output folder"));
    QCOMPARE(r.entries[12].input, QString("last.pdf"));
    QVERIFY(r.entries[12].error.isEmpty());

    QVERIFY(!BatchList::parse(QByteArray(BatchList::kMaxListSize + 1, ' ')).error.isEmpty());
  }

  void folderNames() {
    QCOMPARE(BookFolderNames::safeName("in/Annual Report 2020.pdf", false), QString("Annual_Report_2020"));
    QCOMPARE(BookFolderNames::safeName("../../etc/passwd", false), QString("passwd"));
    QCOMPARE(BookFolderNames::safeName("a\nb\r\x1b[2J.pdf", false), QString("a_b_2J"));
    QCOMPARE(BookFolderNames::safeName(".hidden.pdf", false), QString("hidden"));
    QCOMPARE(BookFolderNames::safeName("--rf *.pdf", false), QString("rf"));
    QCOMPARE(BookFolderNames::safeName("..", true), QString("book"));
    QCOMPARE(BookFolderNames::safeName("/", true), QString("book"));
    QCOMPARE(BookFolderNames::safeName("scans/v1.2/", true), QString("v1.2"));
    QCOMPARE(BookFolderNames::safeName(QString::fromUtf8("Über\u00A0alles.rtf"), false),
             QString::fromUtf8("Über_alles"));
    // Long names are cut between characters, within the byte budget.
    const QString longName = BookFolderNames::safeName(QString(300, QChar(0x00E9)) + ".pdf", false);
    QCOMPARE(longName.toUtf8().size(), BookFolderNames::kMaxBytes);

    BookFolderNames names;
    QCOMPARE(names.take("a.pdf", false), QString("a"));
    QCOMPARE(names.take("x/a.pdf", false), QString("a-2"));
    QCOMPARE(names.take("A.txt", false), QString("A-3"));  // unique without regard to case
    QCOMPARE(names.take("a-2.pdf", false), QString("a-2-2"));
    const QString first = names.take(QString(300, 'L') + ".pdf", false);
    const QString second = names.take(QString(300, 'L') + ".txt", false);
    QCOMPARE(first.size(), BookFolderNames::kMaxBytes);
    QVERIFY(second.endsWith("-2") && second.size() == BookFolderNames::kMaxBytes && second != first);
  }

  // Good and bad documents in one list: the bad ones are reported, the good
  // ones published whole, the exit status says not all went well.
  void mixedGoodAndBadDocuments() {
    const QString root = m_dir.path() + "/mixed";
    writePdf(root + "/in/good.pdf", 3);
    writePdf(root + "/in/other.pdf", 2);
    QByteArray pdf = readFile(root + "/in/good.pdf");
    writeFile(root + "/in/damaged.pdf", pdf.left(pdf.size() / 3));
    writeFile(root + "/in/empty.txt", "  \n\n");
    const QByteArray list =
        "in/good.pdf --links\n"
        "in/damaged.pdf\n"
        "in/missing.pdf\n"
        "in/empty.txt\n"
        "in/other.pdf --frobnicate\n"
        "in/other.pdf --title Other\n"
        "in/'unclosed\n";
    const Run r = batch(root, list, {"-o", "out", "--jobs", "2"});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.lines.size(), 7);
    QCOMPARE(r.of(1).value("status").toString(), QString("ok"));
    QCOMPARE(r.of(1).value("pages").toInt(), 3);
    QCOMPARE(r.of(1).value("output").toString(), root + "/out/good");
    QVERIFY(r.of(1).value("bytes").toInteger() > 0 && r.of(1).value("error").isNull());
    QCOMPARE(r.of(6).value("status").toString(), QString("ok"));
    QCOMPARE(r.of(6).value("output").toString(), root + "/out/other-2");
    for (int line : {2, 3, 4, 5, 7}) {
      QCOMPARE(r.of(line).value("status").toString(), QString("failed"));
      QVERIFY2(!r.of(line).value("error").toString().isEmpty(), qPrintable(r.err));
    }
    QVERIFY2(r.of(4).value("error").toString().contains("empty"), qPrintable(r.of(4).value("error").toString()));
    QVERIFY(r.of(5).value("error").toString().contains("frobnicate"));
    QVERIFY(r.err.contains("2 published, 0 skipped, 5 failed"));
    QCOMPARE(bookPages(root + "/out/good"), 3);
    QCOMPARE(QDir(root + "/out/good/files/page").entryList(QDir::Files).size(), 3);
    QCOMPARE(bookPages(root + "/out/other-2"), 2);
    QCOMPARE(QDir(root + "/out").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"good", "other-2"}));
  }

  // A batch book is exactly the book publish makes with the same options, and
  // a second batch gives the same bytes again.
  void sameBytesAsPublish() {
    const QString root = m_dir.path() + "/same";
    writePdf(root + "/doc.pdf", 2);
    const QByteArray list = "doc.pdf --links --bookmarks --quality 3\n";
    QCOMPARE(batch(root, list, {"-o", "one"}).code, 0);
    QThread::sleep(2);  // a zip time stamp counts in two seconds
    const Run two = batch(root, list, {"-o", "two", "--threads", "2"});
    QCOMPARE(two.code, 0);
    QCOMPARE(two.of(1).value("threads").toInt(), 2);
    QCOMPARE(runCli({"publish", "doc.pdf", "-o", "alone", "--links", "--bookmarks", "--quality", "3"},
                    QProcessEnvironment::systemEnvironment(), {}, root)
                 .code,
             0);

    const QMap<QString, QByteArray> one = filesBelow(root + "/one/doc");
    QCOMPARE(one, filesBelow(root + "/two/doc"));
    QMap<QString, QByteArray> withoutRecord = one;
    QVERIFY(withoutRecord.remove("files/source.json") == 1);
    QCOMPARE(withoutRecord, filesBelow(root + "/alone"));
    const QByteArray record = one.value("files/source.json");
    QVERIFY2(!record.contains('/') && record.contains("\"input\":\"doc.pdf\""), record.constData());
  }

  // A second run with --skip-done publishes nothing; a changed input, a
  // changed option or a missing record publishes again; --jobs and --force
  // do not count.
  void skipDone() {
    const QString root = m_dir.path() + "/skip";
    writePdf(root + "/a.pdf", 2);
    writePdf(root + "/b.pdf", 2);
    writeFile(root + "/settings.txt", "\n\rbgColor=0x123456");
    QDir().mkpath(root + "/pictures");
    QVERIFY(QFile::copy(PlatformPaths::current().resource("DemoImgs/page-01.jpg"), root + "/pictures/1.jpg"));
    QByteArray list = "a.pdf --quality 2\nb.pdf --settings settings.txt\npictures --app\n";
    const Run first = batch(root, list, {"-o", "out", "--skip-done"});
    QCOMPARE(first.code, 0);
    for (int line = 1; line <= 3; ++line) QCOMPARE(first.of(line).value("status").toString(), QString("ok"));

    list = "a.pdf --quality 2 --jobs 1 --force\nb.pdf --settings=./settings.txt\npictures --app\n";
    const Run again = batch(root, list, {"-o", "out", "--skip-done"});
    QCOMPARE(again.code, 0);
    for (int line = 1; line <= 3; ++line) {
      QCOMPARE(again.of(line).value("status").toString(), QString("skipped"));
      QVERIFY(!again.of(line).contains("threads"));  // no publish ran
    }
    QCOMPARE(again.of(3).value("pages").toInt(), 1);

    writePdf(root + "/a.pdf", 2, "changed");
    writeFile(root + "/settings.txt", "\n\rbgColor=0x654321");
    writeFile(root + "/pictures/2.jpg", readFile(root + "/pictures/1.jpg"));
    const Run changed = batch(root, list, {"-o", "out", "--skip-done"});
    for (int line = 1; line <= 3; ++line) QCOMPARE(changed.of(line).value("status").toString(), QString("ok"));
    QCOMPARE(changed.of(3).value("pages").toInt(), 2);
    QVERIFY(BookBinReader::inspect(root + "/out/b").bookXml.contains("0x654321"));

    list = "a.pdf --quality 3\nb.pdf --settings settings.txt\npictures --app --name Pics\n";
    QVERIFY(QFile::remove(root + "/out/b/files/source.json"));
    const Run options = batch(root, list, {"-o", "out", "--skip-done"});
    for (int line = 1; line <= 3; ++line) QCOMPARE(options.of(line).value("status").toString(), QString("ok"));
    // Without --skip-done everything is published again.
    QCOMPARE(batch(root, list, {"-o", "out"}).of(1).value("status").toString(), QString("ok"));
  }

  // A document killed in the middle of its publish, by --timeout or by a
  // signal to the batch, leaves its earlier book whole and no work files.
  void killedInTheMiddle_data() {
    QTest::addColumn<bool>("bySignal");
    QTest::newRow("timeout") << false;
    QTest::newRow("Ctrl-C") << true;
  }
  void killedInTheMiddle() {
    QFETCH(bool, bySignal);
    const QString root = m_dir.path() + (bySignal ? "/signal" : "/timeout");
    writePdf(root + "/doc.pdf", 2, "old");
    QCOMPARE(batch(root, "doc.pdf\n", {"-o", "out"}).code, 0);
    const QMap<QString, QByteArray> before = filesBelow(root + "/out/doc");
    writePdf(root + "/doc.pdf", 3, "new");

    // Every publish stops itself just before book.bin is in place, as a
    // publish stuck in a call that never returns: deaf to SIGTERM.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FOLIVOX_STOP_AT", "publish-bookbin");
    QProcess p;
    p.setWorkingDirectory(root);
    p.setProcessEnvironment(env);
    // The timeout leaves a loaded machine time to reach the stop.
    p.start(cliProgram(), QStringList{"batch", "-", "-o", "out", "--json"} +
                              (bySignal ? QStringList() : QStringList{"--timeout", "10"}));
    p.write("doc.pdf\n");
    p.closeWriteChannel();
    qint64 child = 0;
    QTRY_VERIFY_WITH_TIMEOUT((child = stoppedChildOf(p.processId())) != 0 || p.state() == QProcess::NotRunning, 60000);
    QVERIFY2(child != 0, "the publish ended before its stop");
    if (bySignal) ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (bySignal) {
      QCOMPARE(p.exitStatus(), QProcess::CrashExit);  // it ends by the signal, as a shell expects
      QVERIFY2(out.contains("\"status\":\"stopped\""), qPrintable(out));
    } else {
      QCOMPARE(p.exitCode(), 1);
      QVERIFY2(out.contains("\"status\":\"timeout\""), qPrintable(out));
    }
    QCOMPARE(filesBelow(root + "/out/doc"), before);
    QCOMPARE(QDir(root + "/out/doc").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"files", "index.html"}));
    QVERIFY(QDir("/tmp").entryList({QStringLiteral("Quireon-%1-*").arg(child)}, QDir::Dirs | QDir::Hidden).isEmpty());
  }

  // The parts of one list, run apart (a job system's pods), name their books
  // as the whole list does, so they never meet in a folder.
  void partsOfAList() {
    const QString root = m_dir.path() + "/parts";
    writePdf(root + "/a.pdf", 1);
    writePdf(root + "/sub/a.pdf", 1);
    writePdf(root + "/b.pdf", 1);
    const QByteArray list = "a.pdf\nsub/a.pdf\nb.pdf\n";
    const Run first = batch(root, list, {"-o", "out", "--part", "0/2"});
    const Run second = batch(root, list, {"-o", "out", "--part", "1/2"});
    QCOMPARE(first.lines.size(), 1);
    QCOMPARE(first.of(1).value("output").toString(), root + "/out/a");
    QCOMPARE(second.lines.size(), 2);
    QCOMPARE(second.of(2).value("output").toString(), root + "/out/a-2");
    QCOMPARE(second.of(3).value("status").toString(), QString("ok"));
    for (const char* wrong : {"2/2", "1", "-1/2", "0/0"})
      QCOMPARE(batch(root, list, {"-o", "out", "--part", wrong}).code, 2);
  }

  // Inputs whose names collide or are hostile land each in its own folder
  // inside OUTDIR, under a name that is safe to use.
  void hostileAndCollidingNames() {
    const QString root = m_dir.path() + "/names";
    writePdf(root + "/work/a.pdf", 1);
    writePdf(root + "/work/sub/a.pdf", 1);
    writePdf(root + "/up.pdf", 1);
    writePdf(root + "/work/new\nline.pdf", 1);
    const QString longName = QString(120, QChar(0x00FC)) + ".pdf";  // 244 bytes in UTF-8
    const QString dashName = "-o.pdf";
    writePdf(root + "/work/" + dashName, 1);
    writePdf(root + "/work/" + longName, 1);
    const QByteArray list =
        "a.pdf\nsub/a.pdf\n../up.pdf\n$'new\\nline.pdf'\n" + dashName.toUtf8() + "\n" + longName.toUtf8() + "\n";
    const Run r = batch(root + "/work", list, {"-o", "../out", "--jobs", "2"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QStringList folders = QDir(root + "/out").entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    folders.sort();
    QCOMPARE(folders, QStringList({"a", "a-2", "new_line", "o", "up", QString(60, QChar(0x00FC))}));
    for (const QString& f : folders) QCOMPARE(bookPages(root + "/out/" + f), 1);
  }
};

FOLIVOX_TEST_MAIN(TestBatch)
#include "test_batch.moc"
