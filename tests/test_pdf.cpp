// Text and RTF documents to PDF, and the RTF reader.
#include <QRegularExpression>
#include <QTextCharFormat>

#include "TestEnv.h"
#include "import/DocumentToPdf.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "import/RtfReader.h"

namespace {

// `source` converted to PDF (beside it): every page's text; "bad size" for a
// page without the conversion's size; nothing, with the reason said, when the
// conversion fails.
QStringList convertedPages(const QString& source) {
  QString error;
  if (!DocumentToPdf::convertToPDF(source, source + ".pdf", &error)) {
    qWarning().noquote() << error;
    return {};
  }
  const std::unique_ptr<MuPdfDocument> doc = MuPdfDocument::open(source + ".pdf");
  QStringList pages;
  for (int i = 0; i < doc->pageCount(); ++i) {
    const QSizeF size = doc->pageSize(i);
    if (qAbs(size.width() - 648) > 0.01 || qAbs(size.height() - 468) > 0.01) return {QStringLiteral("bad size")};
    pages << doc->pageText(i);
  }
  return pages;
}

// What the RTF reader hands over: paragraphs of runs.
struct Recorded : RtfReader::Sink {
  struct Run {
    QString text;
    QTextCharFormat format;
  };
  struct Paragraph {
    QList<Run> runs;
    Qt::Alignment align;
  };
  QList<Paragraph> paragraphs;
  QList<Run> open;

  void text(QStringView run, const QTextCharFormat& format) override { open.append({run.toString(), format}); }
  void paragraph(Qt::Alignment align) override { paragraphs.append({std::exchange(open, {}), align}); }

  QStringList texts() const {
    QStringList out;
    for (const Paragraph& p : paragraphs) {
      QString text;
      for (const Run& r : p.runs) text += r.text;
      out << text;
    }
    return out;
  }
  // The format of the first run that holds `text`.
  QTextCharFormat formatOf(const QString& text) const {
    for (const Paragraph& p : paragraphs)
      for (const Run& r : p.runs)
        if (r.text.contains(text)) return r.format;
    return QTextCharFormat();
  }
};

QString readRtf(const QByteArray& rtf) {
  Recorded doc;
  RtfReader().read(rtf, doc);
  return doc.texts().join('\n');
}

}  // namespace

class TestPdf : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  QString path(const QString& name) const { return m_dir.filePath(name); }

 private Q_SLOTS:
  void textBecomesPagesWithoutRepeatedLines() {
    QByteArray text;
    for (int i = 1; i <= 160; ++i) text += "Line " + QByteArray::number(i).rightJustified(4, '0') + "\n";
    // A paragraph long enough to wrap over several lines and a page break.
    for (int i = 1; i <= 120; ++i) text += "w" + QByteArray::number(i).rightJustified(3, '0') + " ";
    text += "\n\xff\xfe broken bytes stay visible\n";
    QVERIFY(writeFile(path("in.txt"), text));
    const QStringList pages = convertedPages(path("in.txt"));
    QVERIFY2(pages.size() > 5, qPrintable(QString::number(pages.size())));
    QVERIFY(!pages.contains(QStringLiteral("bad size")));
    const QString all = pages.join('\n');
    for (int i = 1; i <= 160; ++i) {
      const QString line = QStringLiteral("Line %1").arg(i, 4, 10, QLatin1Char('0'));
      QCOMPARE(all.count(line), qsizetype(1));
    }
    for (int i = 1; i <= 120; ++i)
      QCOMPARE(all.count(QStringLiteral("w%1").arg(i, 3, 10, QLatin1Char('0'))), qsizetype(1));
    QVERIFY(all.contains(QStringLiteral("\uFFFD")));
    QVERIFY(all.contains(QStringLiteral("broken bytes stay visible")));
  }

  // A paragraph far longer than one piece of layout, one with no place to
  // break, tabs and every kind of line end: each word once, in order, as one
  // layout of the whole text would print it.
  void longParagraphsAndLineEnds() {
    QByteArray text;
    for (int i = 1; i <= 12000; ++i) text += "w" + QByteArray::number(i).rightJustified(5, '0') + " ";
    text += "\n" + QByteArray(30000, 'x') + "\n";
    text += "col1\tcol2\tcol3\r\ncr\rlf\n";
    QVERIFY(writeFile(path("long.txt"), text));
    const QStringList pages = convertedPages(path("long.txt"));
    QVERIFY(!pages.contains(QStringLiteral("bad size")));
    const QString all = pages.join('\n');
    QStringList words;
    static const QRegularExpression word(QStringLiteral("w\\d{5}"));
    for (auto it = word.globalMatch(all); it.hasNext();) words << it.next().captured();
    QCOMPARE(words.size(), qsizetype(12000));
    for (int i = 0; i < words.size(); ++i)
      QCOMPARE(words[i], QStringLiteral("w%1").arg(i + 1, 5, 10, QLatin1Char('0')));
    QCOMPARE(all.count(QLatin1Char('x')), qsizetype(30000));
    // CR LF, CR and LF end lines.
    const QStringList lines = all.split('\n');
    QVERIFY(lines.contains(QStringLiteral("cr")) && lines.contains(QStringLiteral("lf")));
  }

  // Columns at tab stops every 36 points stay on their line (Qt scales the
  // stop distance by the resolution: once it put each tab on a line of its own).
  void tabsStopEveryHalfInch() {
    QVERIFY(writeFile(path("tabs.txt"), "a\tb\tc\td\te\tf\tg\th\n"));
    QString error;
    QVERIFY2(DocumentToPdf::CreateTXTtoPDF(path("tabs.txt"), path("tabs.pdf"), &error), qPrintable(error));
    // Rows and columns of the rendered page (1 pixel a point) that hold ink.
    QSet<int> rows;
    int left = 10000, right = -1;
    MuPdfDocument::open(path("tabs.pdf"))->render(0, 1, [&](const unsigned char* rgb, int w, int h, int stride) {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (rgb[y * stride + x * 3] < 128) {
            rows.insert(y);
            left = std::min(left, x);
            right = std::max(right, x);
          }
    });
    QVERIFY(!rows.isEmpty());
    QVERIFY2(*std::max_element(rows.begin(), rows.end()) - *std::min_element(rows.begin(), rows.end()) < 14,
             "the columns are not on one line");
    // h starts 7 stops after a: 252 points.
    QVERIFY2(right - left > 252 && right - left < 252 + 14, qPrintable(QString::number(right - left)));
    const int textLeft = qRound(DocumentToPdf::kMarginLeft + DocumentToPdf::kTextInsetX);
    QVERIFY2(left >= textLeft && left <= textLeft + 3, qPrintable(QString::number(left)));
  }

  void emptyDocumentsAreRefused() {
    const QList<QPair<QString, QByteArray>> empty = {
        {"empty.txt", ""},
        {"blank.txt", " \n\n\t \r\n"},
        {"bom.txt", "\xEF\xBB\xBF"},
        {"empty.rtf", "{\\rtf1 }"},
        {"blank.rtf", "{\\rtf1{\\*\\generator Writer;}{\\info{\\title t}}\\par \\par }"}};
    for (const auto& [name, bytes] : empty) {
      QVERIFY(writeFile(path(name), bytes));
      QString error;
      QVERIFY2(!DocumentToPdf::convertToPDF(path(name), path(name + ".pdf"), &error), qPrintable(name));
      QCOMPARE(error, QStringLiteral("Cannot convert %1: the document is empty").arg(name));
      QVERIFY(!QFileInfo::exists(path(name + ".pdf")));
    }
  }

  void conversionReportsProgressAndStops() {
    QByteArray text;
    while (text.size() < 1200 * 1024) text += "Some words on a line of their own.\n";
    QVERIFY(writeFile(path("big.txt"), text));
    QList<qint64> done;
    QString error;
    QVERIFY(DocumentToPdf::convertToPDF(path("big.txt"), path("big.pdf"), &error, [&](qint64 d, qint64 total) {
      if (total != text.size()) return false;
      done << d;
      return true;
    }));
    QVERIFY(done.size() >= 4);
    QVERIFY(std::is_sorted(done.begin(), done.end()));
    QCOMPARE(done.last(), qint64(text.size()));

    // Stopped at the first report: no PDF, and a reason.
    for (const QByteArray& rtf : {QByteArray(), "{\\rtf1 " + text.replace('\n', "\\par ") + "}"}) {
      const QString source = path(rtf.isEmpty() ? QStringLiteral("big.txt") : QStringLiteral("big.rtf"));
      if (!rtf.isEmpty()) QVERIFY(writeFile(source, rtf));
      QVERIFY(!DocumentToPdf::convertToPDF(source, path("stopped.pdf"), &error, [](qint64, qint64) { return false; }));
      QCOMPARE(error, QStringLiteral("The conversion of %1 was stopped.").arg(QFileInfo(source).fileName()));
      QVERIFY(!QFileInfo::exists(path("stopped.pdf")));
    }
  }

  // One long paragraph, every other word bold and lines broken by \\line:
  // it reaches the PDF in pieces as it is read (never laid out whole, which
  // took minutes), every word once and in order, and a stop while it is read
  // ends the reading there.
  void longRtfParagraphIsReadInPieces() {
    QByteArray rtf = "{\\rtf1\\ansi ";
    int words = 0;
    while (rtf.size() < 600 * 1024) {
      const QByteArray w = "w" + QByteArray::number(++words).rightJustified(6, '0');
      rtf += words % 2 ? "{\\b " + w + "} " : w + (words % 10 == 0 ? "\\line " : " ");
    }
    rtf += "}";

    Recorded doc;
    qint64 seen = 0;
    int reports = 0;
    QString error = QStringLiteral("unchanged");
    QVERIFY(!RtfReader().read(rtf, doc, &error, [&](qint64 done, qint64 total) {
      if (total != rtf.size() || done > total) return false;
      seen = done;
      return ++reports < 3;
    }));
    QVERIFY(error.isEmpty());
    QCOMPARE(reports, 3);
    QVERIFY(seen < rtf.size() / 2);
    // The sink has the text read so far (fewer characters than its markup),
    // in an open paragraph.
    qsizetype received = 0;
    for (const Recorded::Run& r : doc.open) received += r.text.size();
    QVERIFY2(received > 0 && received < seen, qPrintable(QString::number(received)));
    QVERIFY(doc.paragraphs.isEmpty());

    QVERIFY(writeFile(path("para.rtf"), rtf));
    const QString all = convertedPages(path("para.rtf")).join('\n');
    static const QRegularExpression word(QStringLiteral("w\\d{6}"));
    int n = 0;
    for (auto it = word.globalMatch(all); it.hasNext();)
      QCOMPARE(it.next().captured(), QStringLiteral("w%1").arg(++n, 6, 10, QLatin1Char('0')));
    QCOMPARE(n, words);
  }

  void textDecoding() {
    QCOMPARE(DocumentToPdf::decodeText("a\xC3\xA9"
                                       "b"),
             QStringLiteral("aéb"));
    QCOMPARE(DocumentToPdf::decodeText("\xEF\xBB\xBFok"), QStringLiteral("ok"));
    QCOMPARE(DocumentToPdf::decodeText(QByteArray("\xFF\xFEh\0i\0", 6)), QStringLiteral("hi"));
    QCOMPARE(DocumentToPdf::decodeText("x\xC3(y"), QStringLiteral("x\uFFFD(y"));
  }

  void rtfFormatting() {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\froman Times;}{\\f1\\fmodern Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\generator Some Writer;}{\\info{\\title Hidden title}}{\\stylesheet{\\s1 Hidden style;}}"
        "\\f0\\fs28 Plain {\\b bold} {\\i italic} {\\ul under}\\ulnone  {\\cf1 red} {\\f1 mono} caf\\'e9 "
        "\\uc1\\u937?mega \\u-4064?x {\\*\\unknownthing invisible} \\{braces\\}\\par"
        "\\qc centred\\line next\\par"
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt shown}}\\tab end}";
    Recorded doc;
    QString error;
    QVERIFY2(RtfReader().read(rtf, doc, &error), qPrintable(error));
    QCOMPARE(doc.texts(), (QStringList{QStringLiteral("Plain bold italic under red mono café Ωmega \uF020x  {braces}"),
                                       QStringLiteral("centred\u2028next"), QStringLiteral("shown\tend")}));
    QVERIFY(doc.formatOf("bold").fontWeight() == QFont::Bold);
    QVERIFY(doc.formatOf("Plain").fontWeight() == QFont::Normal);
    QVERIFY(doc.formatOf("italic").fontItalic());
    QVERIFY(doc.formatOf("under").fontUnderline());
    QVERIFY(!doc.formatOf("red").fontUnderline());
    QCOMPARE(doc.formatOf("red").foreground().color(), QColor(255, 0, 0));
    QCOMPARE(doc.formatOf("Plain").fontPointSize(), 14.0);
    QCOMPARE(doc.formatOf("Plain").fontFamilies().toStringList(), QStringList{"Times"});
    QCOMPARE(doc.formatOf("mono").fontFamilies().toStringList(), QStringList{"Courier New"});
    QCOMPARE(doc.paragraphs[1].align, Qt::AlignHCenter);
    QCOMPARE(doc.paragraphs[0].align, Qt::AlignLeft);
  }

  void rtfBecomesPdf() {
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 1; i <= 90; ++i) rtf += "{\\b Para} " + QByteArray::number(i).rightJustified(3, '0') + "\\par ";
    rtf += "}";
    QVERIFY(writeFile(path("in.RTF"), rtf));
    const QStringList pages = convertedPages(path("in.RTF"));
    QVERIFY(pages.size() > 2);
    QVERIFY(!pages.contains(QStringLiteral("bad size")));
    const QString all = pages.join('\n');
    for (int i = 1; i <= 90; ++i)
      QCOMPARE(all.count(QStringLiteral("Para %1").arg(i, 3, 10, QLatin1Char('0'))), qsizetype(1));
  }

  void hostileRtfEndsWell() {
    Recorded doc;
    RtfReader reader;
    // Deep nesting: no recursion, the text survives.
    const QByteArray deep = "{\\rtf1 " + QByteArray(10000, '{') + "deep\\b text" + QByteArray(10000, '}') + " after}";
    QCOMPARE(readRtf(deep), QString("deeptext after"));
    // Broken endings, stray braces, huge numbers and binary data.
    for (const QByteArray& broken :
         QList<QByteArray>{"{\\rtf1 a}}}}} b", "{\\rtf1 end\\", "{\\rtf1 end\\'", "{\\rtf1 end\\'4", "{\\rtf1 \\u",
                           "{\\rtf1 \\fs99999999999999999 big \\u99999999999 \\uc999 \\cf-5 x}",
                           "{\\rtf1 \\bin999999999 tail", "{\\rtf1 {\\*", QByteArray("{\\rtf1 nul\0byte}", 15)}) {
      QVERIFY(reader.read(broken, doc));
    }
    QCOMPARE(readRtf(QByteArray("{\\rtf1 nul\0byte}", 15)), QString("nulbyte"));

    QString error;
    QVERIFY(!reader.read("plain words", doc, &error));
    QCOMPARE(error, QString("it is not an RTF document"));
    QVERIFY(writeFile(path("fake.rtf"), "not rtf"));
    QVERIFY(!DocumentToPdf::CreateRTFtoPDF(path("fake.rtf"), path("fake.pdf"), &error));
    QCOMPARE(error, QString("Cannot convert fake.rtf: it is not an RTF document"));
    QVERIFY(!QFile::exists(path("fake.pdf")));
  }

  void conversionFailuresSayWhy() {
    QString error;
    QVERIFY(!DocumentToPdf::CreateTXTtoPDF(path("absent.txt"), path("x.pdf"), &error));
    QCOMPARE(error, QString("Cannot convert absent.txt: the file does not exist"));

    QVERIFY(writeFile(path("letter.docx"), "PK\x03\x04 not really"));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", path("no-such-bin").toLocal8Bit());
    const bool ok = DocumentToPdf::convertToPDF(path("letter.docx"), path("x.pdf"), &error);
    qputenv("PATH", oldPath);
    QVERIFY(!ok);
    QVERIFY2(error.startsWith(QStringLiteral("Cannot convert letter.docx: this needs LibreOffice")), qPrintable(error));
    QVERIFY(DocumentToPdf::needsConversion("a.TXT"));
    QVERIFY(DocumentToPdf::needsConversion("b.Odt"));
    QVERIFY(!DocumentToPdf::needsConversion("c.pdf"));
  }
};

FOLIVOX_TEST_MAIN(TestPdf)
#include "test_pdf.moc"
