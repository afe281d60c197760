// Page model: the range grammar and the image page source.
#include "TestEnv.h"
#include "import/FlashPageSource.h"

using Range = QList<qint32>;

class TestPageModel : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void range_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("total");
    QTest::addColumn<Range>("expected");
    QTest::newRow("ALL") << "ALL" << 5 << Range{1, 2, 3, 4, 5};
    QTest::newRow("all lower") << "all" << 3 << Range{1, 2, 3};
    QTest::newRow("All mixed, empty doc") << "All" << 0 << Range{};
    QTest::newRow("blank before ALL is no keyword") << " ALL" << 5 << Range{0};
    QTest::newRow("empty text") << "" << 5 << Range{0};
    QTest::newRow("sorted, merged") << "3,1,2-4" << 9 << Range{1, 2, 3, 4};
    QTest::newRow("duplicates") << "5,5,5" << 9 << Range{5};
    QTest::newRow("reversed range") << "5-3" << 9 << Range{};
    QTest::newRow("open end") << "2-" << 9 << Range{};
    QTest::newRow("open start") << "-2" << 9 << Range{0, 1, 2};
    QTest::newRow("semicolon ends number") << "1;2" << 9 << Range{1};
    QTest::newRow("lone number above total kept") << "8" << 5 << Range{8};
    QTest::newRow("third part ignored") << "1-3-9" << 9 << Range{1, 2, 3};
    QTest::newRow("blanks and signs") << " 12, +3,7a" << 20 << Range{3, 7, 12};
    QTest::newRow("empty pieces are 0") << "4,,2" << 9 << Range{0, 2, 4};
    QTest::newRow("range stops at total") << "3-2000000000" << 6 << Range{3, 4, 5, 6};
    QTest::newRow("saturated digits") << "99999999999999999999" << 6 << Range{2147483647};
    QTest::newRow("huge range, no document") << "1-2147483647" << 0 << Range{};
  }
  void range() {
    QFETCH(QString, text);
    QFETCH(int, total);
    QFETCH(Range, expected);
    QCOMPARE(FlashPageSource::parsePageRange(text, total), expected);
  }

  void rangeNeverExplodes() {
    // Many wide pieces still cost O(total): each number appears once.
    QString text;
    for (int i = 0; i < 2000; ++i) text += QStringLiteral("1-2000000000,");
    const Range r = FlashPageSource::parsePageRange(text, 1000);
    QCOMPARE(r.size(), 1001);  // the trailing comma adds an empty piece: 0
    QCOMPARE(r.first(), 0);
    QCOMPARE(r.last(), 1000);
  }

  void imagePages() {
    FlashPageSourceImg src;
    src.addImgPageFromFile(QStringLiteral("/x/a.jpg"));
    src.addImgPageFromFile(QStringLiteral("/x/b.jpg"));
    src.addImgPageFromFile(QStringLiteral("/x/c.jpg"));
    src.generateNormalPages();
    src.generateNormalPages();
    QCOMPARE(src.normalPages().size(), size_t(3));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(src.pages()[size_t(i)]->pageIndex(), i + 1);
      QCOMPARE(src.normalPages()[size_t(i)]->pageIndex(), i + 1);
      QCOMPARE(src.normalPages()[size_t(i)]->pageFilePath(), src.pages()[size_t(i)]->pageFilePath());
      QVERIFY(src.normalPages()[size_t(i)] != src.pages()[size_t(i)]);  // separate objects
    }
    // A later page is appended by the next call.
    src.addImgPageFromFile(QStringLiteral("/x/d.jpg"));
    src.generateNormalPages();
    QCOMPARE(src.normalPages().size(), size_t(4));
    QCOMPARE(src.normalPages().back()->pageFilePath(), QStringLiteral("/x/d.jpg"));

    QVERIFY(src.getPageAtIndex(3));
    QVERIFY(!src.getPageAtIndex(4));
    QVERIFY(!src.getPageAtIndex(-1));
    QCOMPARE(src.getNormalPageAtIndex(2)->pageFilePath(), QStringLiteral("/x/b.jpg"));
    QVERIFY(!src.getNormalPageAtIndex(9));

    src.clearPages();
    QVERIFY(src.pages().empty() && src.normalPages().empty());
  }

  void copyKeepsClass() {
    FlashPageImage img(QStringLiteral("/p.jpg"), 7);
    auto copy = img.copyPage(100, 100);
    QVERIFY(dynamic_cast<FlashPageImage*>(copy.get()) != nullptr);
    QCOMPARE(copy->pageIndex(), 7);
    FlashPage plain(QStringLiteral("/q.jpg"), 2);
    auto copy2 = plain.copyPage(100, 100);
    QVERIFY(dynamic_cast<FlashPageImage*>(copy2.get()) == nullptr);
    QCOMPARE(copy2->pageFilePath(), QStringLiteral("/q.jpg"));
  }
};

FOLIVOX_TEST_MAIN(TestPageModel)
#include "test_pagemodel.moc"
