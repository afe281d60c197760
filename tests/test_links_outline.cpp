// Links and bookmarks read from a PDF: where their areas lie, every kind of link,
// hostile ones, and the outline to and from book.xml.
#include <QElapsedTimer>
#include <QRegularExpression>
#include <sstream>

#include "ImportFixture.h"
#include "PdfFixture.h"
#include "TestEnv.h"
#include "import/FlashOutlineError.h"
#include "import/FlashOutlinePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"

namespace {

QString xml(const pugi::xml_node& node) {
  std::ostringstream out;
  node.print(out, "", pugi::format_raw);
  return QString::fromStdString(out.str());
}

// Attributes of the location element of an anno, as written.
QStringList location(const pugi::xml_node& anno) {
  const pugi::xml_node l = anno.child("location");
  return {l.attribute("x").value(), l.attribute("y").value(), l.attribute("width").value(),
          l.attribute("height").value()};
}

QList<pugi::xml_node> annos(const pugi::xml_node& pageAnnos) {
  QList<pugi::xml_node> list;
  for (pugi::xml_node a = pageAnnos.child("anno"); a; a = a.next_sibling("anno")) list << a;
  return list;
}

}  // namespace

class TestLinksOutline : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  QString path(const QString& name) const { return m_dir.filePath(name); }

  // A document whose pages have links of every form; see linkKinds().
  QString linksDocument() {
    const QString file = path(QStringLiteral("links.pdf"));
    if (QFile::exists(file)) return file;
    PdfFixture pdf;
    for (int i = 0; i < 7; ++i) pdf.addPage().mediaBox = "[0 0 600 800]";
    const QByteArray rect = "/Rect [100 700 300 720]";
    auto link = [&](const QByteArray& body) { return pdf.add("<< /Type /Annot /Subtype /Link " + body + " >>"); };
    QByteArray first;
    for (const QByteArray& body : QList<QByteArray>{
             rect + " /A << /S /URI /URI (http://example.com/a) >>",
             "/Rect [10 10 20 20] /Dest [" + pdf.pageRef(4) + " /XYZ 0 0 0]",
             "/Rect [10 10 20 20] /Dest /Chap3",
             "/Rect [10 10 20 20] /Dest (sec.4)",
             "/Rect [10 10 20 20] /A << /S /GoTo /D (sec.2) >>",
             "/Rect [10 10 20 20] /A << /S /GoToR /F (other.pdf) /D [0 /Fit] >>",
             "/Rect [10 10 20 20] /A << /S /Named /N /NextPage >>",
             "/Rect [10 10 20 20] /A << /S /URI /URI (http://example.com/a b\001c\"d) >>",
             "/Rect [10 10 20 20] /A << /S /URI /URI (http://example.com/both) >> /Dest [" + pdf.pageRef(2) + " /Fit]",
             "/Rect [10 10 20 20] /Dest (no.such.name)",
             "/Rect [10 10 20 20] /A << /S /URI /URI (page.html) >>",
         })
      first += PdfFixture::ref(link(body)) + " ";
    first += PdfFixture::ref(pdf.add("<< /Type /Annot /Subtype /Text /Rect [0 0 10 10] /Contents (note) >>"));
    pdf.page(0).extra = "/Rotate 0 /Annots [" + first + "]";
    // The same web link on pages rotated in every way, and on an offset crop box.
    const QList<QByteArray> pageExtra = {"/Rotate 180", "/Rotate 90", "/Rotate -90",
                                         "/Rotate 450", "/Rotate 45", "/Rotate 0 /CropBox [50 100 650 900]"};
    for (int i = 1; i < 7; ++i) {
      const QByteArray r = i == 6 ? "/Rect [150 800 350 820]" : rect;
      pdf.page(i).extra = pageExtra[i - 1] + " /Annots [" +
                          PdfFixture::ref(link(r + " /A << /S /URI /URI (http://example.com/p) >>")) + "]";
    }
    pdf.page(6).mediaBox = "[0 0 700 1000]";
    // Named destinations: the old /Dests dictionary, and a name tree with
    // kids, a << /D >> wrapper and a loop back to its root.
    const int tree = pdf.reserve();
    const int kid1 = pdf.add("<< /Limits [(a) (m)] /Names [(sec.2) [" + pdf.pageRef(1) + " /Fit]] >>");
    const int kid2 = pdf.add("<< /Limits [(n) (z)] /Names [(sec.4) << /D [" + pdf.pageRef(3) + " /Fit] >>] >>");
    const int loop = pdf.add("<< /Kids [" + PdfFixture::ref(tree) + "] >>");
    pdf.set(tree,
            "<< /Kids [" + PdfFixture::ref(kid1) + " " + PdfFixture::ref(kid2) + " " + PdfFixture::ref(loop) + "] >>");
    pdf.catalogExtra = "/Dests << /Chap3 [" + pdf.pageRef(2) + " /Fit] >> /Names << /Dests " + PdfFixture::ref(tree) +
                       " >> /URI << /Base (http://base.example/docs/) >>";
    pdf.write(file);
    return file;
  }

 private Q_SLOTS:
  void linkAreasLieWhereMuPdfDrawsThem() {
    // Each page paints its link's rectangle black and nothing else, so the
    // area in book.xml must cover exactly the ink of the picture.
    struct Case {
      QByteArray extra;
      QByteArray mediaBox;
      QByteArray rect;  // x y w h in the page's own coordinates
    };
    const QList<Case> cases = {
        {"/Rotate 0", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate 90", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate 180", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate 270", "[0 0 600 800]", "100 700 200 20"},
        {"/Rotate -90", "[0 0 600 800]", "30 40 50 300"},
        {"/Rotate 450", "[0 0 600 800]", "30 40 50 300"},
        {"/Rotate 45", "[0 0 600 800]", "30 40 50 300"},   // drawn as 90
        {"/Rotate 150", "[0 0 600 800]", "30 40 50 300"},  // drawn as 180
        {"/CropBox [50 100 650 900]", "[0 0 700 1000]", "150 800 200 20"},
        {"/Rotate 90 /CropBox [50 100 650 900]", "[0 0 700 1000]", "150 800 200 20"},
        {"/Rotate 270 /CropBox [50 100 650 900]", "[0 0 700 1000]", "60 120 40 30"},
    };
    PdfFixture pdf;
    for (const Case& c : cases) {
      const QList<QByteArray> r = c.rect.split(' ');
      const QByteArray rect = r[0] + " " + r[1] + " " + QByteArray::number(r[0].toDouble() + r[2].toDouble()) + " " +
                              QByteArray::number(r[1].toDouble() + r[3].toDouble());
      PdfFixture::Page& page = pdf.addPage();
      page.mediaBox = c.mediaBox;
      page.content = "0 g " + c.rect + " re f";
      page.extra = c.extra + " /Annots [<< /Type /Annot /Subtype /Link /Rect [" + rect +
                   "] /A << /S /URI /URI (http://example.com/) >> >>]";
    }
    QVERIFY(pdf.write(path(QStringLiteral("geometry.pdf"))));
    const std::shared_ptr<MuPdfDocument> doc = MuPdfDocument::open(path(QStringLiteral("geometry.pdf")));
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(doc, QStringLiteral("ALL"));
    QList<pugi::xml_node> pages;
    for (pugi::xml_node p = links.pagesAnnotationsNode().child("pageAnnos"); p; p = p.next_sibling("pageAnnos"))
      pages << p;
    QCOMPARE(pages.size(), cases.size());

    // Unrotated pages are as before, to the digit.
    QCOMPARE(location(annos(pages[0])[0]), (QStringList{"0.166667", "0.100000", "0.333333", "0.025000"}));
    for (int i = 0; i < cases.size(); ++i) {
      const QStringList l = location(annos(pages[i])[0]);
      const QRectF area(l[0].toDouble(), l[1].toDouble(), l[2].toDouble(), l[3].toDouble());
      QSize picture;
      const QRectF ink = inkBox(*doc, i, &picture);
      // Within a pixel and a half of the picture on every side.
      const double dx = 1.5 / picture.width(), dy = 1.5 / picture.height();
      QVERIFY2(qAbs(area.left() - ink.left()) <= dx && qAbs(area.right() - ink.right()) <= dx &&
                   qAbs(area.top() - ink.top()) <= dy && qAbs(area.bottom() - ink.bottom()) <= dy,
               qPrintable(boxAndInk(cases[i].extra, area, ink)));
    }
  }

  void linkKinds() {
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(MuPdfDocument::open(linksDocument()), QStringLiteral("1"));
    const QList<pugi::xml_node> list = annos(links.pagesAnnotationsNode().child("pageAnnos"));
    QStringList got;
    // The element names once per kind (a web link, then a page link); the player tests follow both end to end.
    for (const pugi::xml_node& a : {list[0], list[1]})
      QVERIFY2(xml(a).contains(QRegularExpression("^<anno annotype=\"com.velmora.flipbook.pageeditor.TAnnoLink\">"
                                                  "<action triggerEventType=\"mouseDown\"[^>]*>.*</action><location ")),
               qPrintable(xml(a)));
    for (const pugi::xml_node& a : list) {
      const pugi::xml_node action = a.first_child();
      const QString type = QString::fromUtf8(action.attribute("actionType").value());
      if (type.endsWith(QStringLiteral("TAnnoActionOpenURL")))
        got << QString::fromUtf8(action.child("url").text().get());
      else if (type.endsWith(QStringLiteral("TAnnoActionGotoPage")))
        got << QStringLiteral("page ") + QString::fromUtf8(action.child("pageIndex").text().get());
      else
        QFAIL(qPrintable(type));
    }
    // Explicit, /Dests, name tree with << /D >>, /GoTo by name; GoToR, Named,
    // a dangling name and the text note are skipped; a link with both an
    // address and a destination is a web link; relative addresses use /URI /Base.
    QCOMPARE(got, (QStringList{"http://example.com/a", "page 5", "page 3", "page 4", "page 2",
                               "http://example.com/a%20b%01c%22d", "http://example.com/both",
                               "http://base.example/docs/page.html"}));
  }

  void linkRangesKeepPositionsAndPdfNumbers() {
    const QString file = linksDocument();
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(MuPdfDocument::open(file), QStringLiteral("0,1,3-4,99"));
    const pugi::xml_node root = links.pagesAnnotationsNode();
    QStringList indexes;
    for (pugi::xml_node p = root.child("pageAnnos"); p; p = p.next_sibling("pageAnnos"))
      indexes << QString::fromUtf8(p.attribute("pageIndex").value());
    QCOMPARE(indexes, (QStringList{"1", "2", "3"}));  // PDF pages 1, 3, 4
    QCOMPARE(links.warnings().size(), 2);
    // A page link names the PDF page, whatever the range.
    QVERIFY(xml(root).contains(QStringLiteral("<pageIndex>5</pageIndex>")));

    // Without a document: no links, and no failure.
    FlashPagesAnnotationsPDF none;
    none.loadLinksFromPDF(nullptr, QStringLiteral("1-3"));
    QVERIFY(none.pagesAnnotationsNode());
    QVERIFY(!none.pagesAnnotationsNode().first_child());
  }

  void hostileLinksAreBounded() {
    PdfFixture pdf(1);
    QByteArray annots;
    const int one = pdf.add("<< /Type /Annot /Subtype /Link /Rect [1 1 2 2] /Dest [" + pdf.pageRef(0) + " /Fit] >>");
    for (int i = 0; i < 10000; ++i) annots += PdfFixture::ref(one) + " ";
    const QByteArray huge(100 * 1024, 'a');
    annots +=
        PdfFixture::ref(pdf.add("<< /Subtype /Link /Rect [1 1 2 2] /A << /S /URI /URI (http://x/" + huge + ") >> >>"));
    const QByteArray longOk(2000, 'b');
    annots += " " + PdfFixture::ref(pdf.add("<< /Subtype /Link /Rect [1 1 2 2] /A << /S /URI /URI (http://x/" + longOk +
                                            ") >> >>"));
    pdf.page(0).extra = "/Annots [" + annots + "]";
    QVERIFY(pdf.write(path(QStringLiteral("hostile.pdf"))));

    QElapsedTimer timer;
    timer.start();
    FlashPagesAnnotationsPDF links;
    links.loadLinksFromPDF(MuPdfDocument::open(path(QStringLiteral("hostile.pdf"))), QStringLiteral("ALL"));
    QVERIFY(timer.elapsed() < 10000);
    const QList<pugi::xml_node> list = annos(links.pagesAnnotationsNode().child("pageAnnos"));
    QCOMPARE(list.size(), 10001);
    QCOMPARE(QString::fromUtf8(list.last().child("action").child("url").text().get()),
             QStringLiteral("http://x/") + QString::fromLatin1(longOk));
    QCOMPARE(links.warnings().size(), 1);
    QVERIFY(links.warnings().first().contains(QStringLiteral("too long")));
  }

  void outlineFromPdf() {
    PdfFixture pdf(5);
    const int root = pdf.reserve(), ch1 = pdf.reserve(), ch2 = pdf.reserve();
    const int s1 = pdf.reserve(), s2 = pdf.reserve(), s3 = pdf.reserve();
    const auto r = &PdfFixture::ref;
    pdf.set(root, "<< /Type /Outlines /First " + r(ch1) + " /Last " + r(ch2) + " /Count 2 >>");
    pdf.set(ch1, "<< /Title (Intro) /Parent " + r(root) + " /Next " + r(ch2) + " /First " + r(s1) + " /Last " + r(s3) +
                     " /Dest [" + pdf.pageRef(0) + " /Fit] >>");
    pdf.set(s1, "<< /Title <FEFF0053007400E40072007400> /Parent " + r(ch1) + " /Next " + r(s2) +
                    " /A << /S /GoTo /D (sec.2) >> >>");
    pdf.set(s2, "<< /Parent " + r(ch1) + " /Next " + r(s3) + " /Dest [" + pdf.pageRef(2) + " /XYZ 0 0 0] >>");
    pdf.set(s3, "<< /Title (No target\001) /Parent " + r(ch1) + " /A << /S /URI /URI (http://x) >> >>");
    pdf.set(ch2, "<< /Title (Two) /Parent " + r(root) + " /Dest /Five >>");
    pdf.catalogExtra = "/Outlines " + r(root) + " /Dests << /Five [" + pdf.pageRef(4) +
                       " /Fit] >> /Names << /Dests << /Names [(sec.2) << /D [" + pdf.pageRef(1) + " /Fit] >>] >> >>";
    QVERIFY(pdf.write(path(QStringLiteral("outline.pdf"))));

    FlashOutlinePDF outline;
    outline.loadOutlineFromPDF(MuPdfDocument::open(path(QStringLiteral("outline.pdf"))));
    pugi::xml_document doc;
    outline.outlineAsXMLNode(doc.append_child("book"));
    QCOMPARE(xml(doc), QStringLiteral("<book><ols>"
                                      "<o><c>Intro</c><p>1</p><l>1</l><ci>"
                                      "<o><c>Stärt</c><p>2</p><l>2</l><ci/></o>"
                                      "<o><c></c><p>3</p><l>2</l><ci/></o>"
                                      "<o><c>No target</c><p>0</p><l>2</l><ci/></o>"
                                      "</ci></o>"
                                      "<o><c>Two</c><p>5</p><l>1</l><ci/></o>"
                                      "</ols></book>"));
    const FlashOutlineItem* start = outline.items()[0]->childItems()[0].get();
    QCOMPARE(start->parent(), outline.items()[0].get());
    QCOMPARE(outline.items()[0]->parent(), nullptr);
  }

  void damagedOutlinesEnd() {
    PdfFixture pdf(1);
    const auto r = &PdfFixture::ref;
    // X -> Y -> X along /Next, and Y is its own first child.
    const int root = pdf.reserve(), x = pdf.reserve(), y = pdf.reserve();
    pdf.set(root, "<< /First " + r(x) + " >>");
    pdf.set(x, "<< /Title (X) /Next " + r(y) + " >>");
    pdf.set(y, "<< /Title (Y) /Next " + r(x) + " /First " + r(y) + " >>");
    // A chain of 100 levels, each the only child of the one before.
    QList<int> chain;
    for (int i = 0; i < 100; ++i) chain << pdf.reserve();
    for (int i = 0; i < 100; ++i)
      pdf.set(chain[i], "<< /Title (L" + QByteArray::number(i + 1) + ")" +
                            (i + 1 < 100 ? " /First " + r(chain[i + 1]) : QByteArray()) + " >>");
    const int deepRoot = pdf.add("<< /First " + r(chain[0]) + " >>");
    pdf.catalogExtra = "/Outlines " + r(root);
    QVERIFY(pdf.write(path(QStringLiteral("cycle.pdf"))));
    pdf.catalogExtra = "/Outlines " + r(deepRoot);
    QVERIFY(pdf.write(path(QStringLiteral("deep.pdf"))));

    FlashOutlinePDF cyclic;
    cyclic.loadOutlineFromPDF(MuPdfDocument::open(path(QStringLiteral("cycle.pdf"))));
    QCOMPARE(cyclic.items().size(), size_t(2));
    QCOMPARE(cyclic.items()[1]->caption(), QStringLiteral("Y"));
    QVERIFY(cyclic.items()[1]->childItems().empty());

    FlashOutlinePDF deep;
    deep.loadOutlineFromPDF(MuPdfDocument::open(path(QStringLiteral("deep.pdf"))));
    int depth = 0;
    for (const FlashOutlineItem* i = deep.items().empty() ? nullptr : deep.items()[0].get(); i;
         i = i->childItems().empty() ? nullptr : i->childItems()[0].get()) {
      ++depth;
      QCOMPARE(i->level(), depth);
    }
    QCOMPARE(depth, FlashOutlinePDF::kMaxDepth);
    QCOMPARE(deep.warnings().size(), 1);
  }

  void outlineXmlRoundTrip() {
    FlashOutline outline;
    FlashOutlineItems items;
    for (int c = 0; c < 2; ++c) {
      auto chapter = std::make_unique<FlashOutlineItem>();
      chapter->setCaption(QStringLiteral("Chapter <%1> & \"more\"").arg(c + 1));
      chapter->setPageIndex(c * 10 + 1);
      chapter->setLevel(1);
      for (int s = 0; c == 0 && s < 3; ++s) {
        auto section = std::make_unique<FlashOutlineItem>();
        section->setCaption(QStringLiteral("Section %1").arg(s + 1));
        section->setPageIndex(s + 2);
        section->setLevel(2);
        section->setParent(chapter.get());
        chapter->addChild(std::move(section));
      }
      items.push_back(std::move(chapter));
    }
    outline.setItems(std::move(items));
    pugi::xml_document doc;
    const pugi::xml_node ols = outline.outlineAsXMLNode(doc.append_child("book"));
    QCOMPARE(QString::fromUtf8(ols.name()), QStringLiteral("ols"));
    QVERIFY(outline.outlineAsXMLNode(doc.child("book")) != ols);  // a new element per call

    // A foreign element inside ci is ignored.
    ols.child("o").child("ci").append_child("x").append_child("o");
    FlashOutline back;
    back.loadFromXMLNode(ols);
    pugi::xml_document again;
    back.outlineAsXMLNode(again);
    ols.child("o").child("ci").remove_child("x");
    QCOMPARE(xml(again.child("ols")), xml(ols));
    QCOMPARE(back.items()[0]->childItems()[2]->parent(), back.items()[0].get());

    QVERIFY_THROWS_EXCEPTION(FlashOutlineError, back.loadFromXMLNode(ols.child("o")));  // an o is no outline
    QCOMPARE(back.items().size(), size_t(2));                                           // unchanged by the failure
    QVERIFY_THROWS_EXCEPTION(FlashOutlineError, FlashOutlineItem().loadItemFromXMLNode(ols));

    // A hostile element nested 5,000 levels deep is read to a bounded depth.
    QByteArray deep = "<ols>";
    for (int i = 0; i < 5000; ++i) deep += "<o><c>x</c><p>1</p><l>" + QByteArray::number(i + 1) + "</l><ci>";
    for (int i = 0; i < 5000; ++i) deep += "</ci></o>";
    deep += "</ols>";
    pugi::xml_document hostile;
    QVERIFY(hostile.load_buffer(deep.constData(), static_cast<size_t>(deep.size())));
    FlashOutline bounded;
    bounded.loadFromXMLNode(hostile.child("ols"));
    int depth = 0;
    for (const FlashOutlineItem* i = bounded.items()[0].get(); i;
         i = i->childItems().empty() ? nullptr : i->childItems()[0].get())
      ++depth;
    QCOMPARE(depth, FlashOutlineItem::kMaxDepth);
  }
};

FOLIVOX_TEST_MAIN(TestLinksOutline)
#include "test_links_outline.moc"
