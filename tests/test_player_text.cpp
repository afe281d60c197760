// The text of a published book in the shipped player, in the web engine from the
// disk (file://): the search panel and its result links, marks on the hits, the
// text layer that a reader selects and copies, the API for pages that embed a
// book, a search in the address, and text that tries to break out of the page.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "PlayerHarness.h"

using namespace player_test;

namespace {

struct Word {
  QString t;
  double x, y, w, h;
  int f;
};

// The words of each page of the test book (pages 6 to 8 are scans: no text). The
// first words lie under the link area of page 1. Page 2 ends a line in a word cut by
// a hyphen; page 3 has a line running down the page; page 5 has text that looks like
// markup.
QList<QList<Word>> bookWords() {
  QList<QList<Word>> pages(kPages);
  pages[0] = {
      {"Folivox", 0.2, 0.1, 0.25, 0.05, 0}, {"Reader", 0.47, 0.1, 0.2, 0.05, 0}, {"Guide", 0.69, 0.1, 0.17, 0.05, 3}};
  pages[1] = {{"The", 0.1, 0.3, 0.08, 0.03, 0},        {"quick", 0.2, 0.3, 0.13, 0.03, 0},
              {"brown", 0.35, 0.3, 0.14, 0.03, 0},     {"fox", 0.51, 0.3, 0.08, 0.03, 0},
              {"reads", 0.61, 0.3, 0.13, 0.03, 0},     {"an", 0.76, 0.3, 0.06, 0.03, 0},
              {"exam-", 0.84, 0.3, 0.12, 0.03, 1 | 4}, {"ple", 0.1, 0.35, 0.08, 0.03, 0},
              {"of", 0.2, 0.35, 0.05, 0.03, 0},        {"text.", 0.27, 0.35, 0.11, 0.03, 3}};
  pages[2] = {{"Running", 0.85, 0.2, 0.03, 0.16, 8},
              {"down", 0.85, 0.38, 0.03, 0.1, 8},
              {"quick", 0.85, 0.5, 0.03, 0.12, 8 | 3}};
  pages[3] = {
      {"Caf\u00e9", 0.1, 0.5, 0.12, 0.03, 0}, {"au", 0.24, 0.5, 0.05, 0.03, 0}, {"lait", 0.31, 0.5, 0.08, 0.03, 3}};
  pages[4] = {{"<img", 0.1, 0.5, 0.1, 0.03, 0},
              {"src=x", 0.22, 0.5, 0.1, 0.03, 0},
              {"onerror=window.pwned=1>", 0.34, 0.5, 0.5, 0.03, 0},
              {"<script>window.pwned=2</script>", 0.1, 0.55, 0.6, 0.03, 3}};
  return pages;
}

QByteArray dataScript(const char* kind, int number, const QJsonObject& payload) {
  return QByteArray("folivoxData(\"") + kind + "\", " + QByteArray::number(number) + ", " +
         QJsonDocument(payload).toJson(QJsonDocument::Compact) + ");\n";
}

// files/text/N.js, files/text/all.js and files/pages.js for pages numbered from 1.
bool writeText(const QString& book, const QList<QList<Word>>& pages, const QStringList& labels) {
  const QString dir = book + QStringLiteral("/files/text");
  QDir().mkpath(dir);
  QJsonArray all;
  for (int i = 0; i < pages.size(); ++i) {
    if (pages[i].isEmpty()) continue;
    QJsonArray words, cut;
    QString text;
    for (int k = 0; k < pages[i].size(); ++k) {
      const Word& w = pages[i][k];
      words.append(QJsonArray{w.t, w.x, w.y, w.w, w.h, w.f});
      if (k > 0) text += (pages[i][k - 1].f & 1) ? QLatin1Char('\n') : QLatin1Char(' ');
      text += w.t;
      if (w.f & 4) cut.append(k);
    }
    if (!writeFile(QStringLiteral("%1/%2.js").arg(dir).arg(i + 1), dataScript("text", i + 1, {{"v", 1}, {"w", words}})))
      return false;
    all.append(QJsonArray{i + 1, text, cut});
  }
  QJsonArray l;
  for (const QString& s : labels) l.append(s);
  return writeFile(dir + QStringLiteral("/all.js"), dataScript("search", 0, {{"v", 1}, {"pages", all}})) &&
         (labels.isEmpty() ||
          writeFile(book + QStringLiteral("/files/pages.js"), dataScript("pages", 0, {{"v", 1}, {"labels", l}})));
}

}  // namespace

class TestPlayerText : public QObject, public PlayerDriver {
  Q_OBJECT
  QTemporaryDir m_dir;
  QStringList m_pictures;

  QString publish(const QString& name) {
    return publishBook(m_dir.filePath(name), QStringLiteral("float"), m_pictures);
  }

  // Types `text` into the search field at once, as a paste does.
  void search(const QString& text) {
    js(QStringLiteral(
           "var i = document.querySelector('.fv-find-input'); i.value = '%1'; i.dispatchEvent(new Event('input'))")
           .arg(text));
  }

  // Waits for a promise the page makes, through a global the test polls.
  QVariant await(const QString& promise) {
    js(QStringLiteral("window.__done = false; Promise.resolve().then(function () { return %1; })"
                      ".then(function (v) { window.__value = v; window.__done = true; },"
                      " function (e) { window.__value = 'rejected: ' + e.name; window.__done = true; })")
           .arg(promise));
    if (!waitFor(QStringLiteral("window.__done"))) return QVariant();
    return js(QStringLiteral("JSON.stringify(window.__value)"));
  }

  bool noErrors() { return m_page->errors.isEmpty(); }

  // Where each word of page p's text layer lies, as fractions of the page: along the
  // way the word runs, its letters (without the space or line break after them);
  // across it, the line the span makes, as a selection shows it.
  QVariantList spanBoxes(int page) {
    return js(QStringLiteral("(function () { var pg = document.querySelector('.fv-page[data-page=\"%1\"]');"
                             " var r = pg.getBoundingClientRect();"
                             " var f = function (b) { return [(b.left - r.left) / r.width, (b.top - r.top) / r.height,"
                             " b.width / r.width, b.height / r.height]; };"
                             " return [].map.call(pg.querySelectorAll('.fv-text span'), function (s) {"
                             " var t = document.createRange(); t.setStart(s.firstChild, 0); t.setEnd(s.firstChild, "
                             "s.textContent.length - 1);"
                             " var letters = f(t.getBoundingClientRect()), line = f(s.getBoundingClientRect());"
                             " return /rotate\\((90|270)deg/.test(s.style.transform)"
                             " ? [line[0], letters[1], line[2], letters[3]] : [letters[0], line[1], letters[2], "
                             "line[3]]; }); })()")
                  .arg(page))
        .toList();
  }

  static bool near(const QVariantList& box, const Word& w, double tolerance = 0.003) {
    const double want[4] = {w.x, w.y, w.w, w.h};
    for (int i = 0; i < 4; ++i)
      if (qAbs(box.at(i).toDouble() - want[i]) > tolerance) return false;
    return true;
  }

  QString m_book;

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    m_pictures = writePictures(m_dir.filePath(QStringLiteral("pictures")), kPages);
    m_book = publish(QStringLiteral("book"));
    QVERIFY(!m_book.isEmpty());
    QVERIFY(writeText(m_book, bookWords(), {"i", "ii", "1", "2", "3", "4", "5", "6"}));
    startView();
  }

  void wordsLieOverThePictureAndTurnAndZoomWithIt() {
    // Link areas lie above the words: where both are, a press meets the link.
    open(bookUrl(m_book));
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-text span').length === 3")));
    const QString at = QStringLiteral(
        "(function () { var r = document.querySelector('.fv-page[data-page=\"1\"]').getBoundingClientRect();"
        " var e = document.elementFromPoint(r.left + %1 * r.width, r.top + %2 * r.height);"
        " return e.tagName + ' ' + e.textContent; })()");
    QCOMPARE(js(at.arg(0.3).arg(0.125)).toString(), QStringLiteral("A "));
    QCOMPARE(js(at.arg(0.55).arg(0.125)).toString(), QStringLiteral("SPAN Reader "));

    open(bookUrl(m_book, QStringLiteral("page=2")));
    QCOMPARE(view(), QStringLiteral("[1,2]"));
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-text span').length === 13")));
    const QList<QList<Word>> words = bookWords();
    for (int zoomed = 0; zoomed < 2; ++zoomed) {
      for (int page : {2, 3}) {
        const QVariantList boxes = spanBoxes(page);
        QCOMPARE(boxes.size(), words[page - 1].size());
        for (int i = 0; i < boxes.size(); ++i)
          QVERIFY2(near(boxes[i].toList(), words[page - 1][i]),
                   qPrintable(QStringLiteral("page %1 word %2 at %3")
                                  .arg(page)
                                  .arg(i)
                                  .arg(QJsonDocument::fromVariant(boxes[i]).toJson())));
      }
      click(QStringLiteral(".fv-zoom-in"));
      QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-zoomed')")));
    }
    // The picture keeps its name; the words follow it for screen readers.
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-page[data-page=\"2\"] img').alt")).toString(),
             QStringLiteral("Page ii"));
    QCOMPARE(js(QStringLiteral("getComputedStyle(document.querySelector('.fv-text span')).visibility")).toString(),
             QStringLiteral("visible"));
    // Only the pages in view have a text layer.
    press(Qt::Key_Escape);
    js(QStringLiteral("folivox.goTo(4)"));
    QVERIFY(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(3) >= 0")));
    QVERIFY(settled());
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-text span').length === 7")));
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('.fv-text').length")).toInt(), 2);
    QVERIFY2(noErrors(), qPrintable(m_page->errors.join(u'|')));
  }

  void selectionAndCopyGiveThePagesWords() {
    open(bookUrl(m_book, QStringLiteral("page=2")));
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-text span').length === 13")));
    const QString page2 = QStringLiteral("The quick brown fox reads an exam-\nple of text.");
    // Selecting the layer as a reader would gives the words in order, with spaces
    // and line breaks; so does what goes to the clipboard.
    QCOMPARE(js(QStringLiteral(
                    "(function () { var r = document.createRange();"
                    " r.selectNodeContents(document.querySelector('.fv-page[data-page=\"2\"] .fv-text'));"
                    " var s = getSelection(); s.removeAllRanges(); s.addRange(r); return s.toString().trim(); })()"))
                 .toString(),
             page2);
    QCOMPARE(
        js(QStringLiteral("(function () { var d = new DataTransfer();"
                          " document.dispatchEvent(new ClipboardEvent('copy', { clipboardData: d, bubbles: true }));"
                          " return d.getData('text/plain'); })()"))
            .toString(),
        page2);
    // Ctrl+A takes the words of both pages, not the toolbar.
    js(QStringLiteral("getSelection().removeAllRanges()"));
    press(Qt::Key_A, Qt::ControlModifier);
    QVERIFY(waitFor(QStringLiteral("getSelection().toString()")));
    QCOMPARE(js(QStringLiteral("getSelection().toString().trim()")).toString(),
             page2 + QStringLiteral("\nRunning down quick"));

    // A mouse drag over words selects them and leaves the page where it is; a click
    // beside the words still turns.
    js(QStringLiteral("getSelection().removeAllRanges()"));
    const QVariantList from =
        js(QStringLiteral(
               "(function () { var b = document.querySelectorAll('.fv-page[data-page=\"2\"] .fv-text span')[1]"
               ".getBoundingClientRect(); return [b.left + 2, b.top + b.height / 2]; })()"))
            .toList();
    const QVariantList to =
        js(QStringLiteral(
               "(function () { var b = document.querySelectorAll('.fv-page[data-page=\"2\"] .fv-text span')[3]"
               ".getBoundingClientRect(); return [b.right - 2, b.top + b.height / 2]; })()"))
            .toList();
    QWidget* w = m_view->focusProxy();
    QVERIFY(w);
    const QPoint a(from[0].toInt(), from[1].toInt()), b(to[0].toInt(), to[1].toInt());
    catchUpAfterNext(QStringLiteral("pointerup"));
    QTest::mousePress(w, Qt::LeftButton, {}, a);
    for (int i = 1; i <= 10; ++i) QTest::mouseMove(w, a + (b - a) * i / 10, 10);
    QTest::mouseRelease(w, Qt::LeftButton, {}, b);
    QVERIFY2(waitFor(QStringLiteral("getSelection().toString().indexOf('quick brown') >= 0")),
             qPrintable(js(QStringLiteral("getSelection().toString()")).toString()));
    QVERIFY(caughtUp());  // the release has been handled: no turn began
    QVERIFY(!js(QStringLiteral("!!document.querySelector('.fv-leaf')")).toBool());
    QCOMPARE(view(), QStringLiteral("[1,2]"));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(b.x() + 500, 700));
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 3")), qPrintable(view()));
    QVERIFY2(noErrors(), qPrintable(m_page->errors.join(u'|')));
  }

  void searchPanelFindsMarksAndSteps() {
    open(bookUrl(m_book));
    QVERIFY(waitFor(QStringLiteral("!document.querySelector('.fv-search').hidden")));
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-search').getAttribute('aria-label')")).toString(),
             QStringLiteral("Search"));
    QVERIFY(!js(QStringLiteral("!!document.querySelector('.fv-find.fv-open')")).toBool());
    press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(waitFor(QStringLiteral("document.activeElement === document.querySelector('.fv-find-input')")));
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-find-input').type")).toString(), QStringLiteral("search"));
    for (const QChar c : QStringLiteral("QUICK")) QTest::keyClick(m_view->focusProxy(), c.toLatin1());
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-find-hit').length === 2")));
    // Each result is a link to its page, listed under the page's printed label, with the match marked.
    QCOMPARE(js(QStringLiteral("[].map.call(document.querySelectorAll('.fv-find-hit'), function (a) {"
                               " return a.getAttribute('href') + ' ' + "
                               "a.closest('.fv-find-group').querySelector('.fv-find-page').textContent + ' '"
                               " + a.querySelector('mark').textContent; }).join('|')"))
                 .toString(),
             QStringLiteral("#page=2 Page ii quick|#page=3 Page 1 quick"));
    // Enter goes to the first hit and marks it over its word; Enter again to the next.
    press(Qt::Key_Return);
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-mark-current')")));
    const QVariantList mark =
        js(QStringLiteral(
               "(function () { var pg = document.querySelector('.fv-page[data-page=\"2\"]').getBoundingClientRect();"
               " var m = document.querySelector('.fv-mark-current').getBoundingClientRect();"
               " return [(m.left - pg.left) / pg.width, (m.top - pg.top) / pg.height, m.width / pg.width, m.height / "
               "pg.height]; })()"))
            .toList();
    QVERIFY2(near(mark, bookWords()[1][1]), qPrintable(QJsonDocument::fromVariant(mark).toJson()));
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-find-status').textContent")).toString(),
             QStringLiteral("1 of 2 results, 2 pages"));
    press(Qt::Key_Return);
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-page[data-page=\"3\"] .fv-mark-current')")));
    press(Qt::Key_Return, Qt::ShiftModifier);
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-page[data-page=\"2\"] .fv-mark-current')")));

    // A phrase across a line end, and a word cut there, are each found once.
    search(QStringLiteral("\"an example of\""));
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-find-status').textContent === '1 result, 1 page'")));
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-find-hit mark').textContent")).toString(),
             QStringLiteral("an exam-ple of"));
    search(QStringLiteral("cafe"));
    QVERIFY(
        waitFor(QStringLiteral("document.querySelector('.fv-find-hit mark') && document.querySelector('.fv-find-hit "
                               "mark').textContent === 'Caf\u00e9'")));
    // A result link turns the book to its page.
    click(QStringLiteral(".fv-find-hit"));
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(3) >= 0")), qPrintable(view()));
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-page[data-page=\"4\"] .fv-mark-current')")));
    search(QStringLiteral("zebra"));
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-find-status').textContent === 'No results'")));
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('.fv-mark, .fv-find-hit').length")).toInt(), 0);

    // Escape in the field ends the search and takes its marks off.
    search(QStringLiteral("lait"));
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-mark').length === 1")));
    js(QStringLiteral("document.querySelector('.fv-find-input').focus()"));
    press(Qt::Key_Escape);
    QVERIFY(
        waitFor(QStringLiteral("!document.querySelector('.fv-find.fv-open') && !document.querySelector('.fv-mark')")));
    QVERIFY2(noErrors(), qPrintable(m_page->errors.join(u'|')));
  }

  void theAddressOpensASearch() {
    open(bookUrl(m_book, QStringLiteral("search=%22brown%20fox%22")));
    QVERIFY(waitFor(QStringLiteral("document.querySelector('.fv-find.fv-open')")));
    QVERIFY2(waitFor(QStringLiteral("folivoxPlayer.pagesInView().indexOf(1) >= 0")), qPrintable(view()));
    QVERIFY(waitFor(
        QStringLiteral("document.querySelectorAll('.fv-page[data-page=\"2\"] .fv-mark-current').length === 2")));
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-find-input').value")).toString(),
             QStringLiteral("\"brown fox\""));
    // On a wide window the open panel moves the book aside instead of hiding its hits,
    // and the book takes the whole width again once the panel is closed.
    const QString bookBesidePanel = QStringLiteral(
        "document.querySelector('.fv-book').getBoundingClientRect().right <= "
        "document.querySelector('.fv-find').offsetLeft + 1");
    QVERIFY2(waitFor(bookBesidePanel), qPrintable(view()));
    click(QStringLiteral(".fv-find-close"));
    QVERIFY(waitFor(QStringLiteral("!document.querySelector('.fv-find.fv-open')")));
    QVERIFY(
        waitFor(QStringLiteral("document.querySelector('.fv-book').getBoundingClientRect().right > "
                               "document.querySelector('.fv-find').offsetLeft + 1")));
    QVERIFY(noErrors());
  }

  void apiForPagesThatEmbedTheBook() {
    open(bookUrl(m_book));
    QCOMPARE(js(QStringLiteral("Object.keys(window.folivox).sort().join()")).toString(),
             QStringLiteral("goTo,page,pageCount,pageText,search"));
    QCOMPARE(js(QStringLiteral("folivox.pageCount()")).toInt(), kPages);
    QCOMPARE(js(QStringLiteral("folivox.page()")).toInt(), 1);
    js(QStringLiteral("folivox.goTo(4)"));
    QVERIFY(settled());
    QVERIFY(waitFor(QStringLiteral("folivox.page() === 4")));
    js(QStringLiteral("folivox.goTo(99); folivox.goTo('x'); folivox.goTo(2.5)"));
    QCOMPARE(js(QStringLiteral("folivox.page()")).toInt(), 4);
    QCOMPARE(await(QStringLiteral("folivox.search('quick')")).toString(),
             QStringLiteral("[{\"page\":2,\"snippet\":\"The quick brown fox reads an exam-ple of "
                            "text.\"},{\"page\":3,\"snippet\":\"Running down quick\"}]"));
    QCOMPARE(await(QStringLiteral("folivox.search('nothing here')")).toString(), QStringLiteral("[]"));
    QCOMPARE(await(QStringLiteral("folivox.pageText(2)")).toString(),
             QStringLiteral("\"The quick brown fox reads an exam-\\nple of text.\""));
    QCOMPARE(await(QStringLiteral("folivox.pageText(8)")).toString(), QStringLiteral("\"\""));
    QCOMPARE(await(QStringLiteral("folivox.pageText(9)")).toString(), QStringLiteral("\"rejected: RangeError\""));
    // The API does not move the book or touch the search panel.
    QCOMPARE(js(QStringLiteral("folivox.page()")).toInt(), 4);
    QVERIFY(!js(QStringLiteral("!!document.querySelector('.fv-find.fv-open')")).toBool());
    QVERIFY(noErrors());
  }

  void markupInTheTextStaysText() {
    open(bookUrl(m_book, QStringLiteral("page=5")));
    QVERIFY(
        waitFor(QStringLiteral("document.querySelectorAll('.fv-page[data-page=\"5\"] .fv-text span').length === 4")));
    js(QStringLiteral(
        "var i; document.querySelector('.fv-search').click(); i = document.querySelector('.fv-find-input');"
        " i.value = 'onerror'; i.dispatchEvent(new Event('input'))"));
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-find-hit').length === 1")));
    // No element was made of the text, so nothing of it can run later either.
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('#folivox img:not(.fv-picture), #folivox script').length"))
                 .toInt(),
             0);
    QCOMPARE(js(QStringLiteral("String(window.pwned)")).toString(), QStringLiteral("undefined"));
    QCOMPARE(js(QStringLiteral("document.querySelector('.fv-find-snippet').textContent")).toString(),
             QStringLiteral("<img src=x onerror=window.pwned=1> <script>window.pwned=2</script>"));
    QVERIFY(noErrors());
  }

  void hostileTextFiles() {
    const QString book = publish(QStringLiteral("hostile"));
    QVERIFY(!book.isEmpty());
    QList<QList<Word>> pages(kPages);
    // 200,000 characters on one page, as 40,000 words.
    for (int i = 0; i < 40000; ++i)
      pages[0].append({i == 39999 ? QStringLiteral("needle") : QStringLiteral("word"), (i % 100) / 100.0,
                       (i / 100) / 400.0, 0.009, 0.002, i % 100 == 99 ? 1 : 0});
    // Control characters, marks that reorder text, right-to-left scripts.
    pages[1] = {{QStringLiteral("ctl\u0001\u0007\u001b[31m"), 0.1, 0.1, 0.2, 0.03, 0},
                {QStringLiteral("\u202eevil\u202c"), 0.35, 0.1, 0.2, 0.03, 0},
                {QStringLiteral("\u05e9\u05dc\u05d5\u05dd"), 0.6, 0.1, 0.2, 0.03, 0},
                {QStringLiteral("\u0627\u0644\u0643\u062a\u0627\u0628"), 0.1, 0.2, 0.3, 0.03, 3}};
    QVERIFY(writeText(book, pages, {}));
    // Broken files: a page of another version, a page that is not data at all, a
    // search entry that is not one.
    QVERIFY(writeFile(book + QStringLiteral("/files/text/3.js"),
                      dataScript("text", 3, {{"v", 2}, {"w", QJsonArray{QJsonArray{"x", 0, 0, 1, 1, 0}}}})));
    QVERIFY(writeFile(book + QStringLiteral("/files/text/4.js"),
                      "folivoxData(\"text\", 4, {\"v\":1,\"w\":[5, null, [\"ok\", \"a\", {}, 1, 1, \"f\"], [\"fine\", "
                      "0.5, 0.5, 0.1, 0.1, 0]]});\n"));
    QVERIFY(writeFile(book + QStringLiteral("/files/text/5.js"), "this is not a script (\n"));

    open(bookUrl(book));
    QVERIFY(waitFor(QStringLiteral("document.querySelectorAll('.fv-text span').length > 0"), 10000));
    // The page of 40,000 words shows the first 5,000; search has them all.
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('.fv-text span').length")).toInt(), 5000);
    QCOMPARE(await(QStringLiteral("folivox.search('needle').then(function (r) { return r.length + ' ' + r[0].page; })"))
                 .toString(),
             QStringLiteral("\"1 1\""));
    const QString ctl =
        await(QStringLiteral("folivox.search('evil').then(function (r) { return r[0].snippet; })")).toString();
    QCOMPARE(ctl, QStringLiteral("\"ctl[31m evil \u05e9\u05dc\u05d5\u05dd \u0627\u0644\u0643\u062a\u0627\u0628\""));
    QCOMPARE(await(QStringLiteral("folivox.search('\u05e9\u05dc\u05d5\u05dd').then(function (r) { return r.length; })"))
                 .toString(),
             QStringLiteral("1"));
    QCOMPARE(
        await(QStringLiteral("folivox.pageText(2)")).toString(),
        QStringLiteral("\"ctl[31m \u202eevil\u202c \u05e9\u05dc\u05d5\u05dd \u0627\u0644\u0643\u062a\u0627\u0628\""));
    QCOMPARE(await(QStringLiteral("folivox.pageText(3)")).toString(), QStringLiteral("\"\""));
    QCOMPARE(await(QStringLiteral("folivox.pageText(4)")).toString(), QStringLiteral("\"ok fine\""));
    QCOMPARE(await(QStringLiteral("folivox.pageText(5)")).toString(), QStringLiteral("\"\""));
    // The broken pages still show, with what words they have.
    js(QStringLiteral("folivox.goTo(4)"));
    QVERIFY(
        waitFor(QStringLiteral("document.querySelectorAll('.fv-page[data-page=\"4\"] .fv-text span').length === 2")));
    QCOMPARE(js(QStringLiteral("window.folivoxState")).toString(), QStringLiteral("ready"));
    // A script that is not one is the browser's syntax error; nothing else fails.
    for (const QString& e : m_page->errors) QVERIFY2(e.contains(QLatin1String("5.js")), qPrintable(e));
  }

  void aPictureBookHasNoSearch() {
    const QString book = publish(QStringLiteral("pictures"));
    QVERIFY(!book.isEmpty());
    TinyWebServer server(book);
    QVERIFY(server.listen(QHostAddress::LocalHost));
    open(QUrl(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.serverPort())));
    // The first page and a few across the book are asked for their words, and
    // then no page is: turning costs no failed requests.
    const auto textAsked = [&] { return server.requested.filter(QStringLiteral("/files/text/")).size(); };
    QTRY_COMPARE(textAsked(), 4);
    press(Qt::Key_Right);
    QVERIFY(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 1")));
    QVERIFY(settled());
    press(Qt::Key_Right);
    QVERIFY(waitFor(QStringLiteral("folivoxPlayer.pagesInView()[0] === 3")));
    QVERIFY(settled());
    QCOMPARE(textAsked(), 4);
    QVERIFY(js(QStringLiteral("document.querySelector('.fv-search').hidden")).toBool());
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('.fv-text span').length")).toInt(), 0);
    // Ctrl+F stays the browser's.
    catchUpAfterNext(QStringLiteral("keydown"), QStringLiteral("e.key === 'f'"));
    press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(caughtUp());
    QVERIFY(!js(QStringLiteral("!!document.querySelector('.fv-find.fv-open')")).toBool());
    QCOMPARE(await(QStringLiteral("folivox.search('anything')")).toString(), QStringLiteral("[]"));
    QCOMPARE(await(QStringLiteral("folivox.pageText(1)")).toString(), QStringLiteral("\"\""));
    QVERIFY2(noErrors(), qPrintable(m_page->errors.join(u'|')));
  }

  void cleanupTestCase() { m_view.reset(); }
};

FOLIVOX_PLAYER_TEST_MAIN(TestPlayerText)

#include "test_player_text.moc"
