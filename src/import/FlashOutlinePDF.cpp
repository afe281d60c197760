#include "import/FlashOutlinePDF.h"

#include <QCoreApplication>

#include "base/Log.h"
#include "import/MuPdfDocument.h"
#include "import/PdfDestinations.h"
#include "import/PdfObject.h"
#include "import/XmlSafeText.h"

FlashOutlinePDF::FlashOutlinePDF() = default;

FlashOutlinePDF::~FlashOutlinePDF() = default;

void FlashOutlinePDF::loadOutlineFromPDF(const std::shared_ptr<MuPdfDocument>& doc) {
  if (!doc) return;
  const PdfObject root = doc->catalog().get("Outlines");
  if (!root.isDict()) return;
  m_dests = std::make_unique<PdfDestinations>(*doc);
  m_visited.clear();
  m_count = 0;
  m_warnedDepth = false;
  firstVisit(root);
  for (PdfObject node = root.get("First"); firstVisit(node); node = node.get("Next")) {
    std::unique_ptr<FlashOutlineItem> item = makeItem(node, 1);
    FlashOutlineItem* added = item.get();
    iItems.push_back(std::move(item));
    addOutelineToItems(added, node, 1, *doc);
  }
  if (m_count >= kMaxItems) {
    qCWarning(lcImport) << "the outline has more than" << kMaxItems << "bookmarks; the rest are ignored";
    m_warnings << QCoreApplication::translate("FlashOutlinePDF",
                                              "The document has more than %1 bookmarks; the rest were ignored.")
                      .arg(kMaxItems);
  }
  m_dests.reset();
  m_visited.clear();
}

void FlashOutlinePDF::addOutelineToItems(FlashOutlineItem* parent, const PdfObject& outline, qint32 level,
                                         const MuPdfDocument& doc) {
  if (!m_dests) m_dests = std::make_unique<PdfDestinations>(doc);
  if (level >= kMaxDepth) {
    if (outline.get("First").isDict() && !m_warnedDepth) {
      m_warnedDepth = true;
      qCWarning(lcImport) << "bookmarks nested deeper than" << kMaxDepth << "levels are ignored";
      m_warnings << QCoreApplication::translate("FlashOutlinePDF",
                                                "Bookmarks nested deeper than %1 levels were ignored.")
                        .arg(kMaxDepth);
    }
    return;
  }
  for (PdfObject node = outline.get("First"); firstVisit(node); node = node.get("Next")) {
    std::unique_ptr<FlashOutlineItem> item = makeItem(node, level + 1);
    item->setParent(parent);
    FlashOutlineItem* added = parent->addChild(std::move(item));
    addOutelineToItems(added, node, level + 1, doc);
  }
}

bool FlashOutlinePDF::firstVisit(const PdfObject& node) {
  if (m_count >= kMaxItems || !node.isDict()) return false;
  if (!m_visited.insert(node.identity()).second) {
    qCWarning(lcImport) << "the outline loops back on itself; the loop is cut";
    return false;
  }
  ++m_count;
  return true;
}

std::unique_ptr<FlashOutlineItem> FlashOutlinePDF::makeItem(const PdfObject& node, qint32 level) const {
  auto item = std::make_unique<FlashOutlineItem>();
  item->setCaption(xmlSafeText(node.get("Title").text(), kMaxCaption));
  const PdfObject dest = node.get("Dest");
  const int index = !dest.isNull() ? m_dests->pageIndexOfDest(dest) : m_dests->pageIndexOfAction(node.get("A"));
  item->setPageIndex(index + 1);
  item->setLevel(level);
  qCDebug(lcImport).noquote() << "bookmark:" << item->caption();
  return item;
}
