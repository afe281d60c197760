#include "publish/EpubPackage.h"

#include <pugixml.hpp>
#include <vector>

#include "import/FlashOutline.h"
#include "import/FlashOutlineItem.h"
#include "import/XmlSafeText.h"
#include "publish/EpubXhtml.h"
#include "publish/FlashBookOutput.h"

namespace {

using EpubXhtml::safe;

void addMeta(pugi::xml_node metadata, const char* property, const QString& value) {
  pugi::xml_node meta = metadata.append_child("meta");
  meta.append_attribute("property") = property;
  meta.text() = safe(value).c_str();
}

pugi::xml_node addLink(pugi::xml_node parent, const QString& href, const QString& text) {
  pugi::xml_node a = parent.append_child("a");
  a.append_attribute("href") = safe(href).c_str();
  a.text() = safe(text).c_str();
  return a;
}

// One <nav> of the navigation document, named by its kind; returns its list.
// Only the contents are shown in the page; readers build their own menus from
// the page list and the landmarks.
pugi::xml_node addNav(pugi::xml_node body, const char* type, const char* heading, bool contents) {
  pugi::xml_node nav = body.append_child("nav");
  nav.append_attribute("epub:type") = type;
  nav.append_attribute("id") = type;
  if (contents)
    nav.append_attribute("role") = "doc-toc";
  else
    nav.append_attribute("hidden") = "hidden";
  nav.append_child(contents ? "h1" : "h2").text() = heading;
  return nav.append_child("ol");
}

}  // namespace

QByteArray EpubPackage::container() {
  return QByteArrayLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
      "  <rootfiles>\n"
      "    <rootfile full-path=\"EPUB/package.opf\" media-type=\"application/oebps-package+xml\"/>\n"
      "  </rootfiles>\n"
      "</container>\n");
}

QByteArray EpubPackage::styleSheet() {
  return QByteArrayLiteral(
      "html, body { margin: 0; padding: 0; }\n"
      "body { position: relative; overflow: hidden; }\n"
      "img.picture { position: absolute; left: 0; top: 0; width: 100%; height: 100%; }\n"
      "/* The words lie over the picture, invisible, for search, selection and reading aloud. */\n"
      ".text span { position: absolute; color: transparent; white-space: pre; line-height: 1; "
      "font-family: sans-serif; overflow: hidden; }\n"
      "a.link { position: absolute; display: block; }\n");
}

QString EpubPackage::mediaTypeOf(const QString& path) {
  const QString ext = FlashBookOutput::pathExtension(path).toLower();
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return QStringLiteral("image/jpeg");
  if (ext == QLatin1String("png")) return QStringLiteral("image/png");
  if (ext == QLatin1String("webp")) return QStringLiteral("image/webp");
  if (ext == QLatin1String("gif")) return QStringLiteral("image/gif");
  return QString();
}

QString EpubPackage::documentOf(qint32 number) const {
  for (const Page& p : pages)
    if (p.number == number) return p.document;
  return QString();
}

QString EpubPackage::identifierFor(const QByteArray& digest) {
  // A name-based UUID (version 5 layout) from the digest's first 16 bytes.
  QByteArray b = digest.left(16);
  b.resize(16);
  b[6] = static_cast<char>((b[6] & 0x0F) | 0x50);
  b[8] = static_cast<char>((b[8] & 0x3F) | 0x80);
  const QByteArray h = b.toHex();
  return QStringLiteral("urn:uuid:%1-%2-%3-%4-%5")
      .arg(QString::fromLatin1(h.mid(0, 8)), QString::fromLatin1(h.mid(8, 4)), QString::fromLatin1(h.mid(12, 4)),
           QString::fromLatin1(h.mid(16, 4)), QString::fromLatin1(h.mid(20, 12)));
}

QByteArray EpubPackage::packageDocument() const {
  pugi::xml_document doc;
  pugi::xml_node package = doc.append_child("package");
  package.append_attribute("xmlns") = "http://www.idpf.org/2007/opf";
  package.append_attribute("version") = "3.0";
  package.append_attribute("unique-identifier") = "book-id";
  package.append_attribute("xml:lang") = safe(language).c_str();

  pugi::xml_node metadata = package.append_child("metadata");
  metadata.append_attribute("xmlns:dc") = "http://purl.org/dc/elements/1.1/";
  pugi::xml_node id = metadata.append_child("dc:identifier");
  id.append_attribute("id") = "book-id";
  id.text() = safe(identifier).c_str();
  metadata.append_child("dc:title").text() = safe(title).c_str();
  if (!author.isEmpty()) metadata.append_child("dc:creator").text() = safe(author).c_str();
  metadata.append_child("dc:language").text() = safe(language).c_str();
  addMeta(metadata, "dcterms:modified", modified.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
  addMeta(metadata, "rendition:layout", QStringLiteral("pre-paginated"));
  addMeta(metadata, "rendition:spread", QStringLiteral("auto"));
  addMeta(metadata, "rendition:orientation", QStringLiteral("auto"));

  // What the book holds, for readers who need it another way.
  bool everyPageHasText = !pages.isEmpty();
  bool anyText = false;
  for (const Page& p : pages) {
    everyPageHasText = everyPageHasText && p.hasText;
    anyText = anyText || p.hasText;
  }
  addMeta(metadata, "schema:accessMode", QStringLiteral("visual"));
  if (anyText) addMeta(metadata, "schema:accessMode", QStringLiteral("textual"));
  addMeta(metadata, "schema:accessModeSufficient", QStringLiteral("visual"));
  if (everyPageHasText) addMeta(metadata, "schema:accessModeSufficient", QStringLiteral("textual"));
  addMeta(metadata, "schema:accessibilityFeature", QStringLiteral("tableOfContents"));
  addMeta(metadata, "schema:accessibilityFeature", QStringLiteral("pageNavigation"));
  if (anyText) addMeta(metadata, "schema:accessibilityFeature", QStringLiteral("readingOrder"));
  addMeta(metadata, "schema:accessibilityHazard", QStringLiteral("none"));
  QString summary =
      QStringLiteral("A fixed-layout book: each page is a picture of the printed page, as the reader turns it.");
  if (everyPageHasText)
    summary += QStringLiteral(
        " Every page carries its words as text over the picture, in reading order, "
        "so they can be searched, selected and read aloud.");
  else if (anyText)
    summary += QStringLiteral(
        " Pages with text carry their words as text over the picture, so they can be "
        "searched, selected and read aloud; the others are pictures only.");
  else
    summary += QStringLiteral(" The pages are pictures only, without text.");
  summary += QStringLiteral(" Pictures have no descriptions. The contents and a list of the pages lead to each page.");
  addMeta(metadata, "schema:accessibilitySummary", summary);
  pugi::xml_node cover = metadata.append_child("meta");
  cover.append_attribute("name") = "cover";
  cover.append_attribute("content") = "cover-image";

  pugi::xml_node manifest = package.append_child("manifest");
  const auto item = [&](const QString& id, const QString& href, const QString& type, const char* properties) {
    pugi::xml_node i = manifest.append_child("item");
    i.append_attribute("id") = safe(id).c_str();
    i.append_attribute("href") = safe(href).c_str();
    i.append_attribute("media-type") = safe(type).c_str();
    if (properties != nullptr) i.append_attribute("properties") = properties;
  };
  item(QStringLiteral("nav"), QStringLiteral("nav.xhtml"), QStringLiteral("application/xhtml+xml"), "nav");
  item(QStringLiteral("css"), QStringLiteral("book.css"), QStringLiteral("text/css"), nullptr);
  for (qsizetype i = 0; i < pages.size(); ++i) {
    const Page& p = pages[i];
    item(QStringLiteral("page-%1").arg(p.number), p.document, QStringLiteral("application/xhtml+xml"), nullptr);
    item(i == 0 ? QStringLiteral("cover-image") : QStringLiteral("image-%1").arg(p.number), p.picture, p.mediaType,
         i == 0 ? "cover-image" : nullptr);
  }
  pugi::xml_node spine = package.append_child("spine");
  for (qsizetype i = 0; i < pages.size(); ++i) {
    pugi::xml_node ref = spine.append_child("itemref");
    ref.append_attribute("idref") = QStringLiteral("page-%1").arg(pages[i].number).toUtf8().constData();
    // The cover stands alone, on the right, as a printed book opens.
    if (i == 0) ref.append_attribute("properties") = "page-spread-right";
  }
  return EpubXhtml::serialise(doc, EpubXhtml::Layout::Indented);
}

QByteArray EpubPackage::navigationDocument() const {
  pugi::xml_document doc;
  pugi::xml_node body = EpubXhtml::start(doc, language, title).append_child("body");

  pugi::xml_node list = addNav(body, "toc", "Contents", true);
  bool any = false;
  if (outline != nullptr) {
    // Depth first without recursion; a bookmark that leads nowhere stays only
    // as the heading of the bookmarks below it that do.
    struct Step {
      const FlashOutlineItem* item;
      pugi::xml_node list;
    };
    std::vector<Step> stack;
    for (auto it = outline->items().rbegin(); it != outline->items().rend(); ++it) stack.push_back({it->get(), list});
    std::vector<pugi::xml_node> emptyLists;
    while (!stack.empty()) {
      Step step = stack.back();
      stack.pop_back();
      const QString target = documentOf(step.item->pageIndex());
      const bool hasChildren = !step.item->childItems().empty();
      if (target.isEmpty() && !hasChildren) continue;
      QString caption = xmlSafeText(step.item->caption()).simplified();
      pugi::xml_node li = step.list.append_child("li");
      if (target.isEmpty()) {
        li.append_child("span").text() = safe(caption.isEmpty() ? QStringLiteral("\u2026") : caption).c_str();
      } else {
        if (caption.isEmpty()) caption = QStringLiteral("Page %1").arg(step.item->pageIndex());
        addLink(li, target, caption);
        any = true;
      }
      if (hasChildren) {
        pugi::xml_node sub = li.append_child("ol");
        emptyLists.push_back(sub);
        const auto& kids = step.item->childItems();
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back({it->get(), sub});
      }
    }
    // A heading whose bookmarks all led nowhere: an empty list is not allowed,
    // and neither is a heading without one; such headings go, innermost first.
    for (auto it = emptyLists.rbegin(); it != emptyLists.rend(); ++it) {
      if (it->first_child()) continue;
      pugi::xml_node li = it->parent();
      li.remove_child(*it);
      if (li.child("span")) li.parent().remove_child(li);
    }
  }
  if (!any) {
    for (const Page& p : pages) addLink(list.append_child("li"), p.document, QStringLiteral("Page %1").arg(p.label));
  }

  pugi::xml_node pagesOl = addNav(body, "page-list", "Pages", false);
  for (const Page& p : pages) addLink(pagesOl.append_child("li"), p.document + QStringLiteral("#page"), p.label);

  pugi::xml_node marks = addNav(body, "landmarks", "Landmarks", false);
  if (!pages.isEmpty()) {
    addLink(marks.append_child("li"), pages.first().document, QStringLiteral("Cover")).append_attribute("epub:type") =
        "cover";
  }
  return EpubXhtml::serialise(doc, EpubXhtml::Layout::Indented);
}
