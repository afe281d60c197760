// Every page right in the player, measured in the web engine: a landscape page in a
// portrait book keeps its shape, zoom pictures and thumbnails are asked for only when
// needed, printed labels show, touch turns and zooms, the keyboard reaches the
// toolbar before the page and stays in the contents, and printing gives a sheet per
// page. The book comes from the real publisher; its zoom pictures, thumbnails and
// labels are added beside it as docs/book-files.md describes them.
#include <QRegularExpression>
#include <functional>

#include "PdfFixture.h"
#include "PlayerHarness.h"
#include "import/FlashPageSourcePDF.h"
#include "publish/BookBinReader.h"
#include "publish/RC4.h"
#include "zip/ZKDataArchive.h"

using namespace player_test;

namespace {

constexpr int kLandscape = 3;  // the page (counted from 1) drawn 800 x 600

QSize pageSize(int number) { return number == kLandscape ? QSize(800, 600) : QSize(600, 800); }

// Packs book.xml into files/book.bin and its script twin, as the publisher does.
bool writeBookBin(const QString& folder, const pugi::xml_document& doc) {
  ZKDataArchive archive;
  if (archive.deflateData(FlashBookOutput::serializeBookXML(doc), QStringLiteral("book.xml")) != 1) return false;
  const auto bin = RC4::RC4EncryptedDataUsingKey(archive.data(), QByteArray(RC4::kBookKey));
  QFile out(folder + QStringLiteral("/files/book.bin"));
  QFile script(folder + QStringLiteral("/files/book.bin.js"));
  return bin && out.open(QIODevice::WriteOnly) && out.write(*bin) == bin->size() && script.open(QIODevice::WriteOnly) &&
         script.write("window.folivoxBookBin = \"" + bin->toBase64() + "\";\n") > 0;
}

// Adds zoom pictures (twice the size), thumbnails (a quarter) and printed labels to a
// published book, and names the pictures in book.xml.
bool addPageFiles(const QString& folder) {
  for (int n = 1; n <= kPages; ++n) {
    QDir().mkpath(folder + QStringLiteral("/files/large"));
    QDir().mkpath(folder + QStringLiteral("/files/thumb"));
    writePicture(folder + QStringLiteral("/files/large"), n, pageSize(n) * 2, QString());
    writePicture(folder + QStringLiteral("/files/thumb"), n, pageSize(n) / 4, QString());
  }
  const BookBinReader::Result read = BookBinReader::inspect(folder);
  pugi::xml_document doc;
  if (!read.ok() || !doc.load_buffer(read.bookXml.constData(), static_cast<size_t>(read.bookXml.size()))) return false;
  for (pugi::xml_node page : doc.child("flipbook").child("pages").children("page")) {
    const QString normal = QString::fromUtf8(page.child("normalUrl").text().get());
    const QString name = normal.section(QLatin1Char('/'), -1);
    page.child("largeUrl").text().set(("./files/large/" + name).toUtf8().constData());
    page.child("thumbUrl").text().set(("./files/thumb/" + name).toUtf8().constData());
  }
  QFile labels(folder + QStringLiteral("/files/pages.js"));
  return writeBookBin(folder, doc) && labels.open(QIODevice::WriteOnly) &&
         labels.write(
             "folivoxData(\"pages\", 0, {\"v\": 1, \"labels\": [\"i\", \"ii\", \"1\", \"2\", \"3\", \"4\", \"5\", "
             "\"6\"]});\n") > 0;
}

// The number of pages in a PDF file.
int pdfPages(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(
      QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

}  // namespace

class TestPlayerPages : public QObject, public PlayerDriver {
  Q_OBJECT
  QTemporaryDir m_dir;
  QString m_book;

  // A book published from a PDF of text pages with the default picture format.
  QString documentBook(const QString& name) {
    const QString pdf = m_dir.filePath(QStringLiteral("doc.pdf"));
    if (!QFileInfo::exists(pdf) && !PdfFixture(kPages).write(pdf)) return QString();
    auto source = std::make_shared<FlashPageSourcePDF>(pdf, QStringLiteral("ALL"), 144, 85, 1);
    source->setZoomPictures(true);
    source->setPictureFormat(PictureFormat::Auto);
    source->generatePages();
    source->generateNormalPages();
    return publishPages(m_dir.filePath(name), QStringLiteral("float"), source, QSize(612, 792));
  }

  // True once the first page picture shows `src`, loaded (`width` pixels wide, or any).
  static QString pictureShown(const QString& src, int width) {
    return QStringLiteral(
               "(function () { var i = document.querySelector('img.fv-picture');"
               " return !!i && i.getAttribute('src') === '%1' && i.complete && i.naturalWidth > 0 && (%2 === 0 || "
               "i.naturalWidth === %2); })()")
        .arg(src)
        .arg(width);
  }

  void zoomTo200() {
    js(QStringLiteral("document.querySelector('.fv-zoom-in').click(); document.querySelector('.fv-zoom-in').click()"));
  }

  // [left, top, width, height] of the first element a selector finds.
  QList<double> rect(const QString& selector) {
    const QVariantList r =
        js(QStringLiteral("(function () { var e = document.querySelector('%1'); if (!e) return [];"
                          " var r = e.getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; })()")
               .arg(selector))
            .toList();
    QList<double> out;
    for (const QVariant& v : r) out << v.toDouble();
    return out;
  }

  // Synthetic touch in the page, timed there (a test's round trips are slow under load):
  // one finger from (x, y) moved by dx in `steps` moves `ms` apart and lifted with the
  // last move, or `holdMs` after it. The moves are paced by a busy wait in one task, as
  // timers of a loaded machine stretch a quick flick into a slow drag.
  void swipe(double x, double y, double dx, int steps, int ms, int holdMs = 0) {
    js(QStringLiteral(
           "(function () { window.fvTouchDone = false; var book = document.querySelector('.fv-book');"
           " function ev(type, px) { book.dispatchEvent(new PointerEvent(type, { pointerId: 7, pointerType: 'touch',"
           " isPrimary: true, clientX: px, clientY: %2, button: 0, buttons: type === 'pointerup' ? 0 : 1,"
           " bubbles: true, cancelable: true })); }"
           " function up() { ev('pointerup', %1 + %3); window.fvTouchDone = true; }"
           " ev('pointerdown', %1);"
           " for (var i = 1; i <= %4; i++) { var end = performance.now() + %5; while (performance.now() < end) {}"
           " ev('pointermove', %1 + %3 * i / %4); }"
           " if (%6 > 0) setTimeout(up, %6); else up(); })()")
           .arg(x)
           .arg(y)
           .arg(dx)
           .arg(steps)
           .arg(ms)
           .arg(holdMs));
    QVERIFY(waitFor(QStringLiteral("window.fvTouchDone")));
  }

  // Two touch taps at (x, y), 60 ms apart.
  void doubleTap(double x, double y) {
    js(QStringLiteral("(function () { window.fvTouchDone = false; var book = document.querySelector('.fv-book');"
                      " function tap() { ['pointerdown', 'pointerup'].forEach(function (type) { book.dispatchEvent(new "
                      "PointerEvent(type, {"
                      " pointerId: 9, pointerType: 'touch', isPrimary: true, clientX: %1, clientY: %2, button: 0,"
                      " buttons: type === 'pointerup' ? 0 : 1, bubbles: true, cancelable: true })); }); }"
                      " tap(); setTimeout(function () { tap(); window.fvTouchDone = true; }, 60); })()")
           .arg(x)
           .arg(y));
    QVERIFY(waitFor(QStringLiteral("window.fvTouchDone")));
  }

  bool zoomed() { return !js(QStringLiteral("document.querySelector('.fv-zoom-out').disabled")).toBool(); }

  // Prints the page to a PDF as the browser's print command would; returns its pages.
  int printToPdf() {
    const QString path = m_dir.filePath(QStringLiteral("print.pdf"));
    QFile::remove(path);
    QSignalSpy done(m_page, &QWebEnginePage::pdfPrintingFinished);
    m_page->printToPdf(path);
    if (!done.wait(20000) || !done.first().at(1).toBool()) return -1;
    return pdfPages(path);
  }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    const QString pictures = m_dir.filePath(QStringLiteral("pictures"));
    QDir().mkpath(pictures);
    QStringList files;
    for (int n = 1; n <= kPages; ++n) files << writePicture(pictures, n, pageSize(n));
    m_book = publishBook(m_dir.filePath(QStringLiteral("book")), QStringLiteral("float"), files);
    QVERIFY(!m_book.isEmpty());
    QVERIFY(addPageFiles(m_book));
    startView();
  }

  void aLandscapePageKeepsItsShape() {
    open(bookUrl(m_book, QStringLiteral("page=3")));
    QCOMPARE(view(), QStringLiteral("[1,2]"));
    const QString page = QStringLiteral(".fv-page[data-page=\"3\"]");
    const QString shaped = QStringLiteral(
                               "(function () { var r = document.querySelector('%1').getBoundingClientRect();"
                               " return Math.abs(r.width / r.height - 4 / 3) < 0.02; })()")
                               .arg(page);
    QVERIFY2(waitFor(shaped), qPrintable(QString::number(rect(page).at(2) / rect(page).at(3))));
    // Fitted across its slot and centred in it, not stretched to the book's shape.
    const QList<double> slot = rect(QStringLiteral(".fv-side-right")), box = rect(page);
    QVERIFY(qAbs(box[0] - slot[0]) < 1 && qAbs(box[2] - slot[2]) < 1);
    QVERIFY2(qAbs((box[1] - slot[1]) - (slot[1] + slot[3] - box[1] - box[3])) < 1.5,
             qPrintable(QString::number(box[1] - slot[1])));
    // Its link area lies on the picture.
    const QList<double> link = rect(page + QStringLiteral(" a.fv-link"));
    QCOMPARE(link.size(), 4);
    const double want[4] = {0.2, 0.2, 0.2, 0.1};
    const double got[4] = {(link[0] - box[0]) / box[2], (link[1] - box[1]) / box[3], link[2] / box[2],
                           link[3] / box[3]};
    for (int i = 0; i < 4; ++i) QVERIFY2(qAbs(got[i] - want[i]) < 0.01, qPrintable(QString::number(got[i])));

    // On the turning leaf: the leaf is built in the same script as the turn starts.
    const QString size =
        js(QStringLiteral("(function () { folivoxPlayer.next(); var f = document.querySelector('.fv-leaf .fv-front');"
                          " return f ? f.style.backgroundSize : ''; })()"))
            .toString();
    const QStringList wh =
        size.section(QLatin1Char(','), 0, 0).remove(QStringLiteral("px")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(wh.size(), 2);
    QVERIFY2(qAbs(wh[0].toDouble() / wh[1].toDouble() - 4.0 / 3) < 0.02, qPrintable(size));
    QVERIFY(settled());

    // In the thumbnail strip.
    click(QStringLiteral(".fv-thumbnails"));
    const QString thumb = QStringLiteral(".fv-thumb[data-page=\"2\"] .fv-thumb-img");
    QVERIFY(waitFor(
        QStringLiteral(
            "(function () { var i = document.querySelector('%1'); return i && i.complete && i.naturalWidth > 0; })()")
            .arg(thumb)));
    QVERIFY(waitFor(QStringLiteral("(function () { var r = document.querySelector('%1').getBoundingClientRect();"
                                   " return Math.abs(r.width / r.height - 4 / 3) < 0.06; })()")
                        .arg(thumb)));
    click(QStringLiteral(".fv-thumbnails"));

    // Zoomed.
    js(QStringLiteral("folivoxPlayer.goTo(2)"));
    QVERIFY(settled());
    click(QStringLiteral(".fv-zoom-in"));
    QVERIFY(waitFor(QStringLiteral("document.getElementById('folivox').classList.contains('fv-zoomed')")));
    QVERIFY(waitFor(shaped));
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QStringLiteral(" | "))));
  }

  void zoomPicturesOnlyForPagesOnScreen() {
    TinyWebServer server(m_book);
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const auto asked = [&server](const QString& folder) {
      QStringList out;
      for (const QString& path : server.requested)
        if (path.startsWith(folder)) out << path;
      return out;
    };
    open(QUrl(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.serverPort())));
    QCOMPARE(view(), QStringLiteral("[0]"));
    QVERIFY(asked(QStringLiteral("/files/large/")).isEmpty());
    // 200 %: the zoom picture of the cover, the one page on screen, and no other.
    zoomTo200();
    QVERIFY2(waitFor(QStringLiteral(
                 "document.querySelector('img.fv-picture').getAttribute('src') === './files/large/1.jpg'")),
             qPrintable(server.requested.join(u' ')));
    QStringList large = asked(QStringLiteral("/files/large/"));
    large.removeDuplicates();  // loaded aside, then shown: twice from a server that forbids caching
    QCOMPARE(large, QStringList{QStringLiteral("/files/large/1.jpg")});
    QVERIFY(waitFor(QStringLiteral("document.querySelector('img.fv-picture').naturalWidth === 1200")));
    js(QStringLiteral(
        "document.querySelector('.fv-zoom-out').click(); document.querySelector('.fv-zoom-out').click()"));

    // The strip shows thumbnails; page pictures stay those near the open spread.
    click(QStringLiteral(".fv-thumbnails"));
    QVERIFY(waitFor(
        QStringLiteral("[].every.call(document.querySelectorAll('.fv-thumb-img'), function (i) { return i.complete; })"
                       " && document.querySelectorAll('.fv-thumb-img').length === %1")
            .arg(kPages)));
    // Each once for the strip (the cover's also stood in while its picture loaded).
    QStringList thumbs = asked(QStringLiteral("/files/thumb/"));
    thumbs.removeDuplicates();
    QCOMPARE(thumbs.size(), kPages);
    QVERIFY2(!asked(QStringLiteral("/files/page/")).contains(QStringLiteral("/files/page/8.jpg")),
             qPrintable(server.requested.join(u' ')));
    QVERIFY(m_page->errors.isEmpty());
  }

  void printedLabelsShowAndLead() {
    open(bookUrl(m_book));
    const QString field = QStringLiteral("document.querySelector('.fv-pageinput').value");
    QCOMPARE(js(field).toString(), QStringLiteral("i"));
    QCOMPARE(js(QStringLiteral("folivoxPlayer.labelOf(2)")).toString(), QStringLiteral("1"));
    js(QStringLiteral("folivoxPlayer.next()"));
    QVERIFY(settled());
    QCOMPARE(js(field).toString(), QStringLiteral("ii\u20131"));
    click(QStringLiteral(".fv-contents"));
    QCOMPARE(
        js(QStringLiteral(
               "[].map.call(document.querySelectorAll('.fv-toc-page'), function (e) { return e.textContent; }).join()"))
            .toString(),
        QStringLiteral("i,1,2,6"));
    press(Qt::Key_Escape);
    QVERIFY(waitFor(QStringLiteral("!document.querySelector('.fv-toc.fv-open')")));
    click(QStringLiteral(".fv-thumbnails"));
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-thumb-label').length === %1").arg(kPages)));
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-thumb[data-page=\"7\"] .fv-thumb-label').textContent"))
                 .toString(),
             QStringLiteral("6"));
    click(QStringLiteral(".fv-thumbnails"));

    // A typed printed label goes to its page.
    js(QStringLiteral("var i = document.querySelector('.fv-pageinput'); i.focus(); i.value = '';"));
    type(QStringLiteral("4"));
    press(Qt::Key_Return);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(5) >= 0")), qPrintable(view()));
    QVERIFY(settled());
    QCOMPARE(js(field).toString(), QStringLiteral("4\u20135"));
    // The field fits the widest pair a 2,000-page book shows.
    QVERIFY(js(QStringLiteral("(function () { var i = document.querySelector('.fv-pageinput'); "
                              "i.style.setProperty('--fv-page-chars', '9');"
                              " i.value = '1000\u20131001'; return i.scrollWidth <= i.clientWidth; })()"))
                .toBool());
    // An address that names no page is set back to the page shown.
    js(QStringLiteral("location.hash = '#page=99'"));
    QVERIFY2(waitFor(QStringLiteral("location.hash === '#page=' + (folivoxPlayer.page() + 1)")),
             qPrintable(js(QStringLiteral("location.hash")).toString()));
    QVERIFY(m_page->errors.isEmpty());
  }

  void touchTurnsAndZooms() {
    open(bookUrl(m_book));
    QCOMPARE(view(), QStringLiteral("[0]"));
    const QList<double> book = rect(QStringLiteral(".fv-book"));
    const double y = book[1] + book[3] / 2;
    // A short quick flick on the cover: 60 px in 40 ms.
    swipe(book[0] + book[2] - 30, y, -60, 4, 10);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 1")), qPrintable(view()));
    QVERIFY(settled());
    // A slow drag past a quarter of the page, held still before letting go.
    const double pageW = rect(QStringLiteral(".fv-side-right")).at(2);
    const QList<double> spread = rect(QStringLiteral(".fv-book"));
    swipe(spread[0] + spread[2] - 20, y, -(pageW / 4 + 30), 10, 40, 150);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 3")), qPrintable(view()));
    QVERIFY(settled());
    // A double tap zooms in on its place, another zooms back out.
    const double cx = spread[0] + spread[2] / 4;
    doubleTap(cx, y);
    QTRY_VERIFY(zoomed());
    // A single tap turns only after the double-tap time: past it, nothing turned.
    catchUp(QStringLiteral("Folivox.gestures.DOUBLE_TAP_MS"));
    QVERIFY(caughtUp());
    QCOMPARE(view(), QStringLiteral("[3,4]"));
    doubleTap(cx, y);
    QTRY_VERIFY(!zoomed());
    // Two fingers spreading apart zoom in.
    js(QStringLiteral("(function () { var book = document.querySelector('.fv-book');"
                      " function ev(type, id, x) { book.dispatchEvent(new PointerEvent(type, { pointerId: id, "
                      "pointerType: 'touch',"
                      " clientX: x, clientY: %2, button: 0, buttons: type === 'pointerup' ? 0 : 1, bubbles: true })); }"
                      " ev('pointerdown', 1, %1 - 50); ev('pointerdown', 2, %1 + 50);"
                      " ev('pointermove', 1, %1 - 110); ev('pointermove', 2, %1 + 110);"
                      " ev('pointerup', 1, %1 - 110); ev('pointerup', 2, %1 + 110); })()")
           .arg(cx)
           .arg(y));
    QTRY_VERIFY(zoomed());
    QCOMPARE(view(), QStringLiteral("[3,4]"));
    QVERIFY(m_page->errors.isEmpty());
  }

  void keyboardReachesEveryPartInOrder() {
    open(bookUrl(m_book));
    // The skip link, then the toolbar, then the page's link areas.
    QStringList order;
    for (int i = 0; i < 20 && !order.contains(QStringLiteral("fv-link")); ++i) {
      const QString before = js(QStringLiteral("String(document.activeElement.outerHTML).slice(0, 200)")).toString();
      press(Qt::Key_Tab);
      QTRY_VERIFY(js(QStringLiteral("String(document.activeElement.outerHTML).slice(0, 200)")).toString() != before);
      order << focused().section(QLatin1Char(' '), -1);
    }
    QCOMPARE(order.value(0), QStringLiteral("fv-skip"));
    // (First and Previous are disabled at the cover.)
    for (const char* tool : {"fv-pageinput", "fv-far-right", "fv-contents", "fv-zoom-in", "fv-print-button"})
      QVERIFY2(order.indexOf(QLatin1String(tool)) > 0, qPrintable(order.join(u' ')));
    QCOMPARE(order.last(), QStringLiteral("fv-link"));

    // After a page link, the focus is on the page it opened.
    js(QStringLiteral("document.querySelector('a.fv-link[href=\"#page=5\"]').focus()"));
    press(Qt::Key_Return);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(4) >= 0")), qPrintable(view()));
    QVERIFY(settled());
    QVERIFY2(waitFor(QStringLiteral("document.activeElement.getAttribute('data-page') === '5'")),
             qPrintable(focused()));

    // In the contents the keys move within the list; the current section is marked.
    click(QStringLiteral(".fv-contents"));
    const QString entry = QStringLiteral("(document.activeElement.querySelector('.fv-toc-title') || {}).textContent");
    QCOMPARE(js(entry).toString(), QStringLiteral("Section 1.1 & more"));
    QCOMPARE(js(QStringLiteral("document.activeElement.getAttribute('aria-current')")).toString(),
             QStringLiteral("location"));
    // Keys reach the page after a while, in order: wait for what each one does.
    press(Qt::Key_Down);
    QTRY_COMPARE(js(entry).toString(), QStringLiteral("Back cover"));
    press(Qt::Key_Home);
    QTRY_COMPARE(js(entry).toString(), QStringLiteral("Cover"));
    press(Qt::Key_PageDown);
    QTRY_COMPARE(js(entry).toString(), QStringLiteral("Back cover"));
    press(Qt::Key_Home);
    press(Qt::Key_Right);
    press(Qt::Key_End);
    QTRY_COMPARE(js(entry).toString(), QStringLiteral("Back cover"));
    QCOMPARE(view(), QStringLiteral("[3,4]"));
    press(Qt::Key_Escape);
    QVERIFY(waitFor(QStringLiteral("!document.querySelector('.fv-toc.fv-open')")));

    // The thumbnail strip follows the reader on a narrow window.
    m_view->resize(420, 800);
    QVERIFY(waitFor(QStringLiteral("folivoxPlayer.singlePage()")));
    js(QStringLiteral("document.querySelector('.fv-thumbnails').click(); folivoxPlayer.goTo(7)"));
    QVERIFY(settled());
    QVERIFY(
        waitFor(QStringLiteral("(function () { var t = document.querySelector('.fv-thumb[data-page=\"7\"]');"
                               " var s = document.querySelector('.fv-thumbs-scroll').getBoundingClientRect();"
                               " if (!t) return false; var r = t.getBoundingClientRect(); return r.left >= s.left && "
                               "r.right <= s.right; })()")));
    m_view->resize(1200, 800);
    QVERIFY(m_page->errors.isEmpty());
  }

  void printingGivesOnePagePerSheet() {
    open(bookUrl(m_book, QStringLiteral("page=3")));
    QCOMPARE(view(), QStringLiteral("[1,2]"));
    QCOMPARE(printToPdf(), 2);
    // The print button asks for a range of printed labels.
    QSignalSpy asked(m_page, &QWebEnginePage::printRequested);
    click(QStringLiteral(".fv-print-button"));
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-print-dialog.fv-open')")));
    js(QStringLiteral(
        "document.querySelector('.fv-print-from').value = 'ii'; document.querySelector('.fv-print-to').value = '2';"
        " document.querySelector('.fv-print-choice[value=\"range\"]').checked = true;"
        " document.querySelector('.fv-print-go').click()"));
    QTRY_VERIFY_WITH_TIMEOUT(asked.count() == 1, 10000);
    QCOMPARE(js(QStringLiteral("[].map.call(document.querySelectorAll('.fv-print-picture'), function (i) { return "
                               "i.getAttribute('src'); }).join()"))
                 .toString(),
             QStringLiteral("./files/large/2.jpg,./files/large/3.jpg,./files/large/4.jpg"));
    QCOMPARE(printToPdf(), 3);
    // Then the browser's print command prints the spread in view again.
    QCOMPARE(printToPdf(), 2);
    QVERIFY(m_page->errors.isEmpty());
  }

  // A document's book as the publisher makes it by default: WebP pages and, for
  // pages of text, SVG drawings to zoom into; from the disk and over http.
  void webpPagesAndZoomDrawings() {
    const QString book = documentBook(QStringLiteral("doc-book"));
    QVERIFY(!book.isEmpty());
    QVERIFY(QFileInfo::exists(book + QStringLiteral("/files/page/1.webp")) &&
            QFileInfo::exists(book + QStringLiteral("/files/large/1.svg")));
    TinyWebServer server(book);
    QVERIFY(server.listen(QHostAddress::LocalHost));
    for (const QUrl& url :
         {bookUrl(book), QUrl(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.serverPort()))}) {
      open(url);
      QVERIFY2(waitFor(pictureShown(QStringLiteral("./files/page/1.webp"), 1224)), qPrintable(url.toString()));
      zoomTo200();
      QVERIFY2(waitFor(pictureShown(QStringLiteral("./files/large/1.svg"), 0)), qPrintable(url.toString()));
      QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QStringLiteral(" | "))));
    }
    // Nothing of the zoom pages was asked for before the zoom.
    const qsizetype zoomAt = server.requested.indexOf(QStringLiteral("/files/large/1.svg"));
    QVERIFY(zoomAt > server.requested.indexOf(QStringLiteral("/files/page/1.webp")));
  }

  // Without its zoom pages a book plays, and zooming enlarges the page picture.
  void aBookWithoutZoomPagesStillZooms() {
    const QString book = documentBook(QStringLiteral("doc-nozoom"));
    QVERIFY(QDir(book + QStringLiteral("/files/large")).removeRecursively());
    open(bookUrl(book));
    zoomTo200();
    QVERIFY(waitFor(QStringLiteral("document.getElementById('folivox').classList.contains('fv-zoomed')")));
    // The player's load of the zoom page fails; ours of the same address ends after it.
    js(
        QStringLiteral("window.folivoxZoomTried = false; var i = new Image(); i.onload = i.onerror = function () {"
                       " window.folivoxZoomTried = true; }; i.src = folivoxPlayer.model.pages[0].large;"));
    QVERIFY(waitFor(QStringLiteral("window.folivoxZoomTried === true")));
    catchUp();
    QVERIFY(caughtUp());
    QVERIFY(waitFor(pictureShown(QStringLiteral("./files/page/1.webp"), 1224)));
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('.fv-broken').length")).toInt(), 0);
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QStringLiteral(" | "))));
  }

  // A zoom drawing that tries to run a script or fetch something does neither:
  // the player shows it through <img>.
  void hostileZoomDrawingsStayInert() {
    const QString book = documentBook(QStringLiteral("doc-hostile"));
    TinyWebServer server(book);
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QString origin = QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort());
    QVERIFY(writeFile(
        book + QStringLiteral("/files/large/1.svg"),
        ("<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"612pt\""
         " height=\"792pt\" viewBox=\"0 0 612 792\" onload=\"top.folivoxHacked = 'onload'\">"
         "<script>top.folivoxHacked = 'script'; new Image().src = '" +
         origin +
         "/script-ran';</script>"
         "<rect width=\"612\" height=\"792\" fill=\"#ddd\"/>"
         "<image href=\"" +
         origin +
         "/leak.png\" width=\"10\" height=\"10\"/>"
         "<foreignObject width=\"100\" height=\"100\"><iframe xmlns=\"http://www.w3.org/1999/xhtml\" src=\"" +
         origin + "/frame\"/></foreignObject></svg>")
            .toUtf8()));
    for (const QUrl& url : {QUrl(origin + QStringLiteral("/index.html")), bookUrl(book)}) {
      open(url);
      zoomTo200();
      QVERIFY2(waitFor(pictureShown(QStringLiteral("./files/large/1.svg"), 0)), qPrintable(url.toString()));
      // The drawing has loaded: a script of its own would have run by now.
      catchUp();
      QVERIFY(caughtUp());
      QCOMPARE(js(QStringLiteral("String(window.folivoxHacked)")).toString(), QStringLiteral("undefined"));
    }
    for (const QString& path : server.requested)
      QVERIFY2(path.startsWith(QStringLiteral("/index.html")) || path.startsWith(QStringLiteral("/files/")),
               qPrintable(path));
  }

  void cleanupTestCase() { m_view.reset(); }
};

FOLIVOX_PLAYER_TEST_MAIN(TestPlayerPages)

#include "test_player_pages.moc"
