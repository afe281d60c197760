// folivox-cli publish --format epub as a user runs it: the file it writes,
// what it refuses, and that a refused target is left as it was.
#include <QProcess>

#include "TestEnv.h"

namespace {

struct Run {
  int code = -1;
  QString err;
};

Run cli(const QStringList& args) {
  QProcess p;
  p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/folivox-cli"), args);
  Run r;
  if (!p.waitForFinished(120000)) return r;
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

QString pictures() { return qEnvironmentVariable("FOLIVOX_RESOURCES") + QStringLiteral("/DemoImgs"); }

}  // namespace

class TestCliEpub : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;

 private Q_SLOTS:
  void writesTheFileOIsGiven() {
    const QString target = m_dir.filePath(QStringLiteral("new/My Book"));  // folder made, .epub added
    const Run r = cli({QStringLiteral("publish"), pictures(), QStringLiteral("--format"), QStringLiteral("epub"),
                       QStringLiteral("-o"), target, QStringLiteral("--author"), QStringLiteral("Me"),
                       QStringLiteral("--language"), QStringLiteral("de-CH")});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QByteArray bytes = readFile(target + QStringLiteral(".epub"));
    QVERIFY(bytes.startsWith("PK"));
    QCOMPARE(bytes.mid(30, 28), QByteArray("mimetypeapplication/epub+zip"));
    QVERIFY(
        QDir(m_dir.filePath(QStringLiteral("new"))).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot) ==
        QStringList{QStringLiteral("My Book.epub")});
  }

  void refusesWhatItCannotDo_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("said");
    QTest::newRow("app") << QStringList{QStringLiteral("--app")} << QStringLiteral("--app and --name");
    QTest::newRow("name") << QStringList{QStringLiteral("--name"), QStringLiteral("x")}
                          << QStringLiteral("--app and --name");
    QTest::newRow("language") << QStringList{QStringLiteral("--language"), QStringLiteral("en us")}
                              << QStringLiteral("--language takes");
    QTest::newRow("format") << QStringList{QStringLiteral("--format"), QStringLiteral("pdf")}
                            << QStringLiteral("--format takes");
  }
  void refusesWhatItCannotDo() {
    QFETCH(QStringList, extra);
    QFETCH(QString, said);
    QStringList args{QStringLiteral("publish"), pictures(), QStringLiteral("-o"),
                     m_dir.filePath(QStringLiteral("r.epub"))};
    if (!extra.contains(QStringLiteral("--format"))) args << QStringLiteral("--format") << QStringLiteral("epub");
    const Run r = cli(args + extra);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(said), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("r.epub"))));
  }

  void leavesAFolderByThatNameAlone() {
    const QString target = m_dir.filePath(QStringLiteral("taken.epub"));
    QVERIFY(writeFile(target + QStringLiteral("/notes.txt"), "mine"));
    const Run r = cli({QStringLiteral("publish"), pictures(), QStringLiteral("--format"), QStringLiteral("epub"),
                       QStringLiteral("-o"), target});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QLatin1String("not a file")), qPrintable(r.err));
    QCOMPARE(readFile(target + QStringLiteral("/notes.txt")), QByteArray("mine"));
  }
};

FOLIVOX_TEST_MAIN(TestCliEpub)
#include "test_cli_epub.moc"
