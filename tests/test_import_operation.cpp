// The import operation: its work folders, documents converted to PDF first, documents it
// cannot open, the queue, and cancelling.
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <QDir>
#include <QDirIterator>
#include <QSignalSpy>
#include <cstring>

#include "ImportFixture.h"
#include "PdfFixture.h"
#include "TestEnv.h"
#include "import/FlashPageSourcePDF.h"
#include "import/OperationQueue.h"
#include "import/PDFToPageConverter.h"

namespace {

// Writes a copy of `plain` encrypted with the user password "secret".
bool writeEncrypted(const QString& plain, const QString& target) {
  fz_context* ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
  const QByteArray in = QFile::encodeName(plain), out = QFile::encodeName(target);
  pdf_document* doc = nullptr;
  bool ok = true;
  fz_var(doc);
  fz_try(ctx) {
    doc = pdf_open_document(ctx, in.constData());
    pdf_write_options opts = pdf_default_write_options;
    opts.do_encrypt = PDF_ENCRYPT_AES_256;
    std::strcpy(opts.upwd_utf8, "secret");
    std::strcpy(opts.opwd_utf8, "owner");
    opts.permissions = -1;
    pdf_save_document(ctx, doc, out.constData(), &opts);
  }
  fz_always(ctx) { pdf_drop_document(ctx, doc); }
  fz_catch(ctx) { ok = false; }
  fz_drop_context(ctx);
  return ok;
}

}  // namespace

class TestImportOperation : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  QString path(const QString& name) const { return m_dir.filePath(name); }

 private Q_SLOTS:
  void workFoldersBelongToTheirSource() {
    PdfFixture pdf(1);
    QVERIFY(pdf.write(path(QStringLiteral("one.pdf"))));
    const QStringList before = workFolders();
    QString a, b;
    {
      FlashPageSourcePDF first(path(QStringLiteral("one.pdf")), QStringLiteral("ALL"), 144, 85);
      FlashPageSourcePDF second(path(QStringLiteral("one.pdf")), QStringLiteral("ALL"), 144, 85);
      first.generatePages();
      second.generatePages();
      a = first.toPageConverter()->converterWorkFolder();
      b = second.toPageConverter()->converterWorkFolder();
      QVERIFY(a != b);
      QVERIFY(QFile::exists(a + QStringLiteral("/1.jpg")));
      QVERIFY(QFile::exists(b + QStringLiteral("/1.jpg")));
    }
    QVERIFY(!QFileInfo::exists(a));
    QVERIFY(!QFileInfo::exists(b));
    QCOMPARE(workFolders(), before);
  }

  // A text document becomes a PDF inside the operation, with progress, in a
  // work folder that goes with the operation; an empty one and a cancelled
  // conversion leave nothing behind.
  void documentsAreConvertedFirst() {
    QByteArray text;
    for (int i = 1; i <= 400; ++i) text += "Line " + QByteArray::number(i) + " of a text document.\n";
    QVERIFY(writeFile(path(QStringLiteral("notes.TXT")), text));
    const QStringList before = workFolders();
    ProgressRecorder progress;
    auto op = runImport(path(QStringLiteral("notes.TXT")));
    QVERIFY2(op->flashPageSource(), qPrintable(op->errorString()));
    QCOMPARE(op->documentPath(), path(QStringLiteral("notes.TXT")));
    const QFileInfo converted(op->PDFPath());
    QCOMPARE(converted.fileName(), QStringLiteral("Folivox.pdf"));
    QCOMPARE(converted.dir().dirName().left(8), QStringLiteral("Quireon-"));
    QVERIFY(converted.size() > 0);
    const int pages = MuPdfDocument::open(op->PDFPath())->pageCount();
    QVERIFY(pages > 10);
    QCOMPARE(op->flashPageSource()->pages().size(), size_t(pages));
    QCOMPARE(jpegSize(op->flashPageSource()->pages().front()->pageFilePath()), QSize(1296, 936));
    // Conversion first, in percent up to 100, then the pages.
    QVERIFY(!progress.posts.isEmpty() && progress.posts.first().type == ImportPDFOperation::kConvertProgressType);
    const auto firstPage = std::find_if(progress.posts.begin(), progress.posts.end(),
                                        [](const Progress& p) { return p.type == QStringLiteral("geneatePage"); });
    QVERIFY(firstPage != progress.posts.end());
    const Progress& lastConversion = *(firstPage - 1);
    QCOMPARE(lastConversion.type, ImportPDFOperation::kConvertProgressType);
    QCOMPARE(lastConversion.pageIndex, 100);
    QCOMPARE(lastConversion.totalPage, 100);
    op.reset();
    QVERIFY(!converted.dir().exists());
    QCOMPARE(workFolders(), before);

    QVERIFY(writeFile(path(QStringLiteral("empty.rtf")), "{\\rtf1\\ansi }"));
    op = runImport(path(QStringLiteral("empty.rtf")));
    QVERIFY(!op->flashPageSource());
    QCOMPARE(op->errorString(), QStringLiteral("Cannot convert empty.rtf: the document is empty"));
    op.reset();
    QCOMPARE(workFolders(), before);

    while (text.size() < 3 * 1024 * 1024) text += text;
    QVERIFY(writeFile(path(QStringLiteral("long.txt")), text));
    op = std::make_shared<ImportPDFOperation>(path(QStringLiteral("long.txt")), QStringLiteral("ALL"), 144, 85);
    progress.posts.clear();
    progress.onPost = [&](const Progress&) { op->cancel(); };
    op->start();
    QVERIFY(op->isCancelled());
    QVERIFY(!op->flashPageSource());
    QCOMPARE(op->errorString(), QStringLiteral("The import was cancelled."));
    QVERIFY(progress.posts.size() < 10);
    for (const Progress& p : progress.posts) QCOMPARE(p.type, ImportPDFOperation::kConvertProgressType);
    QCOMPARE(workFolders(), before);
  }

  void unopenableDocumentsFailWithAReason_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QStringLiteral("missing.pdf") << QStringLiteral("the file does not exist");
    QTest::newRow("empty") << QStringLiteral("empty.pdf") << QStringLiteral("the file is empty");
    QTest::newRow("not a pdf") << QStringLiteral("text.pdf") << QStringLiteral("it is not a PDF document");
    QTest::newRow("password") << QStringLiteral("locked.pdf") << QStringLiteral("protected by a password");
    QTest::newRow("no pages") << QStringLiteral("nopages.pdf") << QStringLiteral("the document has no pages");
    QTest::newRow("garbage after header")
        << QStringLiteral("garbage.pdf") << QStringLiteral("Cannot open garbage.pdf:");
  }
  void unopenableDocumentsFailWithAReason() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(writeFile(path(QStringLiteral("empty.pdf")), QByteArray()));
    QVERIFY(writeFile(path(QStringLiteral("text.pdf")), "Just some words, no PDF here.\n"));
    PdfFixture plain(2);
    QVERIFY(plain.write(path(QStringLiteral("plain.pdf"))));
    QVERIFY(writeEncrypted(path(QStringLiteral("plain.pdf")), path(QStringLiteral("locked.pdf"))));
    PdfFixture none;
    QVERIFY(none.write(path(QStringLiteral("nopages.pdf"))));
    QVERIFY(writeFile(path(QStringLiteral("garbage.pdf")), "%PDF-1.4\n" + QByteArray(4000, '\x9c')));

    const QStringList before = workFolders();
    auto op = runImport(path(name), QStringLiteral("ALL"), true, true);
    QVERIFY(op->isFinished());
    QVERIFY(!op->flashPageSource());
    QVERIFY2(op->errorString().startsWith(QStringLiteral("Cannot open %1: ").arg(name)), qPrintable(op->errorString()));
    QVERIFY2(op->errorString().contains(reason), qPrintable(op->errorString()));
    QCOMPARE(workFolders(), before);
  }

  void queueRunsAndCancelsOperations() {
    PdfFixture pdf(2);
    QVERIFY(pdf.write(path(QStringLiteral("queue.pdf"))));
    OperationQueue queue;
    // Cancelled before the queue starts it: nothing is done, it still finishes.
    auto early =
        std::make_shared<ImportPDFOperation>(path(QStringLiteral("queue.pdf")), QStringLiteral("ALL"), 144, 85);
    early->cancel();
    auto normal =
        std::make_shared<ImportPDFOperation>(path(QStringLiteral("queue.pdf")), QStringLiteral("ALL"), 144, 85);
    QSignalSpy finished(normal.get(), &Operation::finished);
    queue.addOperation(early);
    queue.addOperation(normal);
    queue.waitUntilAllOperationsAreFinished();
    QVERIFY(early->isFinished() && early->isCancelled());
    QVERIFY(!early->flashPageSource());
    QVERIFY(normal->isFinished() && !normal->isCancelled());
    QCOMPARE(normal->flashPageSource()->pages().size(), size_t(2));
    QTRY_COMPARE(finished.count(), 1);  // queued to this thread
    QCOMPARE(queue.operationCount(), 0);
  }

  void cancelMidwayLeavesNothing() {
    PdfFixture pdf(300);
    QVERIFY(pdf.write(path(QStringLiteral("long.pdf"))));
    const QStringList before = workFolders();
    OperationQueue queue;
    auto op = std::make_shared<ImportPDFOperation>(path(QStringLiteral("long.pdf")), QStringLiteral("ALL"), 144, 85);
    op->setImportLinks(true);
    op->setImportBookmarks(true);
    ProgressRecorder progress;
    progress.onPost = [&](const Progress&) {
      if (!op->isCancelled()) queue.cancelAllOperations();
    };
    queue.addOperation(op);
    QTRY_VERIFY_WITH_TIMEOUT(op->isFinished(), 60000);
    QCoreApplication::processEvents();
    QVERIFY(op->isCancelled());
    QVERIFY(!op->flashPageSource());
    QVERIFY(!op->flashPagesAnnotation());
    QVERIFY(!op->flashOutline());
    QVERIFY(!progress.posts.isEmpty());
    QVERIFY2(progress.posts.size() < 300, qPrintable(QString::number(progress.posts.size())));
    for (const Progress& p : progress.posts) QCOMPARE(p.type, QStringLiteral("geneatePage"));
    QCOMPARE(workFolders(), before);
  }
};

FOLIVOX_TEST_MAIN(TestImportOperation)
#include "test_import_operation.moc"
