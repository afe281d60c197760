// folivox-cli publish --format epub as a user runs it: the file it writes,
// what it refuses, and that a refused target is left as it was.
#include "CliFixture.h"
#include "TestEnv.h"

namespace {

QString pictures() { return qEnvironmentVariable("FOLIVOX_RESOURCES") + QStringLiteral("/DemoImgs"); }

}  // namespace

class TestCliEpub : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;

 private Q_SLOTS:
  void writesTheFileOIsGiven() {
    const QString target = m_dir.filePath("new/My Book");  // folder made, .epub added
    const CliRun r =
        runCli({"publish", pictures(), "--format", "epub", "-o", target, "--author", "Me", "--language", "de-CH"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QByteArray bytes = readFile(target + ".epub");
    QVERIFY(bytes.startsWith("PK"));
    QCOMPARE(bytes.mid(30, 28), QByteArray("mimetypeapplication/epub+zip"));
    QCOMPARE(QDir(m_dir.filePath("new")).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"My Book.epub"});
  }

  void refusesWhatItCannotDo_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("said");
    QTest::newRow("app") << QStringList{"--format", "epub", "--app"} << "--app and --name";
    QTest::newRow("name") << QStringList{"--format", "epub", "--name", "x"} << "--app and --name";
    QTest::newRow("language") << QStringList{"--format", "epub", "--language", "en us"} << "--language takes";
    QTest::newRow("format") << QStringList{"--format", "pdf"} << "--format takes";
  }
  void refusesWhatItCannotDo() {
    QFETCH(QStringList, extra);
    QFETCH(QString, said);
    const CliRun r = runCli(QStringList{"publish", pictures(), "-o", m_dir.filePath("r.epub")} + extra);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(said), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(m_dir.filePath("r.epub")));
  }

  void leavesAFolderByThatNameAlone() {
    const QString target = m_dir.filePath("taken.epub");
    QVERIFY(writeFile(target + "/notes.txt", "mine"));
    const CliRun r = runCli({"publish", pictures(), "--format", "epub", "-o", target});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("not a file"), qPrintable(r.err));
    QCOMPARE(readFile(target + "/notes.txt"), QByteArray("mine"));
  }
};

FOLIVOX_TEST_MAIN(TestCliEpub)
#include "test_cli_epub.moc"
