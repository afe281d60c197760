// PDF import: rendering, the import operation and its queue, links, bookmarks.
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImageReader>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSignalSpy>
#include <cstring>
#include <functional>
#include <sstream>

#include "PdfFixture.h"
#include "TestEnv.h"
#include "base/DataScript.h"
#include "base/NotificationCenter.h"
#include "base/PlatformPaths.h"
#include "import/FlashOutlineError.h"
#include "import/FlashOutlinePDF.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/ImportError.h"
#include "import/ImportPDFOperation.h"
#include "import/MuPdfDocument.h"
#include "import/OperationQueue.h"
#include "import/PDFToPageConverter.h"
#include "import/PageText.h"
#include "import/RgbDownscale.h"
#include "import/PdfPageLabels.h"
#include "publish/BookTextReader.h"

namespace {

struct Progress {
  int pageIndex;
  int totalPage;
  QString type;
};

// Records ImportProgressInfoMSG posts while it lives.
class ProgressRecorder : public QObject {
 public:
  ProgressRecorder() {
    NotificationCenter::defaultCenter().addObserver(this, ImportProgressInfoMSG, [this](const Notification& n) {
      posts.append({n.userInfo.value(QStringLiteral("pageIndex")).toInt(),
                    n.userInfo.value(QStringLiteral("totalPage")).toInt(),
                    n.userInfo.value(QStringLiteral("type")).toString()});
      if (onPost) onPost(posts.last());
    });
  }
  ~ProgressRecorder() override { NotificationCenter::defaultCenter().removeObserver(this); }
  QList<Progress> posts;
  std::function<void(const Progress&)> onPost;
};

// Expected posts for N pages: 1..N "generatePage", then 1..N "generateNormalPage".
void verifyProgress(const QList<Progress>& posts, int n) {
  QCOMPARE(posts.size(), 2 * n);
  for (int i = 0; i < 2 * n; ++i) {
    QCOMPARE(posts[i].pageIndex, i % n + 1);
    QCOMPARE(posts[i].totalPage, n);
    QCOMPARE(posts[i].type, i < n ? QStringLiteral("generatePage") : QStringLiteral("generateNormalPage"));
  }
}

QSize jpegSize(const QString& path) {
  QImageReader reader(path, "jpeg");
  return reader.size();
}

QString xml(const pugi::xml_node& node) {
  std::ostringstream out;
  node.print(out, "", pugi::format_raw);
  return QString::fromStdString(out.str());
}

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

// Where MuPDF draws dark pixels on page `index`, as fractions of the picture.
QRectF inkBox(const MuPdfDocument& doc, int index, QSize* pictureSize = nullptr) {
  QRectF box;
  doc.render(index, 2.0f, [&](const unsigned char* rgb, int w, int h, int stride) {
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
      const unsigned char* p = rgb + static_cast<ptrdiff_t>(y) * stride;
      for (int x = 0; x < w; ++x, p += 3) {
        if (p[0] + p[1] + p[2] >= 3 * 128) continue;
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
    }
    if (x1 >= 0) box = QRectF(double(x0) / w, double(y0) / h, double(x1 + 1 - x0) / w, double(y1 + 1 - y0) / h);
    if (pictureSize) *pictureSize = QSize(w, h);
  });
  return box;
}

// The words of page `number` as the import wrote them for the book, each
// [text, x, y, w, h, flags].
QList<QVariantList> pageWords(const FlashPageSource& source, qint32 number) {
  QList<QVariantList> words;
  qint32 n = 0;
  const std::optional<QJsonObject> payload = DataScript::payload(source.pageTextScript(number), "text", &n);
  if (!payload || n != number) return words;
  for (const QJsonValue& w : payload->value(QStringLiteral("w")).toArray()) words << w.toArray().toVariantList();
  return words;
}

// Attributes of the location element of an anno, as written.
QStringList location(const pugi::xml_node& anno) {
  const pugi::xml_node l = anno.child("location");
  return {l.attribute("x").value(), l.attribute("y").value(), l.attribute("width").value(),
          l.attribute("height").value()};
}

QList<pugi::xml_node> annos(const pugi::xml_node& pageAnnos) {
  QList<pugi::xml_node> list;
  for (pugi::xml_node a = pageAnnos.child("anno"); a; a = a.next_sibling("anno")) list << a;
  return list;
}

}  // namespace

class TestImport : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  QString path(const QString& name) const { return m_dir.filePath(name); }

  // A document whose pages have links of every form; see linkKinds().
  QString linksDocument() {
    const QString file = path(QStringLiteral("links.pdf"));
    if (QFile::exists(file)) return file;
    PdfFixture pdf;
    for (int i = 0; i < 7; ++i) pdf.addPage().mediaBox = "[0 0 600 800]";
    const QByteArray rect = "/Rect [100 700 300 720]";
    auto link = [&](const QByteArray& body) { return pdf.add("<< /Type /Annot /Subtype /Link " + body + " >>"); };
    QByteArray first;
    for (const QByteArray& body : QList<QByteArray>{
             rect + " /A << /S /URI /URI (http://example.com/a) >>",
             "/Rect [10 10 20 20] /Dest [" + pdf.pageRef(4) + " /XYZ 0 0 0]",
             "/Rect [10 10 20 20] /Dest /Chap3",
             "/Rect [10 10 20 20] /Dest (sec.4)",
             "/Rect [10 10 20 20] /A << /S /GoTo /D (sec.2) >>",
             "/Rect [10 10 20 20] /A << /S /GoToR /F (other.pdf) /D [0 /Fit] >>",
             "/Rect [10 10 20 20] /A << /S /Named /N /NextPage >>",
             "/Rect [10 10 20 20] /A << /S /URI /URI (http://example.com/a b\001c\"d) >>",
             "/Rect [10 10 20 20] /A << /S /URI /URI (http://example.com/both) >> /Dest [" + pdf.pageRef(2) + " /Fit]",
             "/Rect [10 10 20 20] /Dest (no.such.name)",
             "/Rect [10 10 20 20] /A << /S /URI /URI (page.html) >>",
         })
      first += PdfFixture::ref(link(body)) + " ";
    first += PdfFixture::ref(pdf.add("<< /Type /Annot /Subtype /Text /Rect [0 0 10 10] /Contents (note) >>"));
    pdf.page(0).extra = "/Rotate 0 /Annots [" + first + "]";
    // The same web link on pages rotated in every way, and on an offset crop box.
    const QList<QByteArray> pageExtra = {"/Rotate 180", "/Rotate 90", "/Rotate -90", "/Rotate 450", "/Rotate 45",
                                         "/Rotate 0 /CropBox [50 100 650 900]"};
    for (int i = 1; i < 7; ++i) {
      const QByteArray r = i == 6 ? "/Rect [150 800 350 820]" : rect;
      pdf.page(i).extra = pageExtra[i - 1] + " /Annots [" +
                          PdfFixture::ref(link(r + " /A << /S /URI /URI (http://example.com/p) >>")) + "]";
    }
    pdf.page(6).mediaBox = "[0 0 700 1000]";
    // Named destinations: the old /Dests dictionary, and a name tree with
    // kids, a << /D >> wrapper and a loop back to its root.
    const int tree = pdf.reserve();
    const int kid1 = pdf.add("<< /Limits [(a) (m)] /Names [(sec.2) [" + pdf.pageRef(1) + " /Fit]] >>");
    const int kid2 = pdf.add("<< /Limits [(n) (z)] /Names [(sec.4) << /D [" + pdf.pageRef(3) + " /Fit] >>] >>");
    const int loop = pdf.add("<< /Kids [" + PdfFixture::ref(tree) + "] >>");
    pdf.set(tree, "<< /Kids [" + PdfFixture::ref(kid1) + " " + PdfFixture::ref(kid2) + " " + PdfFixture::ref(loop) + "] >>");
    pdf.catalogExtra = "/Dests << /Chap3 [" + pdf.pageRef(2) + " /Fit] >> /Names << /Dests " + PdfFixture::ref(tree) +
                       " >> /URI << /Base (http://base.example/docs/) >>";
    pdf.write(file);
    return file;
  }

  std::shared_ptr<ImportPDFOperation> runImport(const QString& file, const QString& range = QStringLiteral("ALL"),
                                                bool links = false, bool bookmarks = false) {
    auto op = std::make_shared<ImportPDFOperation>(file, range, 144, 85);
    op->setImportLinks(links);
    op->setImportBookmarks(bookmarks);
    op->start();
    return op;
  }

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
    const int kid = pdf.add("<< /Nums [2 << /S /D >> 4 << /P (A-) /S /D /St 1 >>] /Kids [" + PdfFixture::ref(root) + "] >>");
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
                                        [](const Progress& p) { return p.type == QStringLiteral("generatePage"); });
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
    QTest::newRow("missing") << "missing.pdf" << "the file does not exist";
    QTest::newRow("empty") << "empty.pdf" << "the file is empty";
    QTest::newRow("not a pdf") << "text.pdf" << "it is not a PDF document";
    QTest::newRow("password") << "locked.pdf" << "protected by a password";
    QTest::newRow("no pages") << "nopages.pdf" << "the document has no pages";
    QTest::newRow("garbage after header") << "garbage.pdf" << "Cannot open garbage.pdf:";
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
    auto early = std::make_shared<ImportPDFOperation>(path(QStringLiteral("queue.pdf")), QStringLiteral("ALL"), 144, 85);
    early->cancel();
    auto normal = std::make_shared<ImportPDFOperation>(path(QStringLiteral("queue.pdf")), QStringLiteral("ALL"), 144, 85);
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
    for (const Progress& p : progress.posts) QCOMPARE(p.type, QStringLiteral("generatePage"));
    QCOMPARE(workFolders(), before);
  }

  void linkAreasLieWhereMuPdfDrawsThem() {
    // Each page paints its link's rectangle black and nothing else, so the
    // area in book.xml must cover exactly the ink of the picture.
    struct Case {
      QByteArray extra;
      QByteArray mediaBox;
      QByteArray rect;  // x y w h in the page's own coordinates
    };
    const QList<Case> cases = {
        {"/Rotate 0", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate 90", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate 180", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate 270", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate -90", "[0 0 600 800]", "30 40 50 300"},
        {"/Rotate 450", "[0 0 600 800]", "30 40 50 300"},
        {"/Rotate 45", "[0 0 600 800]", "30 40 50 300"},    // drawn as 90
        {"/Rotate 150", "[0 0 600 800]", "30 40 50 300"},   // drawn as 180
        {"/CropBox [50 100 650 900]", "[0 0 700 1000]", "150 800 200 20"},
        {"/Rotate 90 /CropBox [50 100 650 900]", "[0 0 700 1000]", "150 800 200 20"},
        {"/Rotate 270 /CropBox [50 100 650 900]", "[0 0 700 1000]", "60 120 40 30"},
    };
    PdfFixture pdf;
    for (const Case& c : cases) {
      const QList<QByteArray> r = c.rect.split(' ');
      const QByteArray rect = r[0] + " " + r[1] + " " + QByteArray::number(r[0].toDouble() + r[2].toDouble()) + " " +
                              QByteArray::number(r[1].toDouble() + r[3].toDouble());
      PdfFixture::Page& page = pdf.addPage();
      page.mediaBox = c.mediaBox;
      page.content = "0 g " + c.rect + " re f";
      page.extra = c.extra + " /Annots [<< /Type /Annot /Subtype /Link /Rect [" + rect +
                   "] /A << /S /URI /URI (http://example.com/) >> >>]";
    }
    QVERIFY(pdf.write(path(QStringLiteral("geometry.pdf"))));
    const std::shared_ptr<MuPdfDocument> doc = MuPdfDocument::open(path(QStringLiteral("geometry.pdf")));
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(doc, QStringLiteral("ALL"));
    QList<pugi::xml_node> pages;
    for (pugi::xml_node p = links.pagesAnnotationsNode().child("pageAnnos"); p; p = p.next_sibling("pageAnnos")) pages << p;
    QCOMPARE(pages.size(), cases.size());

    // Unrotated pages are as before, to the digit.
    QCOMPARE(location(annos(pages[0])[0]), (QStringList{"0.166667", "0.100000", "0.333333", "0.025000"}));
    for (int i = 0; i < cases.size(); ++i) {
      const QStringList l = location(annos(pages[i])[0]);
      const QRectF area(l[0].toDouble(), l[1].toDouble(), l[2].toDouble(), l[3].toDouble());
      QSize picture;
      const QRectF ink = inkBox(*doc, i, &picture);
      // Within a pixel and a half of the picture on every side.
      const double dx = 1.5 / picture.width(), dy = 1.5 / picture.height();
      QVERIFY2(qAbs(area.left() - ink.left()) <= dx && qAbs(area.right() - ink.right()) <= dx &&
                   qAbs(area.top() - ink.top()) <= dy && qAbs(area.bottom() - ink.bottom()) <= dy,
               qPrintable(QStringLiteral("%1: area %2 %3 %4 %5, ink %6 %7 %8 %9")
                              .arg(QString::fromLatin1(cases[i].extra))
                              .arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())
                              .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    }
  }

  void wordBoxesLieOverTheirWords() {
    // One word per page, on pages turned every way and cropped off-centre:
    // its box must hold the ink MuPDF draws for it, and not much more.
    const QList<QByteArray> extras = {"",
                                      "/Rotate 90",
                                      "/Rotate 180",
                                      "/Rotate 270",
                                      "/CropBox [50 100 650 900]",
                                      "/Rotate 90 /CropBox [50 100 650 900]"};
    PdfFixture pdf;
    for (const QByteArray& extra : extras) {
      PdfFixture::Page& page = pdf.addPage();
      page.mediaBox = "[0 0 700 1000]";
      page.content = "BT /F1 36 Tf 150 600 Td (Hello) Tj ET";
      page.extra = extra;
    }
    QVERIFY(pdf.write(path(QStringLiteral("words.pdf"))));
    FlashPageSourcePDF source(path(QStringLiteral("words.pdf")), QStringLiteral("ALL"), 144, 85);
    source.setTakeText(true);
    source.generatePages();
    for (int i = 0; i < extras.size(); ++i) {
      const QList<QVariantList> words = pageWords(source, i + 1);
      QCOMPARE(words.size(), 1);
      QCOMPARE(words[0][0].toString(), QStringLiteral("Hello"));
      const QRectF box(words[0][1].toDouble(), words[0][2].toDouble(), words[0][3].toDouble(), words[0][4].toDouble());
      QSize picture;
      const QRectF ink = inkBox(*source.PDFDoc(), i, &picture);
      const QRectF slack = box.adjusted(-2.0 / picture.width(), -2.0 / picture.height(), 2.0 / picture.width(),
                                        2.0 / picture.height());
      const QString why = QStringLiteral("%1: box %2 %3 %4 %5, ink %6 %7 %8 %9")
                              .arg(QString::fromLatin1(extras[i]))
                              .arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())
                              .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height());
      QVERIFY2(slack.contains(ink), qPrintable(why));
      QVERIFY2(box.width() * box.height() < 2.5 * ink.width() * ink.height(), qPrintable(why));
      // The text runs as many quarter turns clockwise as the page is turned.
      const int turns = extras[i].startsWith("/Rotate ") ? extras[i].mid(8).split(' ')[0].toInt() / 90 : 0;
      QCOMPARE(words[0][5].toInt() >> PageText::kDirectionShift & 3, turns);
      QCOMPARE(words[0][5].toInt() & (PageText::kLineEnd | PageText::kBlockEnd), PageText::kLineEnd | PageText::kBlockEnd);
    }
  }

  void pageTextIsCleanedForSearch() {
    PageText t(QRectF(0, 0, 200, 100));
    double y = 0;
    auto line = [&](const QString& text) {
      t.beginLine(1, 0);
      double x = 0;
      for (char32_t c : text.toUcs4()) {
        t.addChar(c, QRectF(x, y, 5, 8));
        x += 5;
      }
      t.endLine();
      y += 10;
    };
    line(QStringLiteral("\uFB01ne \uFB02ow co\u00ADoper\u00ADate a\u0001b\u007Fc\uFFFEd \U0001F600 \"q\\\u2028"));
    line(QStringLiteral("an exam-"));
    line(QStringLiteral("ple Jean-"));
    line(QStringLiteral("Paul hyphen\u00AD"));
    line(QStringLiteral("ation 2-"));
    line(QStringLiteral("3 end-"));
    t.endBlock();
    t.addChar('x', QRectF(500, 500, 5, 8));  // off the page: not seen, not found
    t.beginLine(0, 1);
    for (int i = 0; i < 600; ++i) t.addChar('w', QRectF(0, 90, 1, 8));
    t.endBlock();

    QStringList texts;
    for (const PageText::Word& w : t.words()) texts << w.text;
    QCOMPARE(texts, (QStringList{"fine", "flow", "cooperate", "abcd", "\U0001F600", "\"q\\", "an", "exam-", "ple",
                                 "Jean-", "Paul", "hyphen", "ation", "2-", "3", "end-", QString(512, 'w'),
                                 QString(88, 'w')}));
    auto flags = [&](int i) { return t.words()[i].flags; };
    QCOMPARE(flags(7), PageText::kLineEnd | PageText::kHyphenated);  // exam- goes on in "ple"
    QCOMPARE(flags(9), PageText::kLineEnd);                          // Jean- is followed by a name
    QCOMPARE(flags(11), PageText::kLineEnd | PageText::kHyphenated); // soft hyphen at the line's end
    QCOMPARE(flags(13), PageText::kLineEnd);                         // 2- 3 is no word
    QCOMPARE(flags(15), PageText::kLineEnd | PageText::kBlockEnd);   // nothing to go on in
    QCOMPARE(flags(16), 1 << PageText::kDirectionShift);             // top to bottom
    QCOMPARE(t.words()[6].box, QRectF(0, 0.1, 0.05, 0.08));          // fractions of the page

    // The page's script and its search entry agree word for word.
    qint32 number = 0;
    const std::optional<QJsonObject> script = DataScript::payload(t.textScript(7), "text", &number);
    QVERIFY(script);
    QCOMPARE(number, 7);
    const QJsonArray w = script->value(QStringLiteral("w")).toArray();
    QCOMPARE(w.size(), texts.size());
    for (int i = 0; i < w.size(); ++i) QCOMPARE(w[i].toArray()[0].toString(), texts[i]);
    const std::optional<BookTextReader::Page> entry = BookTextReader::entry(t.searchEntry(7));
    QVERIFY(entry);
    QCOMPARE(entry->text.split(QRegularExpression(QStringLiteral("[ \n]"))), texts);
    QCOMPARE(entry->hyphenated, (QList<qint32>{7, 11}));
    QVERIFY(BookTextReader::searchableText(*entry).contains(QStringLiteral("an example Jean- Paul hyphenation 2- 3")));
    // Line ends a script cannot hold in a string are escaped.
    QCOMPARE(DataScript::quoted(QStringLiteral("a\u2028\u2029\"\\\n\u00e9")), QByteArray("\"a\\u2028\\u2029\\\"\\\\\\n\xc3\xa9\""));

    // A page of hostile size keeps a bounded number of words.
    PageText big;
    big.beginLine(1, 0);
    for (qsizetype i = 0; i < PageText::kMaxWords + 10; ++i) {
      big.addChar('a', QRectF(0, 0, 0.1, 0.1));
      big.addChar(' ', QRectF());
    }
    big.endBlock();
    QCOMPARE(big.words().size(), PageText::kMaxWords);
    QVERIFY(big.truncated());
  }

  void pageTextGroupsLinesByBaseline() {
    // Characters 5 wide at a 10-point font; a word's place is given by its first letter.
    PageText t(QRectF(0, 0, 400, 200));
    auto piece = [&](const QString& words, double x, double baseline, double gap = 5, double size = 10) {
      t.beginLine(1, 0);
      for (char32_t c : words.toUcs4()) {
        t.addChar(c, QRectF(x, baseline - 8, 5, 10), size, QPointF(x, baseline));
        x += c == ' ' ? gap : 5;
      }
      t.endLine();
    };
    // A justified line that MuPDF cut at its wide gaps, one piece a little off the baseline.
    piece(QStringLiteral("The"), 0, 20);
    piece(QStringLiteral("quick"), 60, 20.4);
    piece(QStringLiteral("brown fox"), 120, 20);
    piece(QStringLiteral("jumps"), 0, 32);
    t.endBlock();
    // A contents entry whose page number came first.
    piece(QStringLiteral(". . . . 12"), 200, 60, 1.5);  // dot leaders as close as letter spacing
    piece(QStringLiteral("Chapter one"), 0, 60);
    t.endBlock();
    // Letter-spaced text: letters 1.5 apart, words 4.5; then one-letter words 3 apart, which stay.
    piece(QStringLiteral("s h e   s n a r f e d   i n"), 0, 90, 1.5);
    piece(QStringLiteral("a b c"), 0, 110, 3);
    t.beginLine(1, 0);
    t.addChar('H', QRectF(0, 130, 20, 24), 24, QPointF(0, 150));
    t.addChar('i', QRectF(20, 130, 10, 24), 24, QPointF(20, 150));
    t.endBlock();

    QCOMPARE(t.joinedText(), QStringLiteral("The quick brown fox\njumps\nChapter one . . . . 12\nshe snarfed in\na b c\nHi"));
    QCOMPARE(t.words()[0].size, 10.0);
    // The words in the script carry their font sizes, from the word where a size starts.
    const std::optional<QJsonObject> script = DataScript::payload(t.textScript(3), "text");
    QVERIFY(script);
    const qsizetype hi = t.words().size() - 1;
    QCOMPARE(script->value(QStringLiteral("fs")).toArray(), (QJsonArray{QJsonArray{0, 10}, QJsonArray{hi, 24}}));
    QCOMPARE(script->value(QStringLiteral("pt")).toArray(), (QJsonArray{400, 200}));
  }

  void linkKinds() {
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(MuPdfDocument::open(linksDocument()), QStringLiteral("1"));
    const QList<pugi::xml_node> list = annos(links.pagesAnnotationsNode().child("pageAnnos"));
    QStringList got;
    // The element names once per kind (a web link, then a page link); the player tests follow both end to end.
    for (const pugi::xml_node& a : {list[0], list[1]})
      QVERIFY2(xml(a).contains(QRegularExpression("^<anno annotype=\"com.velmora.flipbook.pageeditor.TAnnoLink\">"
                                                  "<action triggerEventType=\"mouseDown\"[^>]*>.*</action><location ")),
               qPrintable(xml(a)));
    for (const pugi::xml_node& a : list) {
      const pugi::xml_node action = a.first_child();
      const QString type = QString::fromUtf8(action.attribute("actionType").value());
      if (type.endsWith(QStringLiteral("TAnnoActionOpenURL")))
        got << QString::fromUtf8(action.child("url").text().get());
      else if (type.endsWith(QStringLiteral("TAnnoActionGotoPage")))
        got << QStringLiteral("page ") + QString::fromUtf8(action.child("pageIndex").text().get());
      else
        QFAIL(qPrintable(type));
    }
    // Explicit, /Dests, name tree with << /D >>, /GoTo by name; GoToR, Named,
    // a dangling name and the text note are skipped; a link with both an
    // address and a destination is a web link; relative addresses use /URI /Base.
    QCOMPARE(got, (QStringList{"http://example.com/a", "page 5", "page 3", "page 4", "page 2",
                               "http://example.com/a%20b%01c%22d", "http://example.com/both",
                               "http://base.example/docs/page.html"}));
  }

  void linkRangesKeepPositionsAndPdfNumbers() {
    const QString file = linksDocument();
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(MuPdfDocument::open(file), QStringLiteral("0,1,3-4,99"));
    const pugi::xml_node root = links.pagesAnnotationsNode();
    QStringList indexes;
    for (pugi::xml_node p = root.child("pageAnnos"); p; p = p.next_sibling("pageAnnos"))
      indexes << QString::fromUtf8(p.attribute("pageIndex").value());
    QCOMPARE(indexes, (QStringList{"1", "2", "3"}));  // PDF pages 1, 3, 4
    QCOMPARE(links.warnings().size(), 2);
    // A page link names the PDF page, whatever the range.
    QVERIFY(xml(root).contains(QStringLiteral("<pageIndex>5</pageIndex>")));

    // Without a document: no links, and no failure.
    FlashPagesAnnotationsPDF none;
    none.loadLinksFromPDF(nullptr, QStringLiteral("1-3"));
    QVERIFY(none.pagesAnnotationsNode());
    QVERIFY(!none.pagesAnnotationsNode().first_child());
  }

  void hostileLinksAreBounded() {
    PdfFixture pdf(1);
    QByteArray annots;
    const int one = pdf.add("<< /Type /Annot /Subtype /Link /Rect [1 1 2 2] /Dest [" + pdf.pageRef(0) + " /Fit] >>");
    for (int i = 0; i < 10000; ++i) annots += PdfFixture::ref(one) + " ";
    const QByteArray huge(100 * 1024, 'a');
    annots += PdfFixture::ref(pdf.add("<< /Subtype /Link /Rect [1 1 2 2] /A << /S /URI /URI (http://x/" + huge + ") >> >>"));
    const QByteArray longOk(2000, 'b');
    annots += " " + PdfFixture::ref(pdf.add("<< /Subtype /Link /Rect [1 1 2 2] /A << /S /URI /URI (http://x/" + longOk + ") >> >>"));
    pdf.page(0).extra = "/Annots [" + annots + "]";
    QVERIFY(pdf.write(path(QStringLiteral("hostile.pdf"))));

    QElapsedTimer timer;
    timer.start();
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(MuPdfDocument::open(path(QStringLiteral("hostile.pdf"))), QStringLiteral("ALL"));
    QVERIFY(timer.elapsed() < 10000);
    const QList<pugi::xml_node> list = annos(links.pagesAnnotationsNode().child("pageAnnos"));
    QCOMPARE(list.size(), 10001);
    QCOMPARE(QString::fromUtf8(list.last().child("action").child("url").text().get()), QStringLiteral("http://x/") + QString::fromLatin1(longOk));
    QCOMPARE(links.warnings().size(), 1);
    QVERIFY(links.warnings().first().contains(QStringLiteral("too long")));
  }

  void outlineFromPdf() {
    PdfFixture pdf(5);
    const int root = pdf.reserve(), ch1 = pdf.reserve(), ch2 = pdf.reserve();
    const int s1 = pdf.reserve(), s2 = pdf.reserve(), s3 = pdf.reserve();
    const auto r = &PdfFixture::ref;
    pdf.set(root, "<< /Type /Outlines /First " + r(ch1) + " /Last " + r(ch2) + " /Count 2 >>");
    pdf.set(ch1, "<< /Title (Intro) /Parent " + r(root) + " /Next " + r(ch2) + " /First " + r(s1) + " /Last " + r(s3) +
                     " /Dest [" + pdf.pageRef(0) + " /Fit] >>");
    pdf.set(s1, "<< /Title <FEFF0053007400E40072007400> /Parent " + r(ch1) + " /Next " + r(s2) +
                    " /A << /S /GoTo /D (sec.2) >> >>");
    pdf.set(s2, "<< /Parent " + r(ch1) + " /Next " + r(s3) + " /Dest [" + pdf.pageRef(2) + " /XYZ 0 0 0] >>");
    pdf.set(s3, "<< /Title (No target\001) /Parent " + r(ch1) + " /A << /S /URI /URI (http://x) >> >>");
    pdf.set(ch2, "<< /Title (Two) /Parent " + r(root) + " /Dest /Five >>");
    pdf.catalogExtra = "/Outlines " + r(root) + " /Dests << /Five [" + pdf.pageRef(4) + " /Fit] >> /Names << /Dests << /Names [(sec.2) << /D [" +
                       pdf.pageRef(1) + " /Fit] >>] >> >>";
    QVERIFY(pdf.write(path(QStringLiteral("outline.pdf"))));

    FlashOutlinePDF outline;
    outline.loadOutlineFromPDF(MuPdfDocument::open(path(QStringLiteral("outline.pdf"))));
    pugi::xml_document doc;
    outline.outlineAsXMLNode(doc.append_child("book"));
    QCOMPARE(xml(doc), QStringLiteral(
        "<book><ols>"
        "<o><c>Intro</c><p>1</p><l>1</l><ci>"
        "<o><c>Stärt</c><p>2</p><l>2</l><ci/></o>"
        "<o><c></c><p>3</p><l>2</l><ci/></o>"
        "<o><c>No target</c><p>0</p><l>2</l><ci/></o>"
        "</ci></o>"
        "<o><c>Two</c><p>5</p><l>1</l><ci/></o>"
        "</ols></book>"));
    const FlashOutlineItem* start = outline.items()[0]->childItems()[0].get();
    QCOMPARE(start->parent(), outline.items()[0].get());
    QCOMPARE(outline.items()[0]->parent(), nullptr);
  }

  void damagedOutlinesEnd() {
    PdfFixture pdf(1);
    const auto r = &PdfFixture::ref;
    // X -> Y -> X along /Next, and Y is its own first child.
    const int root = pdf.reserve(), x = pdf.reserve(), y = pdf.reserve();
    pdf.set(root, "<< /First " + r(x) + " >>");
    pdf.set(x, "<< /Title (X) /Next " + r(y) + " >>");
    pdf.set(y, "<< /Title (Y) /Next " + r(x) + " /First " + r(y) + " >>");
    // A chain of 100 levels, each the only child of the one before.
    QList<int> chain;
    for (int i = 0; i < 100; ++i) chain << pdf.reserve();
    for (int i = 0; i < 100; ++i)
      pdf.set(chain[i], "<< /Title (L" + QByteArray::number(i + 1) + ")" +
                            (i + 1 < 100 ? " /First " + r(chain[i + 1]) : QByteArray()) + " >>");
    const int deepRoot = pdf.add("<< /First " + r(chain[0]) + " >>");
    pdf.catalogExtra = "/Outlines " + r(root);
    QVERIFY(pdf.write(path(QStringLiteral("cycle.pdf"))));
    pdf.catalogExtra = "/Outlines " + r(deepRoot);
    QVERIFY(pdf.write(path(QStringLiteral("deep.pdf"))));

    FlashOutlinePDF cyclic;
    cyclic.loadOutlineFromPDF(MuPdfDocument::open(path(QStringLiteral("cycle.pdf"))));
    QCOMPARE(cyclic.items().size(), size_t(2));
    QCOMPARE(cyclic.items()[1]->caption(), QStringLiteral("Y"));
    QVERIFY(cyclic.items()[1]->childItems().empty());

    FlashOutlinePDF deep;
    deep.loadOutlineFromPDF(MuPdfDocument::open(path(QStringLiteral("deep.pdf"))));
    int depth = 0;
    for (const FlashOutlineItem* i = deep.items().empty() ? nullptr : deep.items()[0].get(); i;
         i = i->childItems().empty() ? nullptr : i->childItems()[0].get()) {
      ++depth;
      QCOMPARE(i->level(), depth);
    }
    QCOMPARE(depth, FlashOutlinePDF::kMaxDepth);
    QCOMPARE(deep.warnings().size(), 1);
  }

  void outlineXmlRoundTrip() {
    FlashOutline outline;
    FlashOutlineItems items;
    for (int c = 0; c < 2; ++c) {
      auto chapter = std::make_unique<FlashOutlineItem>();
      chapter->setCaption(QStringLiteral("Chapter <%1> & \"more\"").arg(c + 1));
      chapter->setPageIndex(c * 10 + 1);
      chapter->setLevel(1);
      for (int s = 0; c == 0 && s < 3; ++s) {
        auto section = std::make_unique<FlashOutlineItem>();
        section->setCaption(QStringLiteral("Section %1").arg(s + 1));
        section->setPageIndex(s + 2);
        section->setLevel(2);
        section->setParent(chapter.get());
        chapter->addChild(std::move(section));
      }
      items.push_back(std::move(chapter));
    }
    outline.setItems(std::move(items));
    pugi::xml_document doc;
    const pugi::xml_node ols = outline.outlineAsXMLNode(doc.append_child("book"));
    QCOMPARE(QString::fromUtf8(ols.name()), QStringLiteral("ols"));
    QVERIFY(outline.outlineAsXMLNode(doc.child("book")) != ols);  // a new element per call

    // A foreign element inside ci is ignored.
    ols.child("o").child("ci").append_child("x").append_child("o");
    FlashOutline back;
    back.loadFromXMLNode(ols);
    pugi::xml_document again;
    back.outlineAsXMLNode(again);
    ols.child("o").child("ci").remove_child("x");
    QCOMPARE(xml(again.child("ols")), xml(ols));
    QCOMPARE(back.items()[0]->childItems()[2]->parent(), back.items()[0].get());

    QVERIFY_THROWS_EXCEPTION(FlashOutlineError, back.loadFromXMLNode(ols.child("o")));  // an o is no outline
    QCOMPARE(back.items().size(), size_t(2));  // unchanged by the failure
    QVERIFY_THROWS_EXCEPTION(FlashOutlineError, FlashOutlineItem().loadItemFromXMLNode(ols));

    // A hostile element nested 5,000 levels deep is read to a bounded depth.
    QByteArray deep = "<ols>";
    for (int i = 0; i < 5000; ++i) deep += "<o><c>x</c><p>1</p><l>" + QByteArray::number(i + 1) + "</l><ci>";
    for (int i = 0; i < 5000; ++i) deep += "</ci></o>";
    deep += "</ols>";
    pugi::xml_document hostile;
    QVERIFY(hostile.load_buffer(deep.constData(), static_cast<size_t>(deep.size())));
    FlashOutline bounded;
    bounded.loadFromXMLNode(hostile.child("ols"));
    int depth = 0;
    for (const FlashOutlineItem* i = bounded.items()[0].get(); i;
         i = i->childItems().empty() ? nullptr : i->childItems()[0].get())
      ++depth;
    QCOMPARE(depth, FlashOutlineItem::kMaxDepth);
  }
};

FOLIVOX_TEST_MAIN(TestImport)
#include "test_import.moc"
