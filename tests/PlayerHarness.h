// What the player's browser tests share: a web page that keeps the console, a small
// web server, page pictures, the test book as the real publisher writes it, and a
// driver that opens books in the web engine (Chromium 102 in Qt 6.4), runs scripts
// in them, presses keys and waits for the player.
#pragma once

#include <unistd.h>

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

#include "TestEnv.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "publish/FlashBookOutput.h"
#include "publish/HTMLConfigInfo.h"
#include "templates/FlashTemplate.h"

namespace player_test {

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
        type = ext == u"html"   ? "text/html; charset=utf-8"
               : ext == u"js"   ? "text/javascript"
               : ext == u"jpg"  ? "image/jpeg"
               : ext == u"png"  ? "image/png"
               : ext == u"webp" ? "image/webp"
               : ext == u"svg"  ? "image/svg+xml"
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

// A page picture with its number on it, in a colour of its own, in
// folder/NAME-number.jpg, or folder/number.jpg when NAME is empty.
inline QString writePicture(const QString& folder, int number, QSize size = QSize(600, 800),
                            const QString& name = QStringLiteral("picture")) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(QColor::fromHsv((number * 47) % 360, 60, 245));
  QPainter p(&img);
  p.setPen(Qt::black);
  QFont font = p.font();
  font.setPixelSize(size.height() * 11 / 40);
  p.setFont(font);
  p.drawText(img.rect(), Qt::AlignCenter, QString::number(number));
  p.end();
  const QString path = name.isEmpty() ? QStringLiteral("%1/%2.jpg").arg(folder).arg(number)
                                      : QStringLiteral("%1/%2-%3.jpg").arg(folder, name).arg(number);
  img.save(path, "JPEG", 80);
  return path;
}

// Pictures for pages 1 to count (writePicture), in a folder made for them.
inline QStringList writePictures(const QString& folder, int count) {
  QDir().mkpath(folder);
  QStringList out;
  for (int i = 1; i <= count; ++i) out << writePicture(folder, i);
  return out;
}

inline std::unique_ptr<FlashOutlineItem> bookmark(const QString& caption, qint32 page, qint32 level) {
  auto item = std::make_unique<FlashOutlineItem>();
  item->setCaption(caption);
  item->setPageIndex(page);
  item->setLevel(level);
  return item;
}

// Link areas as the importer writes them: on page 1 a web link, a link to page 5 and
// two that must not become links (a script address and a page outside the book);
// on page 3 a mail link.
inline std::shared_ptr<FlashPagesAnnotations> linkAreas() {
  const auto anno = [](const QString& action, const QString& target, const char* loc) {
    const bool url = action == QLatin1String(FlashPagesAnnotationsPDF::kOpenUrlAction);
    return QStringLiteral(
               "<anno annotype=\"%1\"><action triggerEventType=\"mouseDown\" actionType=\"%2\">%3</action>"
               "<location %4/></anno>")
        .arg(
            QLatin1String(FlashPagesAnnotationsPDF::kLinkType), action,
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
      anno(web, QStringLiteral("javascript:alert(1)"),
           R"(x="0.100000" y="0.300000" width="0.300000" height="0.050000")") +
      anno(go, QStringLiteral("99"), R"(x="0.100000" y="0.400000" width="0.300000" height="0.050000")") +
      QStringLiteral("</pageAnnos><pageAnnos pageIndex=\"3\">") +
      anno(web, QStringLiteral("mailto:books@example.org"),
           R"(x="0.200000" y="0.200000" width="0.200000" height="0.100000")") +
      QStringLiteral("</pageAnnos></pagesAnnos>");
  pugi::xml_document doc;
  const QByteArray utf8 = xml.toUtf8();
  if (!doc.load_buffer(utf8.constData(), static_cast<size_t>(utf8.size()))) return nullptr;
  auto annotations = std::make_shared<FlashPagesAnnotations>();
  annotations->setPagesAnnotationsNode(doc.document_element());
  return annotations;
}

// Publishes the test book (its outline, link areas and title) from `pages` with a
// template into folder, as the desktop program does; returns folder, or an empty
// string when something failed. With FOLIVOX_TEST_PLAYER_PAGE set (the readable
// player page the build writes), the book's page is made from that page instead of
// the template's minified one, so the same tests run on the sources.
inline QString publishPages(const QString& folder, const QString& tmplName, std::shared_ptr<FlashPageSource> pages,
                            QSize pageSize = QSize(600, 800)) {
  auto tmpl = std::make_shared<FlashTemplate>(tmplName);
  if (!tmpl->loadError().isEmpty()) return QString();
  tmpl->loadStyleByStyleName(tmpl->defaultSytleName());
  tmpl->setPropertyValue(QStringLiteral("pageWidth"), QString::number(pageSize.width()));
  tmpl->setPropertyValue(QStringLiteral("pageHeight"), QString::number(pageSize.height()));
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

  if (!QDir().mkpath(folder)) return QString();
  FlashBookOutput out(pages, tmpl, folder, QStringLiteral("index.html"));
  out.setFlashOutline(outline);
  out.setFlashPagesAnnotations(linkAreas());
  auto html = std::make_shared<HTMLConfigInfo>();
  html->setHTMLTitle(QStringLiteral("Player check"));
  out.setHTMLConfig(html);
  out.ouputTheBook();
  if (!out.succeeded()) return QString();
  const QString readable = qEnvironmentVariable("FOLIVOX_TEST_PLAYER_PAGE");
  if (!readable.isEmpty()) {
    HTMLConfigInfo config = *html;
    config.setHTMLBookText(out.indexSection());
    QString error;
    if (!config.generateHTMLFrom(readable, folder + QStringLiteral("/index.html"), &error)) return QString();
  }
  return folder;
}

// A published book's page from the disk, at `fragment` ("page=3") when one is given.
inline QUrl bookUrl(const QString& book, const QString& fragment = QString()) {
  QUrl url = QUrl::fromLocalFile(book + QStringLiteral("/index.html"));
  if (!fragment.isEmpty()) url.setFragment(fragment);
  return url;
}

// The test book from pictures (publishPages).
inline QString publishBook(const QString& folder, const QString& tmplName, const QStringList& pictures) {
  auto pages = std::make_shared<FlashPageSourceImg>();
  for (const QString& p : pictures) pages->addImgPageFromFile(p);
  pages->generateNormalPages();
  return publishPages(folder, tmplName, pages);
}

// Opens books in a web view and talks to the player. Its checks fail the test that
// is running, as QVERIFY does in the test itself.
class PlayerDriver {
 protected:
  std::unique_ptr<QWebEngineView> m_view;
  RecordingPage* m_page = nullptr;

  void startView() {
    m_view = std::make_unique<QWebEngineView>();
    m_page = new RecordingPage(m_view.get());
    m_view->setPage(m_page);
    m_view->resize(1200, 800);
    m_view->show();
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
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    m_view->activateWindow();
    m_view->setFocus();
    QTRY_VERIFY(m_view->focusProxy() && m_view->focusProxy()->hasFocus());
    QTest::keyClick(m_view->focusProxy(), key, modifiers);
  }

  // Types text into what has the focus in the page.
  void type(const QString& text) {
    m_view->activateWindow();
    m_view->setFocus();
    QTRY_VERIFY(m_view->focusProxy() && m_view->focusProxy()->hasFocus());
    QTest::keyClicks(m_view->focusProxy(), text);
  }

  // The class of the element that has the focus in the page.
  QString focused() {
    return js(QStringLiteral("document.activeElement ? document.activeElement.className : ''")).toString();
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
  // The engine's renderer now and then crashes as one page replaces another (seen
  // about one load in twenty offscreen, before the new page asked for anything but
  // itself); the load is then tried again in a fresh renderer.
  void navigate(const QUrl& url) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      QSignalSpy finished(m_page, &QWebEnginePage::loadFinished);
      QSignalSpy crashed(m_page, &QWebEnginePage::renderProcessTerminated);
      m_page->load(url);
      QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, kLoadTimeout);
      if (crashed.isEmpty()) return;
      qWarning() << "the renderer stopped while loading" << url << "- loading it again";
    }
  }

  // Opens a book afresh (a blank page first, so a deep link into the open book is a
  // new load and not a jump) and waits for its first spread.
  void open(const QUrl& url) {
    navigate(QUrl(QStringLiteral("about:blank")));
    m_page->errors.clear();
    m_page->all.clear();
    navigate(url);
    QVERIFY2(waitFor(QStringLiteral("window.folivoxState && window.folivoxState !== 'loading'"), kLoadTimeout),
             qPrintable(url.toString() + QStringLiteral(" did not load; console: ") +
                        m_page->all.join(QStringLiteral(" | "))));
    QCOMPARE(js(QStringLiteral("window.folivoxState + ' ' + (window.folivoxError || '')")).toString(),
             QStringLiteral("ready "));
  }

  // A click on the first element `selector` finds, as a script makes it.
  void click(const QString& selector) { js(QStringLiteral("document.querySelector('%1').click()").arg(selector)); }

  QString view() { return js(QStringLiteral("JSON.stringify(folivoxPlayer.pagesInView())")).toString(); }
  bool settled() { return waitFor(QStringLiteral("!document.querySelector('.fv-leaf')")); }

  // To prove that something does not happen, wait until the page has run what it had
  // scheduled, not for a while. caughtUp() is true once a timer of `delay` ms on the
  // page's own clock (a JavaScript expression, such as a player constant), started by
  // catchUp(), or by the next `type` event after catchUpAfterNext() has been through
  // every handler, has run and a frame has been drawn after it.
  void catchUp(const QString& delay = QStringLiteral("0")) {
    js(QStringLiteral("window.folivoxCaughtUp = false; setTimeout(function () { requestAnimationFrame(function () {"
                      " window.folivoxCaughtUp = true; }); }, %1)")
           .arg(delay));
  }
  // `which` picks the event (a JavaScript condition on `e`): Ctrl+F sends a keydown of
  // Control first.
  void catchUpAfterNext(const QString& type, const QString& which = QStringLiteral("true")) {
    js(QStringLiteral(
           "window.folivoxCaughtUp = false; window.addEventListener('%1', function seen(e) { if (!(%2)) return;"
           " window.removeEventListener('%1', seen, true); setTimeout(function () {"
           " requestAnimationFrame(function () { window.folivoxCaughtUp = true; }); }, 0); }, true)")
           .arg(type, which));
  }
  bool caughtUp() { return waitFor(QStringLiteral("window.folivoxCaughtUp === true")); }
};

}  // namespace player_test

// main() of a player test program: its own home and settings, and the web engine
// started as CI can (as root it refuses its sandbox).
#define FOLIVOX_PLAYER_TEST_MAIN(TestClass)                            \
  int main(int argc, char** argv) {                                    \
    TestEnv env;                                                       \
    if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1"); \
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);        \
    QApplication qapp(argc, argv);                                     \
    env.install();                                                     \
    TestClass tc;                                                      \
    QTEST_SET_MAIN_SOURCE_PATH                                         \
    return QTest::qExec(&tc, argc, argv);                              \
  }
