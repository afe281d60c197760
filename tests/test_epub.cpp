// The EPUB export: the container as readers and checkers expect it, page
// geometry against the web book's, text that stays text, reproducible bytes,
// all-or-nothing writing, and the lossless PNG pages.
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QRegularExpression>
#include <pugixml.hpp>

#include "TestEnv.h"
#include "base/DataScript.h"
#include "import/FlashOutline.h"
#include "import/FlashOutlineItem.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/PngEncoder.h"
#include "publish/BookTransaction.h"
#include "publish/EpubPage.h"
#include "publish/EpubWriter.h"
#include "session/BookSession.h"
#include "templates/FlashTemplate.h"
#include "zip/ZKDataArchive.h"

namespace {

// Pictures with words, labels and the document facts a PDF import gives.
class TextPages : public FlashPageSourceImg {
 public:
  QHash<qint32, QByteArray> scripts;
  QHash<qint32, QString> labels;
  bool hasPageText(qint32 n) const override { return scripts.contains(n); }
  QByteArray pageTextScript(qint32 n) const override { return scripts.value(n); }
  bool hasPageLabels() const override { return !labels.isEmpty(); }
  QString pageLabel(qint32 n) const override { return labels.value(n); }
};

// A text script of words [text, x, y, w, h, flags], as the import writes it.
QByteArray textScript(qint32 number, const QList<std::tuple<QString, double, double, double, double, int>>& words) {
  QByteArray payload = "{\"v\":1,\"w\":[";
  for (qsizetype i = 0; i < words.size(); ++i) {
    const auto& [text, x, y, w, h, flags] = words[i];
    if (i > 0) payload += ',';
    payload += '[';
    DataScript::appendString(payload, text);
    for (double v : {x, y, w, h}) {
      payload += ',';
      DataScript::appendFraction(payload, v);
    }
    payload += ',' + QByteArray::number(flags) + ']';
  }
  payload += "]}";
  return DataScript::call("text", number, payload);
}

std::unique_ptr<FlashOutlineItem> bookmark(const QString& caption, qint32 page) {
  auto item = std::make_unique<FlashOutlineItem>();
  item->setCaption(caption);
  item->setPageIndex(page);
  return item;
}

struct Epub {
  std::unique_ptr<ZKDataArchive> archive;
  QStringList names;
  QByteArray entry(const QString& name) const {
    for (const ZKCDHeader& h : archive->centralDirectory())
      if (h.filename() == name) return archive->inflateFile(h, nullptr).value_or(QByteArray());
    return {};
  }
  bool parse(const QString& name, pugi::xml_document& doc) const {
    const QByteArray bytes = entry(name);
    return doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()));
  }
};

Epub openEpub(const QString& path) {
  Epub e;
  e.archive = ZKDataArchive::archiveWithArchiveData(readFile(path));
  if (e.archive)
    for (const ZKCDHeader& h : e.archive->centralDirectory()) e.names << h.filename();
  return e;
}

// The percentages of a style attribute: left, top, width, height as fractions.
QRectF boxOfStyle(const QString& style) {
  const auto value = [&](const char* name) {
    const QRegularExpression re(QStringLiteral("(?:^|;)%1:([0-9.]+)%").arg(QLatin1String(name)));
    return re.match(style).captured(1).toDouble() / 100.0;
  };
  return QRectF(value("left"), value("top"), value("width"), value("height"));
}

}  // namespace

class TestEpub : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;

  QString picture(const QString& name, QColor colour, QSize size = QSize(60, 80)) {
    QImage image(size, QImage::Format_RGB888);
    image.fill(colour);
    const QString path = m_dir.filePath(QStringLiteral("pics/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path);
    return path;
  }

  // Three pages: text on 1 and 2, a photograph-like JPEG on 3.
  std::shared_ptr<TextPages> book() {
    auto pages = std::make_shared<TextPages>();
    pages->addImgPageFromFile(picture(QStringLiteral("1.png"), Qt::white));
    pages->addImgPageFromFile(picture(QStringLiteral("2.png"), Qt::white));
    pages->addImgPageFromFile(picture(QStringLiteral("3.jpg"), Qt::darkGreen));
    pages->generateNormalPages();
    pages->scripts.insert(1, textScript(1, {{QStringLiteral("Hello"), 0.1, 0.2, 0.3, 0.05, 0},
                                            {QStringLiteral("world"), 0.45, 0.2, 0.3, 0.05, 1}}));
    pages->scripts.insert(2, textScript(2, {{QStringLiteral("Two"), 0.5, 0.5, 0.25, 0.1, 1}}));
    pages->labels = {{1, QStringLiteral("i")}, {2, QStringLiteral("ii")}, {3, QStringLiteral("1")}};
    return pages;
  }

  // `folder`/book.epub, its folder made.
  QString epubIn(const QString& folder) {
    QDir().mkpath(m_dir.filePath(folder));
    return m_dir.filePath(folder + QStringLiteral("/book.epub"));
  }

  std::shared_ptr<FlashPagesAnnotations> links(const QList<std::tuple<int, QString, QString, QRectF>>& list) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("pagesAnnos");
    for (const auto& [position, kind, target, box] : list) {
      pugi::xml_node page = root.append_child("pageAnnos");
      page.append_attribute("pageIndex") = position;
      pugi::xml_node anno = page.append_child("anno");
      pugi::xml_node action = anno.append_child("action");
      if (kind == QLatin1String("url")) {
        action.append_attribute("actionType") = FlashPagesAnnotationsPDF::kOpenUrlAction;
        action.append_child("url").text() = target.toUtf8().constData();
      } else {
        action.append_attribute("actionType") = FlashPagesAnnotationsPDF::kGotoPageAction;
        action.append_child("pageIndex").text() = target.toUtf8().constData();
      }
      pugi::xml_node loc = anno.append_child("location");
      loc.append_attribute("x") = box.x();
      loc.append_attribute("y") = box.y();
      loc.append_attribute("width") = box.width();
      loc.append_attribute("height") = box.height();
    }
    auto annotations = std::make_shared<FlashPagesAnnotations>();
    annotations->setPagesAnnotationsNode(root);
    return annotations;
  }

  bool write(const std::shared_ptr<FlashPageSource>& pages, const QString& target,
             std::shared_ptr<FlashPagesAnnotations> annotations = {}, std::shared_ptr<FlashOutline> outline = {},
             const QString& title = QStringLiteral("A book")) {
    EpubWriter writer({nullptr, pages, std::move(annotations), std::move(outline)}, target);
    writer.setTitle(title);
    writer.setAuthor(QStringLiteral("A. Author"));
    writer.setLanguage(QStringLiteral("en"));
    writer.setSyncToDisk(false);
    const bool ok = writer.write();
    if (!ok) qWarning() << writer.error() << (writer.failures().empty() ? QString() : writer.failures()[0].reason);
    return ok;
  }

 private Q_SLOTS:
  void containerIsWhatReadersExpect() {
    const QString target = epubIn(QStringLiteral("out"));
    QVERIFY(write(book(), target));
    const QByteArray bytes = readFile(target);
    // mimetype first, stored, no extra field: its bytes are at a fixed place.
    QCOMPARE(bytes.mid(30, 8), QByteArray("mimetype"));
    QCOMPARE(bytes.mid(38, 20), QByteArray("application/epub+zip"));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 8), quint16(0));   // stored
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(0));  // no extra field
    const Epub epub = openEpub(target);
    QVERIFY(epub.archive);
    QCOMPARE(epub.names.mid(0, 2), (QStringList{QStringLiteral("mimetype"), QStringLiteral("META-INF/container.xml")}));

    // The manifest names exactly the files of the container, the spine every page in order.
    pugi::xml_document opf;
    const QByteArray opfBytes = epub.entry(QStringLiteral("EPUB/package.opf"));
    QVERIFY(opf.load_buffer(opfBytes.constData(), static_cast<size_t>(opfBytes.size())));
    QStringList manifest;
    for (pugi::xml_node item : opf.child("package").child("manifest").children("item"))
      manifest << QStringLiteral("EPUB/") + QString::fromUtf8(item.attribute("href").value());
    QStringList files = epub.names;
    files.removeAll(QStringLiteral("mimetype"));
    files.removeAll(QStringLiteral("META-INF/container.xml"));
    files.removeAll(QStringLiteral("EPUB/package.opf"));
    manifest.sort();
    files.sort();
    QCOMPARE(manifest, files);
    QStringList spine;
    for (pugi::xml_node ref : opf.child("package").child("spine").children("itemref"))
      spine << QString::fromUtf8(ref.attribute("idref").value());
    QCOMPARE(spine, (QStringList{"page-1", "page-2", "page-3"}));
    // Pictures keep their format; the cover is page 1's.
    QVERIFY(epub.names.contains(QStringLiteral("EPUB/image/1.png")));
    QVERIFY(epub.names.contains(QStringLiteral("EPUB/image/3.jpg")));
    QVERIFY(opfBytes.contains("href=\"image/1.png\" media-type=\"image/png\" properties=\"cover-image\""));
    QVERIFY(opfBytes.contains("<dc:creator>A. Author</dc:creator>"));
    QVERIFY(opfBytes.contains("<meta property=\"rendition:layout\">pre-paginated</meta>"));
    // Page 3 has no words: text is not enough to read this book.
    QVERIFY(opfBytes.contains("<meta property=\"schema:accessMode\">textual</meta>"));
    QVERIFY(!opfBytes.contains("<meta property=\"schema:accessModeSufficient\">textual</meta>"));

    // The page list follows the printed labels; the viewport is the picture's size.
    const QByteArray nav = epub.entry(QStringLiteral("EPUB/nav.xhtml"));
    QVERIFY(nav.contains("<a href=\"page/2.xhtml#page\">ii</a>"));
    QVERIFY(nav.contains("<a href=\"page/3.xhtml\">Page 1</a>"));  // no bookmarks: one entry a page
    const QByteArray page3 = epub.entry(QStringLiteral("EPUB/page/3.xhtml"));
    QVERIFY(page3.contains("<meta name=\"viewport\" content=\"width=60, height=80\"/>"));
    QVERIFY(page3.contains("alt=\"Page 1\""));  // a picture without words says what it is
  }

  void sameInputSameBytes() {
    const QString a = m_dir.filePath(QStringLiteral("same/a.epub"));
    const QString b = m_dir.filePath(QStringLiteral("same/b.epub"));
    QDir().mkpath(QFileInfo(a).absolutePath());
    QVERIFY(write(book(), a));
    QVERIFY(write(book(), b));
    QCOMPARE(readFile(a), readFile(b));
    qputenv("SOURCE_DATE_EPOCH", "1700000000");
    QVERIFY(write(book(), b));
    qunsetenv("SOURCE_DATE_EPOCH");
    const Epub epub = openEpub(b);
    QVERIFY(epub.entry(QStringLiteral("EPUB/package.opf")).contains("2023-11-14T22:13:20Z"));
    QCOMPARE(epub.archive->centralDirectory().front().lastModDate().toUTC(),
             QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
  }

  void wordsAndLinksLieWhereTheWebBookHasThem() {
    const QString target = epubIn(QStringLiteral("geometry"));
    const QRectF area(0.125, 0.25, 0.5, 0.0625);
    auto annotations = links({{1, QStringLiteral("page"), QStringLiteral("3"), area},
                              {1, QStringLiteral("url"), QStringLiteral("https://example.org/a?b=1&c=2"), area},
                              {1, QStringLiteral("url"), QStringLiteral("javascript:alert(1)"), area},
                              {1, QStringLiteral("url"), QStringLiteral("file:///etc/passwd"), area},
                              {1, QStringLiteral("page"), QStringLiteral("9"), area},  // not in the book
                              {2, QStringLiteral("url"), QStringLiteral("mailto:a@example.org"), area}});
    QVERIFY(write(book(), target, annotations));
    const Epub epub = openEpub(target);
    pugi::xml_document page;
    QVERIFY(epub.parse(QStringLiteral("EPUB/page/1.xhtml"), page));
    const pugi::xml_node body = page.child("html").child("body");
    QList<QRectF> boxes;
    for (pugi::xml_node span : body.child("div").children("span"))
      boxes << boxOfStyle(QString::fromUtf8(span.attribute("style").value()));
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[0], QRectF(0.1, 0.2, 0.3, 0.05));
    QCOMPARE(boxes[1], QRectF(0.45, 0.2, 0.3, 0.05));
    QStringList hrefs;
    for (pugi::xml_node a : body.children("a")) {
      hrefs << QString::fromUtf8(a.attribute("href").value());
      QCOMPARE(boxOfStyle(QString::fromUtf8(a.attribute("style").value())), area);
    }
    QCOMPARE(hrefs, (QStringList{QStringLiteral("3.xhtml"), QStringLiteral("https://example.org/a?b=1&c=2")}));
    QVERIFY(epub.entry(QStringLiteral("EPUB/page/2.xhtml")).contains("href=\"mailto:a@example.org\""));
  }

  void hostileTextStaysText() {
    const QString hostile = QStringLiteral("<script>alert(1)</script>]]>&amp;\x01\x1f\"'");
    const QString kept = QStringLiteral("<script>alert(1)</script>]]>&amp;\"'");
    auto pages = book();
    pages->scripts.insert(1, textScript(1, {{hostile, 0.1, 0.1, 0.2, 0.05, 0}}));
    pages->labels.insert(2, hostile);
    auto outline = std::make_shared<FlashOutline>();
    FlashOutlineItems items;
    items.push_back(bookmark(hostile, 2));
    outline->setItems(std::move(items));
    const QString target = epubIn(QStringLiteral("hostile"));
    QVERIFY(write(pages, target, {}, outline, hostile));

    const Epub epub = openEpub(target);
    for (const QString& name : epub.names) {
      if (!name.endsWith(QLatin1String(".xhtml")) && !name.endsWith(QLatin1String(".opf"))) continue;
      const QByteArray bytes = epub.entry(name);
      pugi::xml_document doc;
      QVERIFY2(epub.parse(name, doc), qPrintable(name));
      QVERIFY2(!doc.select_node("//script"), qPrintable(name));
      QVERIFY2(!bytes.contains('\x01') && !bytes.contains('\x1f'), qPrintable(name));
    }
    pugi::xml_document page;
    QVERIFY(epub.parse(QStringLiteral("EPUB/page/1.xhtml"), page));
    QCOMPARE(QString::fromUtf8(page.child("html").child("body").child("div").child("span").text().get()), kept);
    pugi::xml_document nav;
    QVERIFY(epub.parse(QStringLiteral("EPUB/nav.xhtml"), nav));
    QCOMPARE(QString::fromUtf8(nav.select_node("//nav[@id='toc']/ol/li/a").node().text().get()), kept);
    QCOMPARE(QString::fromUtf8(nav.select_node("//nav[@id='page-list']/ol/li[2]/a").node().text().get()), kept);
    pugi::xml_document opf;
    QVERIFY(epub.parse(QStringLiteral("EPUB/package.opf"), opf));
    QCOMPARE(QString::fromUtf8(opf.select_node("//*[local-name()='title']").node().text().get()), kept);
  }

  void onlyAWholeBookReplacesTheEarlierFile() {
    const QString folder = m_dir.filePath(QStringLiteral("swap"));
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/book.epub");
    writeFile(target, "the earlier book");

    // Stopped before the end: the earlier file stays, nothing is left beside it.
    EpubWriter stopped({nullptr, book()}, target);
    stopped.setSyncToDisk(false);
    stopped.setProgress([](qsizetype done, qsizetype) { return done < 2; });
    QVERIFY(!stopped.write());
    QVERIFY(stopped.cancelled());
    QCOMPARE(readFile(target), QByteArray("the earlier book"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("book.epub")});

    // A page that cannot be read: named, and nothing replaced.
    auto broken = book();
    broken->addImgPageFromFile(m_dir.filePath(QStringLiteral("pics/missing.png")));
    broken->generateNormalPages();
    EpubWriter failing({nullptr, broken}, target);
    failing.setSyncToDisk(false);
    QVERIFY(!failing.write());
    QCOMPARE(failing.failures().size(), size_t(1));
    QCOMPARE(readFile(target), QByteArray("the earlier book"));

    // A whole book replaces it.
    QVERIFY(write(book(), target));
    QVERIFY(readFile(target).startsWith("PK"));
  }

  void refusesWhatIsNotAFile() {
    const QString folder = m_dir.filePath(QStringLiteral("refuse"));
    QDir().mkpath(folder + QStringLiteral("/book.epub"));
    writeFile(folder + QStringLiteral("/book.epub/mine.txt"), "mine");
    EpubWriter intoFolder({nullptr, book()}, folder + QStringLiteral("/book.epub"));
    QVERIFY(!intoFolder.write());
    QVERIFY2(intoFolder.error().contains(QLatin1String("not a file")), qPrintable(intoFolder.error()));
    QCOMPARE(readFile(folder + QStringLiteral("/book.epub/mine.txt")), QByteArray("mine"));

    writeFile(folder + QStringLiteral("/elsewhere.txt"), "elsewhere");
    QVERIFY(QFile::link(folder + QStringLiteral("/elsewhere.txt"), folder + QStringLiteral("/link.epub")));
    EpubWriter throughLink({nullptr, book()}, folder + QStringLiteral("/link.epub"));
    QVERIFY(!throughLink.write());
    QVERIFY(QFileInfo(folder + QStringLiteral("/link.epub")).isSymLink());
    QCOMPARE(readFile(folder + QStringLiteral("/elsewhere.txt")), QByteArray("elsewhere"));
  }

  void bookmarksBecomeTheContents() {
    auto outline = std::make_shared<FlashOutline>();
    FlashOutlineItems top;
    auto part = bookmark(QStringLiteral("Part"), 0);  // leads nowhere, but holds a bookmark that does
    auto chapter = bookmark(QStringLiteral("Chapter"), 3);
    chapter->setParent(part.get());
    part->addChild(std::move(chapter));
    top.push_back(std::move(part));
    top.push_back(bookmark(QStringLiteral("Elsewhere"), 40));  // not in the book, nothing below: left out
    outline->setItems(std::move(top));
    const QString target = epubIn(QStringLiteral("toc"));
    QVERIFY(write(book(), target, {}, outline));
    const QByteArray nav = openEpub(target).entry(QStringLiteral("EPUB/nav.xhtml"));
    pugi::xml_document doc;
    QVERIFY(doc.load_buffer(nav.constData(), static_cast<size_t>(nav.size())));
    const pugi::xml_node list = doc.select_node("//nav[@id='toc']/ol").node();
    QCOMPARE(QString::fromUtf8(list.child("li").child("span").text().get()), QStringLiteral("Part"));
    QCOMPARE(QString::fromUtf8(list.child("li").child("ol").child("li").child("a").attribute("href").value()),
             QStringLiteral("page/3.xhtml"));
    QVERIFY(!nav.contains("Elsewhere"));
  }

  void theSessionPublishesWhatTheSheetAsks() {
    PublishOptions options;
    options.folder = m_dir.filePath(QStringLiteral("sheet"));  // made when missing, as for a web book
    options.name = QStringLiteral("My book");
    options.title = QStringLiteral("Title");
    options.outputType = PublishOptions::kEpubOutput;
    QList<qsizetype> told;
    const PublishResult result =
        BookSession::publishBook(options, {std::make_shared<FlashTemplate>(), book()}, [&](qsizetype done, qsizetype) {
          told << done;
          return true;
        });
    QVERIFY2(result.succeeded(), qPrintable(result.error));
    QCOMPARE(result.outputFileName, options.folder + QStringLiteral("/My book.epub"));
    QCOMPARE(told.mid(0, 3), (QList<qsizetype>{1, 2, 3}));
    QVERIFY(openEpub(result.outputFileName)
                .entry(QStringLiteral("EPUB/package.opf"))
                .contains("<dc:title>Title</dc:title>"));
  }

  void pngPagesAreLossless_data() {
    QTest::addColumn<int>("colours");
    QTest::newRow("grey") << 0;
    QTest::newRow("palette") << 200;
    QTest::newRow("many colours") << 5000;
  }
  void pngPagesAreLossless() {
    QFETCH(int, colours);
    const int w = 97, h = 61;  // odd sizes: rows with padding
    std::vector<unsigned char> rgb(static_cast<size_t>(w * h * 3));
    for (int i = 0; i < w * h; ++i) {
      const int c = colours == 0 ? (i * 7) % 256 : (i * 7919) % colours;
      rgb[static_cast<size_t>(3 * i)] = static_cast<unsigned char>(c & 0xff);
      rgb[static_cast<size_t>(3 * i + 1)] = static_cast<unsigned char>(colours == 0 ? c : (c >> 4) & 0xff);
      rgb[static_cast<size_t>(3 * i + 2)] = static_cast<unsigned char>(colours == 0 ? c : (c >> 8) * 40);
    }
    const QByteArray png = PngEncoder::encode(rgb.data(), w, h, w * 3);
    QImage back;
    QVERIFY(back.loadFromData(png, "png"));
    back = back.convertToFormat(QImage::Format_RGB888);
    QCOMPARE(back.size(), QSize(w, h));
    for (int y = 0; y < h; ++y)
      QVERIFY(std::equal(rgb.begin() + y * w * 3, rgb.begin() + (y + 1) * w * 3, back.constScanLine(y)));
  }
};

FOLIVOX_TEST_MAIN(TestEpub)
#include "test_epub.moc"
