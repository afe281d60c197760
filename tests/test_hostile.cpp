// Hostile input as a user meets it: damaged and crafted documents, templates
// and settings files, a book folder that refuses to be written and a disk that
// fills up. For each: no crash or hang, a clear message or a logged skip, and
// no half-written book.bin, settings file or trust file; and another local
// user who tries to reach into our work.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QtEndian>
#include <mutex>
#include <pugixml.hpp>

#include "PdfFixture.h"
#include "TemplateFixture.h"
#include "base/HXCUtility.h"
#include "import/DocumentToPdf.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/ImportError.h"
#include "import/ImportPDFOperation.h"
#include "import/JpegHeader.h"
#include "import/MuPdfDocument.h"
#include "import/OperationQueue.h"
#include "import/PDFToPageConverter.h"
#include "import/PictureHeader.h"
#include "publish/BookBinReader.h"
#include "publish/BookIndexSection.h"
#include "publish/BookTextReader.h"
#include "publish/FlashBookOutput.h"
#include "publish/FlashBookOutputApp.h"
#include "session/BookSession.h"
#include "templates/FlashTemplate.h"

namespace {

// Every file below `root` (relative path -> bytes).
QMap<QString, QByteArray> snapshot(const QString& root) {
  QMap<QString, QByteArray> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    files.insert(QDir(root).relativeFilePath(path), readFile(path));
  }
  return files;
}

// Warnings and worse, as the log file would get them, while it lives.
class LogCapture {
 public:
  LogCapture() {
    const std::lock_guard<std::mutex> lock(s_mutex);
    s_lines.clear();
    m_previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      const std::lock_guard<std::mutex> lock(s_mutex);  // rendering threads log too
      if (type != QtDebugMsg && type != QtInfoMsg) s_lines << text;
    });
  }
  ~LogCapture() { qInstallMessageHandler(m_previous); }
  bool contains(const QString& text) const {
    const std::lock_guard<std::mutex> lock(s_mutex);
    for (const QString& l : s_lines)
      if (l.contains(text)) return true;
    return false;
  }
  QString all() const {
    const std::lock_guard<std::mutex> lock(s_mutex);
    return s_lines.join(QLatin1Char('\n'));
  }

 private:
  static inline std::mutex s_mutex;
  static inline QStringList s_lines;
  QtMessageHandler m_previous;
};

// Files that only an interrupted atomic write leaves behind (QSaveFile's
// "<name>.XXXXXX" beside its target).
QStringList strayTempFiles(const QString& folder, const QStringList& expected) {
  QStringList stray;
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
    if (!expected.contains(name)) stray << name;
  return stray;
}

std::shared_ptr<ImportPDFOperation> runImport(const QString& file) {
  auto op = std::make_shared<ImportPDFOperation>(file, QStringLiteral("ALL"), 144, 85);
  op->setImportLinks(true);
  op->setImportBookmarks(true);
  op->setJobs(2);
  op->start();
  return op;
}

}  // namespace

class TestHostile : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;
  QString m_res;

  QString path(const QString& name) const { return m_dir.filePath(name); }

  // Picture pages of `bytes` bytes each (publishing copies them as they are).
  std::shared_ptr<FlashPageSourceImg> pages(const QString& tag, int count, int bytes) {
    auto source = std::make_shared<FlashPageSourceImg>();
    for (int i = 1; i <= count; ++i) {
      const QString file = path(QStringLiteral("pics-%1/p%2.jpg").arg(tag).arg(i));
      QByteArray data(bytes, Qt::Uninitialized);
      for (int j = 0; j < bytes; ++j) data[j] = static_cast<char>((j * 7919 + i * 104729) >> 3);
      writeFile(file, data);
      source->addImgPageFromFile(file);
    }
    source->generateNormalPages();
    return source;
  }

  // A folder under /tmp, where other users reach it, with `mode`; it goes with `dir`.
  static QString tmpFolder(const QTemporaryDir& dir, mode_t mode) {
    return dir.isValid() && ::chmod(QFile::encodeName(dir.path()).constData(), mode) == 0 ? dir.path() : QString();
  }

  // Six pages with web and page links, named destinations and a small outline.
  QByteArray richPdf() {
    PdfFixture pdf(6);
    const auto r = &PdfFixture::ref;
    QByteArray annots;
    for (int i = 0; i < 20; ++i)
      annots += r(pdf.add("<< /Type /Annot /Subtype /Link /Rect [10 10 90 30] /A << /S /URI /URI (http://example.com/" +
                          QByteArray::number(i) + ") >> >>")) +
                " ";
    annots += r(pdf.add("<< /Subtype /Link /Rect [10 40 90 60] /Dest /Three >>"));
    for (int i = 0; i < 6; ++i) pdf.page(i).extra = "/Annots [" + annots + "]";
    const int root = pdf.reserve(), a = pdf.reserve(), b = pdf.reserve();
    pdf.set(root, "<< /First " + r(a) + " /Last " + r(b) + " >>");
    pdf.set(a, "<< /Title (One) /Next " + r(b) + " /Dest [" + pdf.pageRef(0) + " /Fit] >>");
    pdf.set(b, "<< /Title (Two) /Dest /Three >>");
    pdf.catalogExtra = "/Outlines " + r(root) + " /Dests << /Three [" + pdf.pageRef(2) + " /Fit] >>";
    return pdf.build();
  }

  // An import of damaged bytes ends: pages that all exist, or a reason.
  void importEnds(const QString& file) {
    const QStringList before = workFolders();
    auto op = runImport(file);
    QVERIFY(op->isFinished());
    if (auto source = op->flashPageSource()) {
      QVERIFY(!source->pages().empty());
      for (const FlashPagePtr& p : source->pages()) QVERIFY(QFileInfo(p->pageFilePath()).size() > 0);
    } else {
      QVERIFY2(op->errorString().startsWith(QStringLiteral("Cannot open")) ||
                   op->errorString().startsWith(QStringLiteral("The page range")),
               qPrintable(file + ": " + op->errorString()));
      QCOMPARE(workFolders(), before);
    }
  }

  // A small tmpfs at `mountPoint`, when this machine lets us mount one.
  static bool mountTmpfs(const QString& mountPoint, int kilobytes) {
    if (::geteuid() != 0) return false;
    QDir().mkpath(mountPoint);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    return ::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                   options.constData()) == 0;
  }

  static bool canActAsAnotherUser() {
    return ::geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
  }
  // Runs a shell script as user and group 65534 (nobody); true when it succeeded.
  static bool asNobody(const QString& script) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("setpriv")),
            {"--reuid=65534", "--regid=65534", "--clear-groups", "sh", "-c", script});
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  }

  // Fills the file system of `folder` with one file, then gives back `spare` bytes.
  static void fillUp(const QString& folder, qint64 spare) {
    QFile filler(QDir(folder).filePath(QStringLiteral("filler.bin")));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(64 * 1024, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    QVERIFY(filler.resize(std::max<qint64>(0, filler.size() - spare)));
  }

 private Q_SLOTS:
  void initTestCase() {
    m_res = path(QStringLiteral("res"));
    PlatformPaths p = PlatformPaths::current();
    p.resourceFolder = m_res;
    PlatformPaths::setCurrent(p);
    writeFile(m_res + "/AppFiles/TmplData/mac.app/Contents/Info.plist", "<plist/>");
  }

  void truncatedAndFlippedPdfs() {
    const QByteArray whole = richPdf();
    for (int percent = 10; percent <= 90; percent += 10) {
      const QString file = path(QStringLiteral("cut%1.pdf").arg(percent));
      QVERIFY(writeFile(file, whole.left(whole.size() * percent / 100)));
      importEnds(file);
    }
    // Bytes flipped in the middle: one, then a run of 64.
    QByteArray flipped = whole;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0xFF);
    QVERIFY(writeFile(path(QStringLiteral("flip1.pdf")), flipped));
    importEnds(path(QStringLiteral("flip1.pdf")));
    for (qsizetype i = whole.size() / 2 - 32; i < whole.size() / 2 + 32; ++i)
      flipped[i] = static_cast<char>(~flipped[i]);
    QVERIFY(writeFile(path(QStringLiteral("flip64.pdf")), flipped));
    importEnds(path(QStringLiteral("flip64.pdf")));
  }

  void pageTreeThatLiesAboutItsSize() {
    // Two pages, a page tree root that claims two billion: the count is what
    // the tree holds, so no list is sized by the claim.
    PdfFixture pdf(2);
    pdf.pagesExtra = "/Count 2000000000";
    QByteArray bytes = pdf.build();
    bytes.replace("/Count 2 /Count 2000000000", "/Count 2000000000         ");  // offsets unchanged
    QVERIFY(writeFile(path(QStringLiteral("count.pdf")), bytes));
    LogCapture log;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(MuPdfDocument::open(path(QStringLiteral("count.pdf")))->pageCount(), 2);
    QVERIFY(log.contains(QStringLiteral("claims 2000000000 pages but holds 2")));
    auto op = runImport(path(QStringLiteral("count.pdf")));
    QVERIFY2(op->flashPageSource(), qPrintable(op->errorString()));
    QCOMPARE(op->flashPageSource()->pages().size(), size_t(2));
    QVERIFY(timer.elapsed() < 20000);
  }

  // Forms that draw one another, hours of drawing for one page. That page runs out of its time and stands in blank,
  // with a warning; the next page is drawn as usual. A cancel still stops
  // such a page when there is no time limit.
  void pageThatDrawsForever() {
    PdfFixture pdf(2);
    pdf.drawNestedForms(0);
    QVERIFY(pdf.write(path(QStringLiteral("forms.pdf"))));

    auto op = std::make_shared<ImportPDFOperation>(path(QStringLiteral("forms.pdf")), QStringLiteral("ALL"), 144, 85);
    op->setPageTimeLimit(std::chrono::seconds(1));
    op->setJobs(2);
    op->start();
    const std::shared_ptr<FlashPageSourcePDF> source = op->flashPageSource();
    QVERIFY2(source, qPrintable(op->errorString()));
    QCOMPARE(op->warnings(),
             QStringList{QStringLiteral(
                 "Page 1 could not be drawn (it took longer than 1 s); a blank page stands in its place.")});
    QCOMPARE(source->pages().size(), size_t(2));
    auto inked = [](const QString& file) {
      const QImage picture(file);
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
          if (qGray(picture.pixel(x, y)) < 128) return true;
      return false;
    };
    QCOMPARE(QImage(source->pages()[0]->pageFilePath()).size(), QSize(1224, 1584));
    QVERIFY(!inked(source->pages()[0]->pageFilePath()));
    QVERIFY(inked(source->pages()[1]->pageFilePath()));

    const QStringList before = workFolders();
    auto cancelled =
        std::make_shared<ImportPDFOperation>(path(QStringLiteral("forms.pdf")), QStringLiteral("1"), 144, 85);
    cancelled->setPageTimeLimit(std::chrono::milliseconds(0));
    OperationQueue queue;
    queue.addOperation(cancelled);
    QTRY_VERIFY_WITH_TIMEOUT(workFolders().size() > before.size(), 20000);
    QThread::msleep(300);  // into the page
    cancelled->cancel();
    cancelled->waitForFinished();
    QCOMPARE(cancelled->errorString(), QStringLiteral("The import was cancelled."));
    QCOMPARE(workFolders(), before);
  }

  void linksToScriptsAndLocalFiles() {
    PdfFixture pdf(2);
    QByteArray annots;
    for (const QByteArray& action : QList<QByteArray>{
             "/A << /S /URI /URI (javascript:alert\\(document.cookie\\)) >>",
             "/A << /S /URI /URI ( JaVaScRiPt:alert\\(1\\)) >>", "/A << /S /URI /URI (file:///etc/passwd) >>",
             "/A << /S /URI /URI (data:text/html,<script>x</script>) >>", "/A << /S /URI /URI (vbscript:msgbox) >>",
             "/A << /S /URI /URI (javascript:void\\(0\\)) >> /Dest [" + pdf.pageRef(1) + " /Fit]",
             "/A << /S /URI /URI (https://example.com/ok) >>", "/A << /S /URI /URI (mailto:books@example.org) >>",
             "/A << /S /URI /URI (chapter2.html) >>"})
      annots += PdfFixture::ref(pdf.add("<< /Subtype /Link /Rect [1 1 9 9] " + action + " >>")) + " ";
    pdf.page(0).extra = "/Annots [" + annots + "]";
    QVERIFY(pdf.write(path(QStringLiteral("schemes.pdf"))));

    LogCapture log;
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(MuPdfDocument::open(path(QStringLiteral("schemes.pdf"))), QStringLiteral("1"));
    QStringList got;
    for (pugi::xml_node a = links.pagesAnnotationsNode().child("pageAnnos").child("anno"); a;
         a = a.next_sibling("anno")) {
      const pugi::xml_node action = a.child("action");
      got << (action.child("url")
                  ? QString::fromUtf8(action.child("url").text().get())
                  : QStringLiteral("page ") + QString::fromUtf8(action.child("pageIndex").text().get()));
    }
    // The script link that also names a page stays as that page link.
    QCOMPARE(got, (QStringList{"page 2", "https://example.com/ok", "mailto:books@example.org", "chapter2.html"}));
    QCOMPARE(links.warnings().size(), 1);
    QVERIFY2(links.warnings()[0].contains(QStringLiteral("javascript:, file:, data:, vbscript:")),
             qPrintable(links.warnings()[0]));
    QVERIFY(log.contains(QStringLiteral("a link to a javascript: address was dropped")));
  }

  void textThatIsHugeScriptedOrRightToLeft() {
    PdfFixture pdf(3);
    // 200,000 characters in 400 lines of a tiny font.
    QByteArray huge = "BT /F1 1 Tf 1.2 TL 20 780 Td ";
    for (int line = 0; line < 400; ++line) {
      QByteArray text;
      for (int w = 0; w < 100; ++w)
        text += "w" + QByteArray::number((line * 100 + w) % 1000).rightJustified(3, '0') + " ";
      huge += "(" + text + ") ' ";
    }
    pdf.page(1).content = huge + "ET";
    pdf.page(0).content =
        "BT /F1 12 Tf 50 700 Td (<img src=x onerror=alert\\(1\\)>) Tj 0 -20 Td "
        "(</script><script>alert\\(2\\)</script>) Tj 0 -20 Td (a\\001b\\010c\\177d) Tj ET";
    // Hebrew and Arabic letters, by their glyph names.
    const int rtl = pdf.add(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << /Differences "
        "[65 /alef /bet /gimel /alefarabic /beharabic] >> >>");
    pdf.page(2).content = "BT /F2 24 Tf 100 500 Td (CBA ED) Tj ET";
    pdf.page(2).extra = "/Resources << /Font << /F2 " + PdfFixture::ref(rtl) + " >> >>";
    QByteArray bytes = pdf.build();
    bytes.replace("trailer\n<<", "trailer\n<< /Info << /Title (<script>alert\\(3\\)</script>) >>");
    QVERIFY(writeFile(path(QStringLiteral("text.pdf")), bytes));

    auto op = std::make_shared<ImportPDFOperation>(path(QStringLiteral("text.pdf")), QStringLiteral("ALL"), 144, 85);
    op->setZoomPictures(false);  // not what this is about, and costly under the sanitizers
    op->start();
    const std::shared_ptr<FlashPageSourcePDF> source = op->flashPageSource();
    QVERIFY2(source, qPrintable(op->errorString()));
    QVERIFY(source->pageTextScript(2).size() > 1'000'000);

    const QByteArray page = "<title>${index.title}</title><div class=\"fv-index\">${book.text}</div>";
    const QString book = path(QStringLiteral("text-book"));
    PublishOptions options;
    options.folder = book;
    options.name = QStringLiteral("index");
    options.title = BookSession::defaultBookTitle(*source, path(QStringLiteral("text.pdf")));
    const PublishResult result = BookSession::publishBook(options, {tmplOf("text", prop("x", "1"), page), source});
    QVERIFY2(result.succeeded(), qPrintable(result.alertDetail()));

    // Whatever a page says stays text: in the search file, in each page's
    // script, and in the page's hidden section.
    const BookTextReader::Result text = BookTextReader::read(book);
    QVERIFY2(text.ok(), qPrintable(text.error));
    QCOMPARE(text.pages.size(), 3);
    QCOMPARE(text.pages[1].text.count(QLatin1Char(' ')) + text.pages[1].text.count(QLatin1Char('\n')) + 1, 40000);
    QVERIFY(text.pages[0].text.startsWith(
        QStringLiteral("<img src=x onerror=alert(1)>\n</script><script>alert(2)</script>\n")));
    for (const BookTextReader::Page& page : text.pages)
      for (QChar c : page.text)
        QVERIFY2(c >= QLatin1Char(' ') || c == QLatin1Char('\n'), qPrintable(QString::number(c.unicode())));
    QVERIFY2(text.pages[2].text.contains(QStringLiteral("\u05D2\u05D1\u05D0")) &&
                 text.pages[2].text.contains(QStringLiteral("\u0628\u0627")),
             qPrintable(text.pages[2].text));
    const QByteArray html = readFile(book + "/index.html");
    QVERIFY(html.size() < BookIndexSection::kBudget + 200);
    QVERIFY(html.contains("<title>&lt;script&gt;alert(3)&lt;/script&gt;</title>"));
    QVERIFY(html.contains("&lt;img src=x onerror=alert(1)&gt; &lt;/script&gt;&lt;script&gt;alert(2)&lt;/script&gt;"));
    QCOMPARE(html.count("<"), html.count("<h") + html.count("</h") + html.count("<p>") + html.count("</p>") + 4);
  }

  // Named pipes, devices and folders where a file belongs: each reader says
  // what it found and reads nothing, neither waiting for a writer on the pipe
  // nor reading the device without end.
  void filesThatAreNotFiles() {
    const QString odd = path(QStringLiteral("odd"));
    QDir().mkpath(odd + "/book/files/text");
    const auto remove = qScopeGuard([&] { QDir(odd).removeRecursively(); });  // other tests read every file here
    for (const char* name : {"pipe.pdf", "pipe.txt", "pipe.rtf", "pipe-settings.txt", "book/files/book.bin"})
      QCOMPARE(::mkfifo(QFile::encodeName(odd + "/" + name).constData(), 0600), 0);
    for (const char* name : {"zero.pdf", "zero.txt", "book/files/text/all.js"})
      QVERIFY(QFile::link(QStringLiteral("/dev/zero"), odd + "/" + name));
    QDir().mkpath(odd + "/folder.rtf");
    const QString pipe = QStringLiteral("it is a named pipe, not a regular file");
    const QString device = QStringLiteral("it is a device, not a regular file");

    auto openError = [](const QString& file) {
      try {
        MuPdfDocument::open(file);
      } catch (const ImportError& e) {
        return e.reason();
      }
      return QString();
    };
    QCOMPARE(openError(odd + "/pipe.pdf"), "Cannot open pipe.pdf: " + pipe);
    QCOMPARE(openError(odd + "/zero.pdf"), "Cannot open zero.pdf: " + device);
    auto convertError = [&](const QString& name) {
      QString error;
      DocumentToPdf::convertToPDF(odd + "/" + name, path(QStringLiteral("odd.pdf")), &error);
      return error;
    };
    QCOMPARE(convertError(QStringLiteral("pipe.txt")), "Cannot convert pipe.txt: " + pipe);
    QCOMPARE(convertError(QStringLiteral("pipe.rtf")), "Cannot convert pipe.rtf: " + pipe);
    QCOMPARE(convertError(QStringLiteral("zero.txt")), "Cannot convert zero.txt: " + device);
    QCOMPARE(convertError(QStringLiteral("folder.rtf")),
             QStringLiteral("Cannot convert folder.rtf: it is a folder, not a regular file"));
    // The import says the same, and goes on to nothing.
    auto op = runImport(odd + "/pipe.pdf");
    QCOMPARE(op->errorString(), "Cannot open pipe.pdf: " + pipe);

    // A book whose book.bin is a pipe and whose text is /dev/zero.
    const BookBinReader::Result bin = BookBinReader::inspect(odd + "/book");
    QVERIFY2(bin.error.endsWith(pipe), qPrintable(bin.error));
    const BookTextReader::Result text = BookTextReader::read(odd + "/book");
    QVERIFY2(text.error.endsWith(device), qPrintable(text.error));
    writeTemplate("odd", prop("x", "1"));
    const SettingsFileResult settings =
        FlashTemplate(QStringLiteral("odd")).importPropertiesSettingsFrom(odd + "/pipe-settings.txt");
    QVERIFY2(settings.error.endsWith(pipe), qPrintable(settings.error));
  }

  // Picture headers that lie or break off, as a picture folder may hold them:
  // each is read to its end or to a clear reason, never past what is there.
  void pictureHeadersThatLie() {
    const QByteArray good = jpegHeader(300, 400);
    const QByteArray start = good.left(2);
    const QByteArray frame = good.mid(2, 19);
    const QByteArray scan = good.mid(21);
    const QByteArray app = QByteArray::fromHex("ffe00004") + "ab";
    QByteArray manyApps = start;
    for (int i = 0; i <= JpegHeader::kMaxSegments; ++i) manyApps += app;
    QByteArray twoComponents = frame;
    twoComponents[9] = 2;
    const auto be32 = [](quint32 v) {
      QByteArray b(4, '\0');
      qToBigEndian(v, b.data());
      return b;
    };
    const auto png = [&](quint32 w, quint32 h, char colour = 2) {
      return QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + be32(w) + be32(h) + QByteArray(1, 8) +
             QByteArray(1, colour) + QByteArray(3, 0) + QByteArray(4, 'c');
    };
    const QByteArray vp8 = QByteArray::fromHex("524946464a00000057454250565038203e000000f003009d012a2c0190010000");
    const QByteArray vp8l = QByteArray::fromHex("524946461c000000574542505650384c0f0000002f2bc1630000");
    // Chunk size 10, flags, then width and height less one (299, 399).
    const QByteArray vp8x = QByteArray::fromHex("524946460000000057454250565038580a000000100000002b01008f0100");
    const QList<std::pair<QByteArray, QString>> cases = {
        {png(300, 400), QString()},
        {vp8, QString()},
        {vp8l, QString()},
        {vp8x, QString()},
        {png(300, 400, 5), "its header is damaged"},
        {png(100000, 100000),
         "it is 100000 x 100000 pixels, more than a page may have (at most 50 million, 30000 on a side)"},
        {png(0, 400), "its header gives no size"},
        {png(300, 400).left(20), "it is cut short before its picture"},
        {vp8.left(24), "it is cut short before its picture"},
        {"GIF89a" + png(300, 400), "it is not a JPEG, PNG or WebP picture"},
        {start + app + QByteArray("\xFF\xFF\xFF", 3) + frame + QByteArray("\xD0junk", 5) + scan, QString()},
        {jpegHeader(300, 400, 0xC3), "it is a kind of JPEG that browsers do not show"},
        {jpegHeader(300, 0), "its header gives no size"},
        {jpegHeader(30001, 10),
         "it is 30001 x 10 pixels, more than a page may have (at most 50 million, 30000 on a side)"},
        {start + QByteArray("\xFF\xE0\x7F\xFF", 4) + frame, "it is cut short before its picture"},
        {start + QByteArray("\xFF\xE0\x00\x01", 4) + frame + scan, "its header is damaged"},
        {start + frame + frame + scan, "its header is damaged"},
        {start + scan + frame, "its header is damaged"},
        {start + twoComponents + scan, "its header is damaged"},
        {start + QByteArray(5000, 'x') + frame + scan, "its header is damaged"},
        {manyApps + frame + scan, "its header is damaged"},
        {start + QByteArray("\xFF\xD9", 2), "it holds no picture"},
        {good.left(good.size() - 15), "it is cut short before its picture"},
    };
    for (const auto& [bytes, error] : cases) {
      QBuffer buffer;
      buffer.setData(bytes);
      QVERIFY(buffer.open(QIODevice::ReadOnly));
      const PictureHeader::Result r = PictureHeader::read(buffer);
      QCOMPARE(r.error, error);
      QCOMPARE(r.size, error.isEmpty() ? QSize(300, 400) : QSize());
    }
  }

  void templateNested100000Deep() {
    // Well-formed (the strict reader), unclosed (the repair pass), and deep
    // markup inside a value: each ends quickly with a reason or a bounded tree.
    const QString level = QStringLiteral(
        "<property><key>k</key><title/><desc/><value/><valueSource/><defaultValue/>"
        "<childProperties>");
    QString open;
    open.reserve(level.size() * 100000);
    for (int i = 0; i < 100000; ++i) open += level;
    const QString close = QStringLiteral("</childProperties></property>").repeated(100000);
    const QString deepValue = QStringLiteral("<property><key>v</key><title/><desc/><value>") +
                              QStringLiteral("<b>").repeated(100000) + "x" + QStringLiteral("</b>").repeated(100000) +
                              QStringLiteral("</value><valueSource/><defaultValue/></property>");
    FlashTemplate t(QStringLiteral("none"));
    QElapsedTimer timer;
    timer.start();

    writeTemplate("deep", open + close);
    t.loadTemplate(QStringLiteral("deep"));
    QVERIFY(t.properties().empty());
    QVERIFY2(t.loadError().contains(QStringLiteral("nested too deep")), qPrintable(t.loadError()));

    writeTemplate("deepopen", open);
    LogCapture log;
    t.loadTemplate(QStringLiteral("deepopen"));
    if (t.loadError().isEmpty()) {
      QVERIFY(log.contains(QStringLiteral("read in repair mode")));
      int depth = 0;
      for (const FlashTemplateProperty* p = t.properties().empty() ? nullptr : t.properties()[0].get(); p;
           p = p->childProperties().empty() ? nullptr : p->childProperties()[0].get())
        ++depth;
      QVERIFY(depth <= FlashTemplateProperty::kMaxDepth + 1);
    }

    writeTemplate("deepvalue", deepValue);
    t.loadTemplate(QStringLiteral("deepvalue"));
    QVERIFY2(t.loadError().isEmpty(), qPrintable(t.loadError()));
    QCOMPARE(t.propertyValueFor(QStringLiteral("v"), QString()), QStringLiteral("x"));
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
  }

  void settingsWithNulBytesAndCrLineBreaks() {
    auto t = tmplOf("st", prop("A", "a") + prop("B", "b") + prop("pageWidth", "1000"));
    const QString file = path(QStringLiteral("settings/nul-cr.txt"));

    // CR alone is no line break: the file is one line, and the log says why.
    QVERIFY(writeFile(file, QByteArray("A=1\rB=2\rpageWidth=5\r", 20)));
    LogCapture log;
    t->importPropertiesSettingsFrom(file);
    QCOMPARE(t->propertyValueFor("A", ""), QStringLiteral("1B=2pageWidth=5"));
    QCOMPARE(t->propertyValueFor("B", ""), QStringLiteral("b"));
    QVERIFY2(log.contains(QStringLiteral("CR alone")), qPrintable(log.all()));

    // A file with NUL bytes is no settings file: refused whole, with the reason.
    QVERIFY(writeFile(file, QByteArray("\n\rA=x\0y\n\r\0B=z\n\rB=\0\0", 19)));
    const SettingsFileResult refused = t->importPropertiesSettingsFrom(file);
    QVERIFY2(!refused.ok() && refused.error.contains(QStringLiteral("binary")), qPrintable(refused.error));
    QCOMPARE(t->propertyValueFor("A", ""), QStringLiteral("1B=2pageWidth=5"));
    // NUL bytes that reach a value by other ways never reach book.xml.
    t->setPropertyValue(QStringLiteral("A"), QString::fromLatin1("x\0y", 3));
    t->setPropertyValue(QStringLiteral("B"), QString::fromLatin1("\0\0", 2));
    FlashBookOutput out(nullptr, t, path(QStringLiteral("settings")), std::nullopt);
    const QByteArray xml = FlashBookOutput::serializeBookXML(*out.bookXML());
    QVERIFY(!xml.contains('\0'));
    pugi::xml_document doc;
    QVERIFY(doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size())));

    // A file far beyond any settings file is not read at all.
    QFile big(file);
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(FlashTemplate::kMaxSettingsFileSize + 1));
    big.close();
    QVERIFY(!t->importPropertiesSettingsFrom(file).ok());
    QCOMPARE(t->propertyValueFor("B", ""), QString::fromLatin1("\0\0", 2));
    QVERIFY(log.contains(QStringLiteral("too large for a settings file")));
  }

  void propertyKeysThatLeaveTheBookFolder() {
    const QString logo = path(QStringLiteral("logo.png"));
    QVERIFY(writeFile(logo, "png"));
    QString props = prop("logo", logo, "pt_file");
    for (const QString& key : {QStringLiteral(".."), QStringLiteral("../../escaped"), QStringLiteral("..\\escaped"),
                               QStringLiteral("/tmp/escaped"), QStringLiteral("sub/escaped"), QStringLiteral("a..b")})
      props += prop(key, logo, "pt_file");
    writeTemplate("keys", props);
    const QString parent = path(QStringLiteral("keys-parent"));
    const QString book = parent + "/book";
    QDir().mkpath(book);
    const QMap<QString, QByteArray> outside = snapshot(path(QString()));

    LogCapture log;
    FlashBookOutput out(pages("keys", 1, 100), std::make_shared<FlashTemplate>(QStringLiteral("keys")), book,
                        std::nullopt);
    out.ouputTheBook();
    QVERIFY2(out.succeeded(), qPrintable(out.failures().empty() ? QString() : out.failures()[0].reason));
    QCOMPARE(QDir(book + "/files/extfiles").entryList(QDir::Files), QStringList({"logo.png"}));
    QVERIFY(log.contains(QStringLiteral("its key cannot be a file name")));
    // Nothing new anywhere but inside the book folder ("a..b" is refused too:
    // it holds "..", and a refusal costs nothing).
    for (const QString& name : snapshot(path(QString())).keys())
      QVERIFY2(outside.contains(name) || name.startsWith(QStringLiteral("keys-parent/book/")) ||
                   name.startsWith(QStringLiteral("pics-keys/")),
               qPrintable(name));
    QVERIFY(!QFileInfo::exists(parent + "/escaped") && !QFileInfo::exists("/tmp/escaped.png"));
    const QByteArray xml = BookBinReader::inspect(book).bookXml;
    QVERIFY(xml.contains("name=\"logo\""));
    QVERIFY(!xml.contains("escaped"));
  }

  void bookFolderThatCannotBeWritten() {
    auto tmpl = tmplOf("w", prop("x", "1"));

    // The book folder is a file.
    const QString notFolder = path(QStringLiteral("not-a-folder"));
    QVERIFY(writeFile(notFolder, "mine"));
    FlashBookOutput a(pages("w", 1, 100), tmpl, notFolder, std::nullopt);
    a.ouputTheBook();
    QVERIFY(!a.succeeded());
    QCOMPARE(readFile(notFolder), QByteArray("mine"));

    // "files" is a file of the user's where the layout needs a folder: it is
    // in the way, so nothing is written and the user's file stays.
    const QString book = path(QStringLiteral("blocked"));
    QVERIFY(writeFile(book + "/files", "my notes"));
    FlashBookOutput b(pages("w", 2, 100), tmpl, book, std::nullopt);
    b.ouputTheBook();
    QVERIFY(!b.succeeded());
    QCOMPARE(b.foreignEntries(), QStringList({"files"}));
    QCOMPARE(readFile(book + "/files"), QByteArray("my notes"));
    QCOMPARE(strayTempFiles(book, {"files"}), QStringList());

    // A folder without write permission (root writes anyway).
    if (::geteuid() != 0) {
      const QString ro = path(QStringLiteral("readonly"));
      QDir().mkpath(ro);
      QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
      FlashBookOutput c(pages("w", 1, 100), tmpl, ro, std::nullopt);
      c.ouputTheBook();
      QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
      QVERIFY(!c.succeeded());
      QVERIFY(QDir(ro).isEmpty());
    }
  }

  void diskThatFillsUpMidway() {
    // Old book, settings file and trust file first, on a small file system;
    // then the disk runs out while the new ones are written.
    auto tmpl = tmplOf("full", prop("A", "1") + prop("B", QString(3000, 'b')));
    const QString disk = path(QStringLiteral("disk"));
    const bool mounted = mountTmpfs(disk, 1024);
    const auto unmount = qScopeGuard([&] {
      if (mounted) ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
    });
    if (!mounted) qInfo("no tmpfs here (needs root): the full disk is simulated by targets that are folders");

    const QString book = disk + "/book";
    QDir().mkpath(book);
    FlashBookOutput first(pages("small", 1, 1000), tmpl, book, std::nullopt);
    first.ouputTheBook();
    QVERIFY(first.succeeded());
    const QString settings = disk + "/mine.txt";
    QVERIFY(tmpl->exportPropertiesSettingsTo(settings));
    PlatformPaths paths = PlatformPaths::current();
    const PlatformPaths saved = paths;
    paths.machineAppSupport = disk + "/machine";
    PlatformPaths::setCurrent(paths);
    const auto restore = qScopeGuard([&] { PlatformPaths::setCurrent(saved); });
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/old/preview"));
    const QString trust = HXCUtility::trustFilePath();
    const QByteArray oldBin = readFile(book + "/files/book.bin");
    const QByteArray oldSettings = readFile(settings);
    const QByteArray oldTrust = readFile(trust);
    QVERIFY(!oldBin.isEmpty() && !oldSettings.isEmpty() && !oldTrust.isEmpty());

    if (mounted) {
      fillUp(disk, 200 * 1024);
    } else {
      // Without a small disk: each target that must be replaced is a folder.
      // (the trust file's folder is a file: nothing can be written there).
      for (const QString& target : {book + "/files/book.bin.js", settings + ".new"}) {
        QFile::remove(target);
        QVERIFY(QDir().mkpath(target));
      }
    }
    // Pages first: the first ones fit, then the disk is full; a long outline
    // makes book.xml larger than what is left.
    auto outline = std::make_shared<FlashOutline>();
    FlashOutlineItems items;
    for (int i = 0; i < 3000; ++i) {
      auto item = std::make_unique<FlashOutlineItem>();
      item->setCaption(QString::number(static_cast<qulonglong>(i) * 0x9E3779B97F4A7C15ULL, 36).repeated(4));
      item->setPageIndex(i % 4 + 1);
      items.push_back(std::move(item));
    }
    outline->setItems(std::move(items));
    FlashBookOutput second(pages("big", 4, 64 * 1024), tmpl, book, std::nullopt);
    second.setFlashOutline(outline);
    const QMap<QString, QByteArray> oldBook = snapshot(book);
    LogCapture log;
    second.ouputTheBook();
    QVERIFY(!second.succeeded());
    for (const PublishFailure& f : second.failures()) QVERIFY2(!f.reason.isEmpty(), qPrintable(f.target));
    // The old book, whole: not a file of it changed, nothing of the new one left.
    const BookBinReader::Result now = BookBinReader::inspect(book);
    QVERIFY2(now.ok(), qPrintable(now.error));
    if (mounted) {
      QCOMPARE(readFile(book + "/files/book.bin"), oldBin);
      QVERIFY2(second.failures()[0].reason.contains(QStringLiteral("No space left on device")),
               qPrintable(second.failures()[0].reason));
    }
    QCOMPARE(snapshot(book), oldBook);
    QCOMPARE(strayTempFiles(book, {"index.html"}), QStringList());

    // The settings file and the trust file keep their old text.
    const QString target = mounted ? settings : settings + ".new";
    tmpl->setPropertyValue(QStringLiteral("B"), QString(400 * 1024, 'n'));
    QVERIFY(!tmpl->exportPropertiesSettingsTo(target));
    QCOMPARE(readFile(settings), oldSettings);
    if (!mounted) {
      paths.machineAppSupport = disk + "/blocked";
      PlatformPaths::setCurrent(paths);
      QVERIFY(writeFile(disk + "/blocked/Macromedia", "a file"));
    }
    HXCUtility::makeDiractoryTrustByFlash(QStringLiteral("/new/preview/") + QString(300 * 1024, 'p'));
    QCOMPARE(readFile(trust), oldTrust);
    QCOMPARE(strayTempFiles(disk, {"mine.txt", "filler.bin"}), QStringList());
    QCOMPARE(strayTempFiles(QFileInfo(trust).path(), {"PT.cfg"}), QStringList());
  }

  // Another local user who shares the temporary folder tries to swap a page
  // of the import for a link to a file only we may read. The work folder is
  // ours alone, in a sticky folder: they can neither enter, rename nor
  // replace it. (A shared <tmp>/Quireon that they made first let them.)
  void anotherUserCannotSwapThePages() {
    if (!canActAsAnotherUser()) QSKIP("needs root and setpriv(1) to act as a second user");
    const QTemporaryDir sharedDir(QStringLiteral("/tmp/folivox-shared-XXXXXX"));
    const QString shared = tmpFolder(sharedDir, 01777);  // as /tmp
    QVERIFY(!shared.isEmpty());
    QVERIFY(writeFile(shared + "/secret", "root only"));
    ::chmod(QFile::encodeName(shared + "/secret").constData(), 0600);
    // They come first and make the old shared folder, open to all.
    QVERIFY(asNobody(QStringLiteral("mkdir -m 0777 '%1/Quireon'").arg(shared)));

    PlatformPaths paths = PlatformPaths::current();
    const PlatformPaths saved = paths;
    paths.tmpRoot = shared;
    PlatformPaths::setCurrent(paths);
    const auto restore = qScopeGuard([&] { PlatformPaths::setCurrent(saved); });
    PdfFixture pdf(2);
    QVERIFY(pdf.write(path(QStringLiteral("mine.pdf"))));
    FlashPageSourcePDF source(path(QStringLiteral("mine.pdf")), QStringLiteral("ALL"), 144, 85);
    source.generatePages();
    const QString folder = source.toPageConverter()->converterWorkFolder();
    QVERIFY(!folder.startsWith(shared + "/Quireon/"));
    const QString page = folder + "/1.jpg";
    const QByteArray picture = readFile(page);
    QVERIFY(picture.startsWith("\xFF\xD8"));

    QVERIFY(!asNobody(QStringLiteral("ls '%1'").arg(folder)));
    QVERIFY(!asNobody(QStringLiteral("ln -sf '%1/secret' '%2'").arg(shared, page)));
    QVERIFY(!asNobody(
        QStringLiteral("mv '%1' '%2/stolen' && mkdir '%1' && ln -s '%2/secret' '%3'").arg(folder, shared, page)));
    QVERIFY(!QFileInfo(page).isSymLink());
    QCOMPARE(readFile(page), picture);
    QVERIFY(!QFileInfo::exists(shared + "/stolen"));
  }

  // A folder that other users may write to (0777 without the sticky bit):
  // refused unless the user agrees. When they agree, another user who renames
  // the folder the new book is being written into and leaves a link to a
  // folder of their choice in its place gets nothing written there, and the
  // book is not put in place: the old one stays.
  void foldersOthersMayChangeAreRefusedOrGuarded() {
    if (!canActAsAnotherUser()) QSKIP("needs root and setpriv(1) to act as a second user");
    auto tmpl = tmplOf("open", prop("x", "1"));
    const QTemporaryDir openDir(QStringLiteral("/tmp/folivox-open-XXXXXX"));
    const QTemporaryDir chosenDir(QStringLiteral("/tmp/folivox-chosen-XXXXXX"));
    const QString open = tmpFolder(openDir, 0777), chosen = tmpFolder(chosenDir, 0777);
    QVERIFY(!open.isEmpty() && !chosen.isEmpty());
    const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

    FlashBookOutput refused(pages("open", 3, 100), tmpl, open, std::nullopt);
    refused.ouputTheBook();
    QVERIFY(!refused.succeeded() && refused.refusedSharedFolder());
    QVERIFY2(refused.error().contains("Other users may change"), qPrintable(refused.error()));
    QVERIFY(QDir(open).isEmpty(everything));

    FlashBookOutput first(pages("open", 3, 100), tmpl, open, std::nullopt);
    first.setSharedFolderAllowed(true);
    first.ouputTheBook();
    QVERIFY(first.succeeded());
    const QMap<QString, QByteArray> oldBook = snapshot(open);
    FlashBookOutput second(pages("open2", 5, 100), tmpl, open, std::nullopt);
    second.setSharedFolderAllowed(true);
    bool attacked = false;
    second.setProgress([&](qsizetype done, qsizetype) {
      if (done == 1 && !attacked) {
        const QString staging = QDir(open).entryList({".folivox-staging-*"}, QDir::Dirs | QDir::Hidden).value(0);
        attacked = asNobody(QStringLiteral("mv '%1/%2' '%1/moved' && ln -s '%3' '%1/%2'").arg(open, staging, chosen));
      }
      return true;
    });
    second.ouputTheBook();
    QVERIFY(attacked);
    QVERIFY(!second.succeeded());
    QVERIFY2(second.error().contains("moved or replaced"), qPrintable(second.error()));
    QCOMPARE(QDir(chosen).entryList(everything), QStringList());
    QCOMPARE(snapshot(open), oldBook);
    QCOMPARE(QDir(open + "/moved").entryList(everything), QStringList());  // what was written is gone
  }

  // A file a settings file names is checked when the settings file is read,
  // and again, on the file opened, when the book copies it: swapped since for
  // a link to a private file (by another user who may write the settings
  // folder), or with a folder on its way swapped for a link, it is refused.
  void settingsFilesSwappedForLinksAfterTheCheck() {
    if (!canActAsAnotherUser()) QSKIP("needs root and setpriv(1) to act as a second user");
    const QTemporaryDir sharedDir(QStringLiteral("/tmp/folivox-settings-XXXXXX"));
    const QString shared = tmpFolder(sharedDir, 0777);
    QVERIFY(!shared.isEmpty());
    QVERIFY(writeFile(shared + "/logo.png", "png") && writeFile(shared + "/sub/sound.mp3", "mp3"));
    QVERIFY(::chmod(QFile::encodeName(shared + "/sub").constData(), 0777) == 0);
    QVERIFY(writeFile(shared + "/look.txt",
                      ("\n\rlogo=" + shared + "/logo.png\n\rsound=" + shared + "/sub/sound.mp3").toUtf8()));
    const QString secret = path(QStringLiteral("private/id_ed25519"));
    QVERIFY(writeFile(secret, "PRIVATE KEY") && writeFile(path(QStringLiteral("private/sound.mp3")), "PRIVATE SOUND"));
    auto tmpl = tmplOf("swap", prop("logo", "", "pt_file") + prop("sound", "", "pt_file"));
    const SettingsFileResult applied = tmpl->importPropertiesSettingsFrom(shared + "/look.txt");
    QVERIFY(applied.ok() && applied.refused.isEmpty());

    QVERIFY(asNobody(
        QStringLiteral("rm '%1/logo.png' && ln -s '%2' '%1/logo.png' && mv '%1/sub' '%1/old' && ln -s '%3' '%1/sub'")
            .arg(shared, secret, path(QStringLiteral("private")))));
    const QString book = path(QStringLiteral("swap-book"));
    QDir().mkpath(book);
    FlashBookOutput out(pages("swap", 1, 100), tmpl, book, std::nullopt);
    out.ouputTheBook();
    QVERIFY(!out.succeeded());
    QCOMPARE(out.failures().size(), size_t(2));
    QVERIFY2(out.failures()[0].reason.contains("symbolic link"), qPrintable(out.failures()[0].reason));
    QVERIFY2(out.failures()[1].reason.contains("no longer inside"), qPrintable(out.failures()[1].reason));
    QVERIFY(QDir(book).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // The user's own choice of a file through a link is still theirs to make.
    tmpl->propertyForKey(QStringLiteral("logo"))->setValue(shared + "/mine.png");
    QVERIFY(QFile::link(shared + "/old/sound.mp3", shared + "/mine.png"));
    tmpl->propertyForKey(QStringLiteral("sound"))->setValue(QString());
    FlashBookOutput chosen(pages("swap", 1, 100), tmpl, book, std::nullopt);
    chosen.ouputTheBook();
    QVERIFY2(chosen.succeeded(), qPrintable(chosen.failures().empty() ? chosen.error() : chosen.failures()[0].reason));
    QCOMPARE(readFile(book + "/files/extfiles/logo.png"), QByteArray("mp3"));
  }

  void republishingKeepsTheUsersFiles() {
    auto tmpl = tmplOf("keep", prop("x", "1"));
    const QString folder = path(QStringLiteral("shared-folder"));
    FlashBookOutput first(pages("k3", 3, 500), tmpl, folder, std::nullopt);
    QDir().mkpath(folder);
    first.ouputTheBook();
    QVERIFY(first.succeeded());
    // The user's own files, beside the book and inside its folders.
    const QStringList beside = {"notes.txt", "index.html.orig", "drafts/cover.psd", "Other.app/keep.txt"};
    const QStringList inside = {"files/readme.txt", "files/book.bin.bak", "files/page/cover-draft.jpg",
                                "files/extfiles/mine/a.txt"};
    for (const QString& name : beside + inside) QVERIFY(writeFile(folder + "/" + name, name.toUtf8()));
    const QMap<QString, QByteArray> before = snapshot(folder);

    // A republish would remove the files inside the book's folders: it stops
    // and names them, changing nothing.
    FlashBookOutput second(pages("k1", 1, 500), tmpl, folder, QStringLiteral("other.html"));
    second.ouputTheBook();
    QVERIFY(!second.succeeded());
    QStringList named = second.foreignEntries();
    named.sort();
    QStringList expected = inside;
    expected[3] = QStringLiteral("files/extfiles/mine");
    expected.sort();
    QCOMPARE(named, expected);
    QCOMPARE(snapshot(folder), before);

    // Told to, it replaces the book whole; what is beside it stays, and so
    // does a bundle published next to it.
    FlashBookOutput forced(pages("k1", 1, 500), tmpl, folder, QStringLiteral("other.html"));
    forced.setReplaceForeignFiles(true);
    forced.ouputTheBook();
    QVERIFY(forced.succeeded());
    FlashBookOutputApp app(pages("k1", 1, 500), tmpl, folder, QStringLiteral("Report.html"));
    app.ouputTheBook();
    QVERIFY(app.succeeded());
    const QMap<QString, QByteArray> after = snapshot(folder);
    for (const QString& name : beside) QCOMPARE(after.value(name), before.value(name));
    for (const QString& name : inside) QVERIFY2(!after.contains(name), qPrintable(name));
    QVERIFY(!after.contains(QStringLiteral("files/page/3.jpg")));  // nothing of the older book
    QVERIFY(after.contains(QStringLiteral("index.html")));         // the older book's page, not in the way
  }
};

FOLIVOX_TEST_MAIN(TestHostile)
#include "test_hostile.moc"
