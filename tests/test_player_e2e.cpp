// A book built by the real publisher, with bookmarks and link areas, played by the
// shipped player in the web engine: opened from the disk (file://) and from a small
// web server inside the test, then read the way a reader would.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <pugixml.hpp>
#include <unistd.h>

#include "TestEnv.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "publish/FlashBookOutput.h"
#include "publish/HTMLConfigInfo.h"
#include "templates/FlashTemplate.h"

namespace {

constexpr int kPages = 8;
constexpr int kLoadTimeout = 20000;

// Keeps what the page writes to the console; errors (uncaught exceptions included)
// fail the test.
class RecordingPage : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;
  QStringList errors;
  QStringList all;

 protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                const QString& source) override {
    const QString text = QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(message);
    all << text;
    if (level == ErrorMessageLevel) errors << text;
  }
};

// Serves one folder over HTTP/1.0 on 127.0.0.1, GET only, and notes every path asked for.
class TinyWebServer : public QTcpServer {
 public:
  explicit TinyWebServer(const QString& root) : m_root(QDir(root).canonicalPath()) {
    connect(this, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, s, [this, s] { serve(s); });
        connect(s, &QTcpSocket::disconnected, s, [this, s] {
          m_pending.remove(s);
          s->deleteLater();
        });
      }
    });
  }
  QStringList requested;

 private:
  void serve(QTcpSocket* s) {
    QByteArray& buf = m_pending[s];
    buf += s->readAll();
    if (!buf.contains("\r\n\r\n")) {
      if (buf.size() > 16384) s->abort();
      return;
    }
    const QList<QByteArray> words = buf.left(buf.indexOf("\r\n")).split(' ');
    m_pending.remove(s);
    QByteArray status = "404 Not Found", type = "text/plain", body = "not found";
    if (words.size() >= 2 && words.at(0) == "GET") {
      QString path = QUrl::fromPercentEncoding(words.at(1).split('?').first().split('#').first());
      requested << path;
      if (path.endsWith(QLatin1Char('/'))) path += QStringLiteral("index.html");
      const QString file = QFileInfo(m_root + path).canonicalFilePath();
      QFile f(file);
      if (!file.isEmpty() && file.startsWith(m_root + QLatin1Char('/')) && f.open(QIODevice::ReadOnly)) {
        status = "200 OK";
        body = f.readAll();
        const QString ext = QFileInfo(file).suffix().toLower();
        type = ext == u"html"  ? "text/html; charset=utf-8"
               : ext == u"js"  ? "text/javascript"
               : ext == u"jpg" ? "image/jpeg"
               : ext == u"png" ? "image/png"
                               : "application/octet-stream";
      }
    } else {
      status = "405 Method Not Allowed";
    }
    s->write("HTTP/1.0 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
             QByteArray::number(body.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body);
    s->disconnectFromHost();
  }

  QString m_root;
  QHash<QTcpSocket*, QByteArray> m_pending;
};

// A page picture with its number on it, in a colour of its own.
QString writePicture(const QString& folder, int number) {
  QImage img(600, 800, QImage::Format_RGB32);
  img.fill(QColor::fromHsv((number * 47) % 360, 60, 245));
  QPainter p(&img);
  p.setPen(Qt::black);
  QFont font = p.font();
  font.setPixelSize(220);
  p.setFont(font);
  p.drawText(img.rect(), Qt::AlignCenter, QString::number(number));
  p.end();
  const QString path = QStringLiteral("%1/picture-%2.jpg").arg(folder).arg(number);
  img.save(path, "JPEG", 80);
  return path;
}

std::unique_ptr<FlashOutlineItem> bookmark(const QString& caption, qint32 page, qint32 level) {
  auto item = std::make_unique<FlashOutlineItem>();
  item->setCaption(caption);
  item->setPageIndex(page);
  item->setLevel(level);
  return item;
}

// Link areas as the importer writes them: on page 1 a web link, a link to page 5 and
// two that must not become links (a script address and a page outside the book);
// on page 3 a mail link.
std::shared_ptr<FlashPagesAnnotations> linkAreas() {
  const auto anno = [](const QString& action, const QString& target, const char* loc) {
    const bool url = action == QLatin1String(FlashPagesAnnotationsPDF::kOpenUrlAction);
    return QStringLiteral("<anno annotype=\"%1\"><action triggerEventType=\"mouseDown\" actionType=\"%2\">%3</action>"
                          "<location %4/></anno>")
        .arg(QLatin1String(FlashPagesAnnotationsPDF::kLinkType), action,
             url ? QStringLiteral("<url>%1</url>").arg(target) : QStringLiteral("<pageIndex>%1</pageIndex>").arg(target),
             QLatin1String(loc));
  };
  const QString web = QLatin1String(FlashPagesAnnotationsPDF::kOpenUrlAction);
  const QString go = QLatin1String(FlashPagesAnnotationsPDF::kGotoPageAction);
  const QString xml =
      QStringLiteral("<pagesAnnos><pageAnnos pageIndex=\"1\">") +
      anno(web, QStringLiteral("https://example.org/folivox?a=1&amp;b=2"),
           R"(x="0.100000" y="0.100000" width="0.300000" height="0.050000")") +
      anno(go, QStringLiteral("5"), R"(x="0.500000" y="0.800000" width="0.400000" height="0.100000")") +
      anno(web, QStringLiteral("javascript:alert(1)"), R"(x="0.100000" y="0.300000" width="0.300000" height="0.050000")") +
      anno(go, QStringLiteral("99"), R"(x="0.100000" y="0.400000" width="0.300000" height="0.050000")") +
      QStringLiteral("</pageAnnos><pageAnnos pageIndex=\"3\">") +
      anno(web, QStringLiteral("mailto:books@example.org"), R"(x="0.200000" y="0.200000" width="0.200000" height="0.100000")") +
      QStringLiteral("</pageAnnos></pagesAnnos>");
  pugi::xml_document doc;
  const QByteArray utf8 = xml.toUtf8();
  if (!doc.load_buffer(utf8.constData(), static_cast<size_t>(utf8.size()))) return nullptr;
  auto annotations = std::make_shared<FlashPagesAnnotations>();
  annotations->setPagesAnnotationsNode(doc.document_element());
  return annotations;
}

}  // namespace

class TestPlayerE2E : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;
  QStringList m_pictures;
  std::unique_ptr<QWebEngineView> m_view;
  RecordingPage* m_page = nullptr;

  // Publishes the test book with a template; returns the book folder.
  QString publish(const QString& tmplName) {
    auto pages = std::make_shared<FlashPageSourceImg>();
    for (const QString& p : m_pictures) pages->addImgPageFromFile(p);
    pages->generateNormalPages();
    auto tmpl = std::make_shared<FlashTemplate>(tmplName);
    if (!tmpl->loadError().isEmpty()) return QString();
    tmpl->loadStyleByStyleName(tmpl->defaultSytleName());
    tmpl->setPropertyValue(QStringLiteral("pageWidth"), QStringLiteral("600"));
    tmpl->setPropertyValue(QStringLiteral("pageHeight"), QStringLiteral("800"));
    tmpl->setPropertyValue(QStringLiteral("bookTitle"), QStringLiteral("Player check"));

    auto outline = std::make_shared<FlashOutline>();
    FlashOutlineItems top;
    top.push_back(bookmark(QStringLiteral("Cover"), 1, 1));
    auto chapter = bookmark(QStringLiteral("Chapter One"), 3, 1);
    FlashOutlineItem* section = chapter->addChild(bookmark(QStringLiteral("Section 1.1 & more"), 4, 2));
    section->setParent(chapter.get());
    top.push_back(std::move(chapter));
    top.push_back(bookmark(QStringLiteral("Not in this book"), 99, 1));
    top.push_back(bookmark(QStringLiteral("Back cover"), kPages, 1));
    outline->setItems(std::move(top));

    const QString folder = m_dir.filePath(QStringLiteral("book-") + tmplName);
    if (!QDir().mkpath(folder)) return QString();
    FlashBookOutput out(pages, tmpl, folder, QStringLiteral("index.html"));
    out.setFlashOutline(outline);
    out.setFlashPagesAnnotations(linkAreas());
    auto html = std::make_shared<HTMLConfigInfo>();
    html->setHTMLTitle(QStringLiteral("Player check"));
    out.setHTMLConfig(html);
    out.ouputTheBook();
    return out.succeeded() ? folder : QString();
  }

  QVariant js(const QString& script) {
    // The answer may come after we gave up waiting: it then lands in state that
    // outlives this call instead of in a finished stack frame.
    struct Answer {
      QVariant value;
      bool done = false;
    };
    auto answer = std::make_shared<Answer>();
    m_page->runJavaScript(script, [answer](const QVariant& v) {
      answer->value = v;
      answer->done = true;
    });
    QElapsedTimer t;
    t.start();
    while (!answer->done && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return answer->value;
  }

  // A key press as the reader makes it. After a load the view may have a new render
  // widget, and a key sent before it has focus is lost.
  void press(Qt::Key key) {
    m_view->activateWindow();
    m_view->setFocus();
    QTRY_VERIFY(m_view->focusProxy() && m_view->focusProxy()->hasFocus());
    QTest::keyClick(m_view->focusProxy(), key);
  }

  // Waits until a script expression is true (the engine does not await promises,
  // so the test polls what the player sets).
  bool waitFor(const QString& expression, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      if (js(QStringLiteral("!!(%1)").arg(expression)).toBool()) return true;
      QTest::qWait(30);
    }
    return false;
  }

  // Loads a document; scripts run in the old one until the new one has arrived.
  void navigate(const QUrl& url) {
    QSignalSpy finished(m_page, &QWebEnginePage::loadFinished);
    m_page->load(url);
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, kLoadTimeout);
  }

  // Opens a book afresh (a blank page first, so a deep link into the open book is a
  // new load and not a jump) and waits for its first spread.
  void open(const QUrl& url) {
    navigate(QUrl(QStringLiteral("about:blank")));
    m_page->errors.clear();
    m_page->all.clear();
    navigate(url);
    QVERIFY2(waitFor(QStringLiteral("window.folivoxState && window.folivoxState !== 'loading'"), kLoadTimeout),
             qPrintable(url.toString() + QStringLiteral(" did not load; console: ") + m_page->all.join(QStringLiteral(" | "))));
    QCOMPARE(js(QStringLiteral("window.folivoxState + ' ' + (window.folivoxError || '')")).toString(), QStringLiteral("ready "));
  }

  QString view() { return js(QStringLiteral("JSON.stringify(folivoxPlayer.pagesInView())")).toString(); }
  bool settled() { return waitFor(QStringLiteral("!document.querySelector('.fv-leaf')")); }

  // Everything a reader meets, on a book already open at its cover.
  void readTheBook() {
    // The cover stands alone; its picture is in the page and has loaded.
    QCOMPARE(view(), QStringLiteral("[0]"));
    QVERIFY(waitFor(QStringLiteral("[].every.call(document.querySelectorAll('img.fv-picture'), "
                                   "function (i) { return i.complete && i.naturalWidth === 600; })")));
    QCOMPARE(js(QStringLiteral("[].map.call(document.querySelectorAll('img.fv-picture'), "
                               "function (i) { return i.getAttribute('src'); }).join()"))
                 .toString(),
             QStringLiteral("./files/page/1.jpg"));
    QCOMPARE(js(QStringLiteral("folivoxPlayer.pageCount()")).toInt(), kPages);

    // Link areas on the cover: the web link and the page link, nothing else.
    const QStringList links =
        js(QStringLiteral("[].map.call(document.querySelectorAll('a.fv-link'), function (a) {"
                          " return [a.getAttribute('href'), a.target, a.rel, a.tabIndex].join(' '); })"))
            .toStringList();
    QCOMPARE(links, QStringList({QStringLiteral("https://example.org/folivox?a=1&b=2 _blank noopener noreferrer 0"),
                                 QStringLiteral("#page=5   0")}));
    // Placed by their fractions of the page.
    const QVariantList box =
        js(QStringLiteral("(function () { var p = document.querySelector('.fv-page').getBoundingClientRect();"
                          " var a = document.querySelector('a.fv-link').getBoundingClientRect();"
                          " return [(a.left - p.left) / p.width, (a.top - p.top) / p.height, a.width / p.width,"
                          " a.height / p.height]; })()"))
            .toList();
    QCOMPARE(box.size(), 4);
    const double want[4] = {0.1, 0.1, 0.3, 0.05};
    for (int i = 0; i < 4; ++i) QVERIFY2(qAbs(box.at(i).toDouble() - want[i]) < 0.01, qPrintable(box.at(i).toString()));

    // The contents: entries in order, nested, the one outside the book left out.
    QVERIFY(js(QStringLiteral("!!document.querySelector('.fv-contents')")).toBool());
    js(QStringLiteral("document.querySelector('.fv-contents').click()"));
    QCOMPARE(js(QStringLiteral("[].map.call(document.querySelectorAll('.fv-toc-entry'), function (e) {"
                               " return e.querySelector('.fv-toc-title').textContent + '@' + e.getAttribute('href'); })"))
                 .toStringList(),
             QStringList({QStringLiteral("Cover@#page=1"), QStringLiteral("Chapter One@#page=3"),
                          QStringLiteral("Section 1.1 & more@#page=4"), QStringLiteral("Back cover@#page=8")}));
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('.fv-toc-list .fv-toc-list .fv-toc-entry').length")).toInt(), 1);
    js(QStringLiteral("document.querySelector('.fv-toc-close').click()"));

    // A key press turns the page, and the address follows.
    m_view->setFocus();
    press(Qt::Key_Right);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 1")), qPrintable(view()));
    QVERIFY(settled());
    QCOMPARE(view(), QStringLiteral("[1,2]"));
    QCOMPARE(js(QStringLiteral("location.hash")).toString(), QStringLiteral("#page=2"));
    press(Qt::Key_End);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(7) >= 0")), qPrintable(view()));
    QVERIFY(settled());

    // A deep link moves the book; the page link on the cover leads to page 5.
    js(QStringLiteral("location.hash = '#page=3'"));
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(2) >= 0")), qPrintable(view()));
    QVERIFY(settled());
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('a.fv-link[href^=\"mailto:\"]').length")).toInt(), 1);
    press(Qt::Key_Home);
    QVERIFY(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 0")));
    QVERIFY(settled());
    js(QStringLiteral("document.querySelector('a.fv-link[href=\"#page=5\"]').click()"));
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(4) >= 0")), qPrintable(view()));
    QVERIFY(settled());

    // Only the open spread's pictures are in the document.
    QVERIFY(js(QStringLiteral("document.querySelectorAll('img.fv-picture').length")).toInt() <= 2);
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QStringLiteral(" | "))));
  }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    const QString pictures = m_dir.filePath(QStringLiteral("pictures"));
    QDir().mkpath(pictures);
    for (int i = 1; i <= kPages; ++i) m_pictures << writePicture(pictures, i);
    m_view = std::make_unique<QWebEngineView>();
    m_page = new RecordingPage(m_view.get());
    m_view->setPage(m_page);
    m_view->resize(1200, 800);
    m_view->show();
  }

  void playsFromTheDisk() {
    const QString book = publish(QStringLiteral("float"));
    QVERIFY(!book.isEmpty());
    QVERIFY(QFile::exists(book + QStringLiteral("/files/book.bin.js")));
    open(QUrl::fromLocalFile(book + QStringLiteral("/index.html")));
    readTheBook();
  }

  void playsFromAWebServer() {
    const QString book = publish(QStringLiteral("float"));
    QVERIFY(!book.isEmpty());
    TinyWebServer server(book);
    QVERIFY(server.listen(QHostAddress::LocalHost));
    open(QUrl(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.serverPort())));
    // Over http the player asks for book.bin itself.
    QVERIFY2(server.requested.contains(QStringLiteral("/files/book.bin")), qPrintable(server.requested.join(u' ')));
    readTheBook();
    if (QTest::currentTestFailed()) return;

    // A deep link in the address opens the book at that page.
    open(QUrl(QStringLiteral("http://127.0.0.1:%1/index.html#page=6").arg(server.serverPort())));
    QCOMPARE(view(), QStringLiteral("[5,6]"));
    QVERIFY(m_page->errors.isEmpty());

    // A damaged book.bin gives a message in the page, not a blank page.
    QFile bin(book + QStringLiteral("/files/book.bin"));
    QVERIFY(bin.open(QIODevice::ReadWrite));
    bin.seek(40);
    bin.write("damage damage damage");
    bin.close();
    navigate(QUrl(QStringLiteral("about:blank")));
    navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.serverPort())));
    QVERIFY(waitFor(QStringLiteral("window.folivoxState === 'error'"), kLoadTimeout));
    QVERIFY(js(QStringLiteral("document.querySelector('.fv-message').textContent")).toString().contains(QLatin1String("damaged")));
  }

  void everyTemplatePlays_data() {
    QTest::addColumn<QString>("tmpl");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<bool>("hardCover");
    QTest::newRow("float") << QStringLiteral("float") << QStringLiteral("float") << false;
    QTest::newRow("classic") << QStringLiteral("classic") << QStringLiteral("classic") << true;
    QTest::newRow("slate") << QStringLiteral("slate") << QStringLiteral("slate") << false;
  }

  void everyTemplatePlays() {
    QFETCH(QString, tmpl);
    QFETCH(QString, skin);
    QFETCH(bool, hardCover);
    const QString book = publish(tmpl);
    QVERIFY(!book.isEmpty());
    open(QUrl::fromLocalFile(book + QStringLiteral("/index.html")));
    QCOMPARE(js(QStringLiteral("document.getElementById('folivox').getAttribute('data-skin')")).toString(), skin);
    QCOMPARE(js(QStringLiteral("!!document.querySelector('.fv-page.fv-hard')")).toBool(), hardCover);
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-title').textContent")).toString(), QStringLiteral("Player check"));
    // The book stays clear of the title and the toolbar.
    QVERIFY(js(QStringLiteral("(function () { var b = document.querySelector('.fv-page').getBoundingClientRect();"
                              " var t = document.querySelector('.fv-title').getBoundingClientRect();"
                              " var bar = document.querySelector('.fv-bar').getBoundingClientRect();"
                              " var over = function (a, c) { return a.left < c.right && c.left < a.right && a.top < c.bottom && c.top < a.bottom; };"
                              " return !over(b, t) && !over(b, bar); })()"))
                .toBool());
    press(Qt::Key_PageDown);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 1")), qPrintable(view()));
    QVERIFY(settled());
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QStringLiteral(" | "))));
  }

  void cleanupTestCase() {
    m_view.reset();
  }
};

int main(int argc, char** argv) {
  TestEnv env;
  // The web engine refuses to start as root with its sandbox on (as in CI).
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication qapp(argc, argv);
  env.install();
  TestPlayerE2E tc;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&tc, argc, argv);
}

#include "test_player_e2e.moc"
