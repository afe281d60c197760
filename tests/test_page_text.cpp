// The words of a page as the import writes them for search and the text layer: their
// boxes, their clean-up, and lines grouped by baseline.

#include <QJsonArray>
#include <QRegularExpression>

#include "ImportFixture.h"
#include "PdfFixture.h"
#include "TestEnv.h"
#include "base/DataScript.h"
#include "import/FlashPageSourcePDF.h"
#include "import/PageText.h"
#include "publish/BookTextReader.h"

namespace {

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

}  // namespace

class TestPageText : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  QString path(const QString& name) const { return m_dir.filePath(name); }

 private Q_SLOTS:
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
      const QRectF slack =
          box.adjusted(-2.0 / picture.width(), -2.0 / picture.height(), 2.0 / picture.width(), 2.0 / picture.height());
      const QString why = boxAndInk(extras[i], box, ink);
      QVERIFY2(slack.contains(ink), qPrintable(why));
      QVERIFY2(box.width() * box.height() < 2.5 * ink.width() * ink.height(), qPrintable(why));
      // The text runs as many quarter turns clockwise as the page is turned.
      const int turns = extras[i].startsWith("/Rotate ") ? extras[i].mid(8).split(' ')[0].toInt() / 90 : 0;
      QCOMPARE(words[0][5].toInt() >> PageText::kDirectionShift & 3, turns);
      QCOMPARE(words[0][5].toInt() & (PageText::kLineEnd | PageText::kBlockEnd),
               PageText::kLineEnd | PageText::kBlockEnd);
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
    QCOMPARE(texts,
             (QStringList{"fine", "flow", "cooperate", "abcd", "\U0001F600", "\"q\\", "an", "exam-", "ple", "Jean-",
                          "Paul", "hyphen", "ation", "2-", "3", "end-", QString(512, 'w'), QString(88, 'w')}));
    auto flags = [&](int i) { return t.words()[i].flags; };
    QCOMPARE(flags(7), PageText::kLineEnd | PageText::kHyphenated);   // exam- goes on in "ple"
    QCOMPARE(flags(9), PageText::kLineEnd);                           // Jean- is followed by a name
    QCOMPARE(flags(11), PageText::kLineEnd | PageText::kHyphenated);  // soft hyphen at the line's end
    QCOMPARE(flags(13), PageText::kLineEnd);                          // 2- 3 is no word
    QCOMPARE(flags(15), PageText::kLineEnd | PageText::kBlockEnd);    // nothing to go on in
    QCOMPARE(flags(16), 1 << PageText::kDirectionShift);              // top to bottom
    QCOMPARE(t.words()[6].box, QRectF(0, 0.1, 0.05, 0.08));           // fractions of the page

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
    QCOMPARE(DataScript::quoted(QStringLiteral("a\u2028\u2029\"\\\n\u00e9")),
             QByteArray("\"a\\u2028\\u2029\\\"\\\\\\n\xc3\xa9\""));

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

    QCOMPARE(t.joinedText(),
             QStringLiteral("The quick brown fox\njumps\nChapter one . . . . 12\nshe snarfed in\na b c\nHi"));
    QCOMPARE(t.words()[0].size, 10.0);
    // The words in the script carry their font sizes, from the word where a size starts.
    const std::optional<QJsonObject> script = DataScript::payload(t.textScript(3), "text");
    QVERIFY(script);
    const qsizetype hi = t.words().size() - 1;
    QCOMPARE(script->value(QStringLiteral("fs")).toArray(), (QJsonArray{QJsonArray{0, 10}, QJsonArray{hi, 24}}));
    QCOMPARE(script->value(QStringLiteral("pt")).toArray(), (QJsonArray{400, 200}));
  }
};

FOLIVOX_TEST_MAIN(TestPageText)
#include "test_page_text.moc"
