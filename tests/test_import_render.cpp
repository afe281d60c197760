// Importing a PDF: which pages are rendered, their pictures, thumbnails, zoom pages and labels.

#include <QDir>
#include <QDirIterator>

#include "ImportFixture.h"
#include "PdfFixture.h"
#include "TestEnv.h"
#include "base/PlatformPaths.h"
#include "import/FlashPageSourcePDF.h"
#include "import/ImportError.h"
#include "import/PDFToPageConverter.h"
#include "import/PageText.h"
#include "import/PdfPageLabels.h"
#include "import/RgbDownscale.h"

class TestImportRender : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  QString path(const QString& name) const { return m_dir.filePath(name); }

 private Q_SLOTS:
  void renderAllPages() {
    PdfFixture pdf(3);
    QVERIFY(pdf.write(path(QStringLiteral("three.pdf"))));
    ProgressRecorder progress;
    FlashPageSourcePDF source(path(QStringLiteral("three.pdf")), QStringLiteral("ALL"), 144, 85, 2);
    source.generatePages();
    source.generateNormalPages();

    const QString folder = source.toPageConverter()->converterWorkFolder();
    QCOMPARE(QFileInfo(folder).dir().path(), PlatformPaths::current().tmpRoot);
    QVERIFY(QFileInfo(folder).fileName().startsWith(QStringLiteral("Quireon-")));
    QCOMPARE(source.pages().size(), size_t(3));
    QCOMPARE(source.normalPages().size(), size_t(3));
    for (int i = 0; i < 3; ++i) {
      const FlashPagePtr& p = source.pages()[static_cast<size_t>(i)];
      QCOMPARE(p->pageIndex(), i + 1);
      QCOMPARE(p->pageFilePath(), QDir(folder).filePath(QStringLiteral("%1.jpg").arg(i + 1)));
      QCOMPARE(jpegSize(p->pageFilePath()), QSize(1224, 1584));
      const FlashPagePtr& n = source.normalPages()[static_cast<size_t>(i)];
      QVERIFY(n != p);
      QCOMPARE(n->pageIndex(), p->pageIndex());
      QCOMPARE(n->pageFilePath(), p->pageFilePath());
    }
    verifyProgress(progress.posts, 3);
  }

  void rangeSelectsPages() {
    PdfFixture pdf(5);
    QVERIFY(pdf.write(path(QStringLiteral("five.pdf"))));
    {
      ProgressRecorder progress;
      FlashPageSourcePDF source(path(QStringLiteral("five.pdf")), QStringLiteral("2,3"), 144, 85);
      source.generatePages();
      source.generateNormalPages();
      QCOMPARE(source.pages().size(), size_t(2));
      QCOMPARE(source.pages()[0]->pageIndex(), 2);
      QCOMPARE(source.pages()[1]->pageIndex(), 3);
      QVERIFY(source.pages()[1]->pageFilePath().endsWith(QStringLiteral("/3.jpg")));
      verifyProgress(progress.posts, 2);
    }
    {
      // Numbers outside the document are dropped, with one warning that names them.
      FlashPageSourcePDF source(path(QStringLiteral("five.pdf")), QStringLiteral("0,4,9"), 144, 85);
      QCOMPARE(source.needToImportPages(), QList<qint32>{4});
      QCOMPARE(source.warnings(),
               QStringList{QStringLiteral("Pages 0, 9 are not in five.pdf (5 pages) and were skipped.")});
    }
    {
      // A range that runs past the end is one warning, not one per page.
      FlashPageSourcePDF source(path(QStringLiteral("five.pdf")), QStringLiteral("4-80"), 144, 85);
      QCOMPARE(source.needToImportPages(), (QList<qint32>{4, 5}));
      QCOMPARE(source.warnings(),
               QStringList{QStringLiteral("Pages 6-80 are not in five.pdf (5 pages) and were skipped.")});
      FlashPageSourcePDF one(path(QStringLiteral("five.pdf")), QStringLiteral("6"), 144, 85);
      QCOMPARE(one.warnings(), QStringList{QStringLiteral("Page 6 is not in five.pdf (5 pages) and was skipped.")});
    }
    {
      FlashPageSourcePDF source(path(QStringLiteral("five.pdf")), QStringLiteral("8"), 144, 85);
      try {
        source.generatePages();
        QFAIL("a range without pages must fail");
      } catch (const ImportError& e) {
        QVERIFY2(e.reason().contains(QStringLiteral("selects no page")), qPrintable(e.reason()));
      }
    }
  }

  void pictureSizeAndQuality() {
    PdfFixture pdf;
    pdf.addPage().mediaBox = "[0 0 609.714 789.041]";
    pdf.addPage().extra = "/Rotate 90";
    // A busy page, so that the quality shows in the file size.
    QByteArray busy;
    for (int i = 0; i < 40; ++i)
      busy += QByteArray::number((i * 37) % 100 / 100.0) + " " + QByteArray::number((i * 53) % 100 / 100.0) +
              " 0.5 rg " + QByteArray::number(i * 15) + " " + QByteArray::number(i * 19) + " 300 200 re f " +
              "0 g BT /F1 " + QByteArray::number(8 + i % 20) + " Tf 20 " + QByteArray::number(i * 19) +
              " Td (Quality matters " + QByteArray::number(i) + ") Tj ET ";
    pdf.addPage().content = busy;
    QVERIFY(pdf.write(path(QStringLiteral("sizes.pdf"))));

    FlashPageSourcePDF best(path(QStringLiteral("sizes.pdf")), QStringLiteral("ALL"), 144, 100);
    best.generatePages();
    QCOMPARE(jpegSize(best.pages()[0]->pageFilePath()), QSize(1220, 1579));
    QCOMPARE(jpegSize(best.pages()[1]->pageFilePath()), QSize(1584, 1224));
    FlashPageSourcePDF low(path(QStringLiteral("sizes.pdf")), QStringLiteral("3"), 144, 25);
    low.generatePages();
    const qint64 high = QFileInfo(best.pages()[2]->pageFilePath()).size();
    const qint64 small = QFileInfo(low.pages()[0]->pageFilePath()).size();
    QVERIFY2(small * 2 < high, qPrintable(QStringLiteral("%1 vs %2").arg(small).arg(high)));

    // A poster-sized page is drawn smaller rather than costing gigabytes.
    PdfFixture poster(1);
    poster.page(0).mediaBox = "[0 0 14400 14400]";
    QVERIFY(poster.write(path(QStringLiteral("poster.pdf"))));
    FlashPageSourcePDF big(path(QStringLiteral("poster.pdf")), QStringLiteral("ALL"), 144, 25);
    big.generatePages();
    const QSize size = jpegSize(big.pages()[0]->pageFilePath());
    QVERIFY(size.width() == size.height() && size.width() > 5000);
    QVERIFY(qint64(size.width()) * size.height() < 40'100'000);  // the cap, give or take rounding
    QVERIFY(big.warnings().join(' ').contains(QStringLiteral("Page 1 is very large")));
  }

  void zoomPicturesThumbnailsLabelsAndTitle() {
    PdfFixture pdf(6);
    // Labels in a tree whose kids loop back to the root.
    const int root = pdf.reserve();
    const int kid =
        pdf.add("<< /Nums [2 << /S /D >> 4 << /P (A-) /S /D /St 1 >>] /Kids [" + PdfFixture::ref(root) + "] >>");
    pdf.set(root, "<< /Nums [0 << /S /r >>] /Kids [" + PdfFixture::ref(kid) + "] >>");
    pdf.catalogExtra = "/PageLabels " + PdfFixture::ref(root);
    QByteArray fixed = pdf.build();
    fixed.replace("trailer\n<<", "trailer\n<< /Info << /Title (  Annual\nReport \001 2024 ) >>");
    QVERIFY(writeFile(path(QStringLiteral("extras.pdf")), fixed));

    auto op = runImport(path(QStringLiteral("extras.pdf")));  // zoom pictures and text are on by default
    const std::shared_ptr<FlashPageSourcePDF> pages = op->flashPageSource();
    QVERIFY2(pages, qPrintable(op->errorString()));
    QCOMPARE(pages->documentTitle(), QStringLiteral("Annual Report 2024"));
    QVERIFY(pages->hasPageLabels());
    QStringList labels;
    for (int n = 1; n <= 6; ++n) labels << pages->pageLabel(n);
    QCOMPARE(labels, (QStringList{"i", "ii", "1", "2", "A-1", "A-2"}));
    QCOMPARE(pages->zoomedPages().size(), size_t(6));
    QCOMPARE(pages->thumbPages().size(), size_t(6));
    QCOMPARE(jpegSize(pages->getZoomedPageAtIndex(3)->pageFilePath()), QSize(2448, 3168));
    QCOMPARE(jpegSize(pages->getThumbPageAtIndex(3)->pageFilePath()), QSize(200, 259));
    QVERIFY(pages->hasPageText(3));

    // Without zoom pictures and text: thumbnails only; a document without labels has none.
    PdfFixture plain(2);
    QVERIFY(plain.write(path(QStringLiteral("plain.pdf"))));
    auto bare = std::make_shared<ImportPDFOperation>(path(QStringLiteral("plain.pdf")), QStringLiteral("ALL"), 144, 85);
    bare->setZoomPictures(false);
    bare->setImportText(false);
    bare->start();
    QVERIFY(bare->flashPageSource());
    QVERIFY(bare->flashPageSource()->zoomedPages().empty());
    QCOMPARE(bare->flashPageSource()->thumbPages().size(), size_t(2));
    QVERIFY(!bare->flashPageSource()->hasPageText(1));
    QVERIFY(!bare->flashPageSource()->hasPageLabels());
    QCOMPARE(bare->flashPageSource()->documentTitle(), QString());

    QCOMPARE(PdfPageLabels::number('R', 1994), QStringLiteral("MCMXCIV"));
    QCOMPARE(PdfPageLabels::number('a', 27), QStringLiteral("aa"));
    QCOMPARE(PdfPageLabels::number('A', 52), QStringLiteral("ZZ"));
    // Numbers no numeral or letters can write sensibly fall back to digits.
    QCOMPARE(PdfPageLabels::number('r', 0), QStringLiteral("0"));
    QCOMPARE(PdfPageLabels::number('A', 2000000000), QStringLiteral("2000000000"));
    QCOMPARE(PdfPageLabels::number('R', 123456), QStringLiteral("123456"));
  }

  void thumbnailsAverageWhatTheyShrink() {
    // Left half black, right half white, one red row: blocks average, and no
    // block mixes the two halves.
    std::vector<unsigned char> rgb(12 * 12 * 3, 255);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 6; ++x) std::fill_n(&rgb[static_cast<size_t>((y * 12 + x) * 3)], 3, 0);
    const std::vector<unsigned char> small = downscaleRgb(rgb.data(), 12, 12, 36, 2, 2);
    QCOMPARE(small, (std::vector<unsigned char>{0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255}));
    // A page of extreme shape: blocks taller than 16-bit sums could hold.
    const std::vector<unsigned char> tall(1 * 3000 * 3, 100);
    QCOMPARE(downscaleRgb(tall.data(), 1, 3000, 3, 1, 2), (std::vector<unsigned char>{100, 100, 100, 100, 100, 100}));
  }

  void undrawablePageBecomesBlank() {
    PdfFixture pdf(3);
    const int image = pdf.add(
        "<< /Type /XObject /Subtype /Image /Width 100000 /Height 100000 /ColorSpace /DeviceRGB "
        "/BitsPerComponent 8 /Length 3 >>\nstream\nabc\nendstream");
    pdf.page(1).mediaBox = "[0 0 300 400]";
    pdf.page(1).content = "q 300 0 0 400 0 0 cm /Im Do Q";
    pdf.page(1).extra = "/Resources << /XObject << /Im " + PdfFixture::ref(image) + " >> >>";
    QVERIFY(pdf.write(path(QStringLiteral("undrawable.pdf"))));
    auto op = runImport(path(QStringLiteral("undrawable.pdf")));
    QVERIFY2(op->flashPageSource(), qPrintable(op->errorString()));
    const FlashPageList& pages = op->flashPageSource()->pages();
    QCOMPARE(pages.size(), size_t(3));
    QImage blank(pages[1]->pageFilePath());
    QCOMPARE(blank.size(), QSize(600, 800));
    QCOMPARE(blank.pixelColor(300, 400), QColor(Qt::white));
    QCOMPARE(op->warnings().size(), 1);
    QVERIFY2(op->warnings()[0].startsWith(QStringLiteral("Page 2 could not be drawn")), qPrintable(op->warnings()[0]));
  }
};

FOLIVOX_TEST_MAIN(TestImportRender)
#include "test_import_render.moc"
