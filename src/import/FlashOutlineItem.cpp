#include "import/FlashOutlineItem.h"

#include <algorithm>
#include <string_view>

#include "base/Log.h"
#include "import/FlashOutlineError.h"
#include "import/FlashPageSource.h"
#include "import/XmlSafeText.h"

FlashOutlineItem* FlashOutlineItem::addChild(std::unique_ptr<FlashOutlineItem> item) {
  if (!item) return nullptr;
  m_childItems.push_back(std::move(item));
  return m_childItems.back().get();
}

std::unique_ptr<FlashOutlineItem> FlashOutlineItem::removeChild(const FlashOutlineItem* item) {
  auto it = std::find_if(m_childItems.begin(), m_childItems.end(),
                         [item](const std::unique_ptr<FlashOutlineItem>& c) { return c.get() == item; });
  if (it == m_childItems.end()) return nullptr;
  std::unique_ptr<FlashOutlineItem> taken = std::move(*it);
  m_childItems.erase(it);
  return taken;
}

pugi::xml_node FlashOutlineItem::outlineItemAsXMLNode(pugi::xml_node parent) const { return writeXml(parent, 1); }

pugi::xml_node FlashOutlineItem::writeXml(pugi::xml_node parent, int depth) const {
  pugi::xml_node o = parent.append_child("o");
  o.append_child("c").text().set(xmlSafeText(m_caption).toUtf8().constData());
  o.append_child("p").text().set(QString::asprintf("%d", m_pageIndex).toUtf8().constData());
  o.append_child("l").text().set(QString::asprintf("%d", m_level).toUtf8().constData());
  pugi::xml_node ci = o.append_child("ci");
  if (depth >= kMaxDepth) {
    if (!m_childItems.empty()) qCWarning(lcImport) << "bookmarks deeper than" << kMaxDepth << "levels are not written";
    return o;
  }
  for (const auto& child : m_childItems) child->writeXml(ci, depth + 1);
  return o;
}

void FlashOutlineItem::loadItemFromXMLNode(const pugi::xml_node& element) { readXml(element, 1); }

void FlashOutlineItem::readXml(const pugi::xml_node& element, int depth) {
  if (std::string_view(element.name()) != "o")
    throw FlashOutlineError(QStringLiteral("ERROR_INIT_OUTLINE_ITEM"), QStringLiteral("Not a flash outline item"));
  if (pugi::xml_node c = element.child("c")) m_caption = QString::fromUtf8(c.text().get());
  if (pugi::xml_node p = element.child("p"))
    m_pageIndex = FlashPageSource::integerValue(QString::fromUtf8(p.text().get()));
  if (pugi::xml_node l = element.child("l")) m_level = FlashPageSource::integerValue(QString::fromUtf8(l.text().get()));
  m_childItems.clear();
  pugi::xml_node ci = element.child("ci");
  if (!ci) return;
  if (depth >= kMaxDepth) {
    if (ci.child("o")) qCWarning(lcImport) << "bookmarks deeper than" << kMaxDepth << "levels are ignored";
    return;
  }
  for (pugi::xml_node o = ci.child("o"); o; o = o.next_sibling("o")) {
    auto child = std::make_unique<FlashOutlineItem>();
    child->readXml(o, depth + 1);
    child->setParent(this);
    m_childItems.push_back(std::move(child));
  }
}
