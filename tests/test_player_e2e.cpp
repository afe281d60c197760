// A book built by the real publisher, with bookmarks and link areas, played by the
// shipped player in the web engine: opened from the disk (file://) and from a small
// web server inside the test, then read the way a reader would.
#include "PlayerHarness.h"

using namespace player_test;

class TestPlayerE2E : public QObject, public PlayerDriver {
  Q_OBJECT
  QTemporaryDir m_dir;
  QStringList m_pictures;

  // Publishes the test book with a template; returns the book folder.
  QString publish(const QString& tmplName) {
    return publishBook(m_dir.filePath(QStringLiteral("book-") + tmplName), tmplName, m_pictures);
  }

  // Everything a reader meets, on a book already open at its cover.
  void readTheBook() {
    // The cover stands alone; its picture is in the page and has loaded.
    QCOMPARE(view(), QStringLiteral("[0]"));
    QVERIFY(
        waitFor(QStringLiteral("[].every.call(document.querySelectorAll('img.fv-picture'), "
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
    click(QStringLiteral(".fv-contents"));
    QCOMPARE(
        js(QStringLiteral("[].map.call(document.querySelectorAll('.fv-toc-entry'), function (e) {"
                          " return e.querySelector('.fv-toc-title').textContent + '@' + e.getAttribute('href'); })"))
            .toStringList(),
        QStringList({QStringLiteral("Cover@#page=1"), QStringLiteral("Chapter One@#page=3"),
                     QStringLiteral("Section 1.1 & more@#page=4"), QStringLiteral("Back cover@#page=8")}));
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('.fv-toc-list .fv-toc-list .fv-toc-entry').length")).toInt(),
             1);
    click(QStringLiteral(".fv-toc-close"));

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
    click(QStringLiteral("a.fv-link[href=\"#page=5\"]"));
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(4) >= 0")), qPrintable(view()));
    QVERIFY(settled());

    // Only the open spread's pictures are in the document.
    QVERIFY(js(QStringLiteral("document.querySelectorAll('img.fv-picture').length")).toInt() <= 2);
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QStringLiteral(" | "))));
  }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    m_pictures = writePictures(m_dir.filePath(QStringLiteral("pictures")), kPages);
    startView();
  }

  void playsFromTheDisk() {
    const QString book = publish(QStringLiteral("float"));
    QVERIFY(!book.isEmpty());
    QVERIFY(QFile::exists(book + QStringLiteral("/files/book.bin.js")));
    open(bookUrl(book));
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
    const QString bin = book + QStringLiteral("/files/book.bin");
    QVERIFY(writeFile(bin, readFile(bin).replace(40, 20, "damage damage damage")));
    navigate(QUrl(QStringLiteral("about:blank")));
    navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.serverPort())));
    QVERIFY(waitFor(QStringLiteral("window.folivoxState === 'error'"), kLoadTimeout));
    QVERIFY(js(QStringLiteral("document.querySelector('.fv-message').textContent"))
                .toString()
                .contains(QLatin1String("damaged")));
  }

  void everyTemplatePlays_data() {
    QTest::addColumn<QString>("tmpl");
    QTest::addColumn<bool>("hardCover");
    QTest::newRow("float") << QStringLiteral("float") << false;
    QTest::newRow("classic") << QStringLiteral("classic") << true;
    QTest::newRow("slate") << QStringLiteral("slate") << false;
  }

  void everyTemplatePlays() {
    QFETCH(QString, tmpl);
    QFETCH(bool, hardCover);
    const QString book = publish(tmpl);
    QVERIFY(!book.isEmpty());
    open(bookUrl(book));
    QCOMPARE(js(QStringLiteral("document.getElementById('folivox').getAttribute('data-skin')")).toString(), tmpl);
    QCOMPARE(js(QStringLiteral("!!document.querySelector('.fv-page.fv-hard')")).toBool(), hardCover);
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-title').textContent")).toString(),
             QStringLiteral("Player check"));
    // The book stays clear of the title and the toolbar.
    QVERIFY(js(QStringLiteral("(function () { var b = document.querySelector('.fv-page').getBoundingClientRect();"
                              " var t = document.querySelector('.fv-title').getBoundingClientRect();"
                              " var bar = document.querySelector('.fv-bar').getBoundingClientRect();"
                              " var over = function (a, c) { return a.left < c.right && c.left < a.right && a.top < "
                              "c.bottom && c.top < a.bottom; };"
                              " return !over(b, t) && !over(b, bar); })()"))
                .toBool());
    press(Qt::Key_PageDown);
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 1")), qPrintable(view()));
    QVERIFY(settled());
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QStringLiteral(" | "))));
  }

  void cleanupTestCase() { m_view.reset(); }
};

FOLIVOX_PLAYER_TEST_MAIN(TestPlayerE2E)

#include "test_player_e2e.moc"
