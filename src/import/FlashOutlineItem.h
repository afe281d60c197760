// One bookmark of the book's table of contents, with the bookmarks below it.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QString>
#include <memory>
#include <pugixml.hpp>
#include <vector>

class FlashOutlineItem;
using FlashOutlineItems = std::vector<std::unique_ptr<FlashOutlineItem>>;

class FlashOutlineItem {
 public:
  // Deeper levels are not read from XML nor written: no real table of
  // contents comes near, and it bounds the recursion.
  static constexpr int kMaxDepth = 256;

  FlashOutlineItem() = default;
  FlashOutlineItem(const FlashOutlineItem&) = delete;
  FlashOutlineItem& operator=(const FlashOutlineItem&) = delete;

  const QString& caption() const { return m_caption; }
  void setCaption(const QString& caption) { m_caption = caption; }
  qint32 pageIndex() const { return m_pageIndex; }
  void setPageIndex(qint32 index) { m_pageIndex = index; }
  // The bookmark holding this one, or null at the top. Not owned.
  FlashOutlineItem* parent() const { return m_parent; }
  void setParent(FlashOutlineItem* parent) { m_parent = parent; }
  const FlashOutlineItems& childItems() const { return m_childItems; }
  qint32 level() const { return m_level; }
  void setLevel(qint32 level) { m_level = level; }

  // Neither sets the child's parent(); the caller does.
  FlashOutlineItem* addChild(std::unique_ptr<FlashOutlineItem> item);
  // Hands the child back to the caller; null when it is not a child.
  std::unique_ptr<FlashOutlineItem> removeChild(const FlashOutlineItem* item);

  // Appends a new "o" element for this bookmark and its children to `parent`
  // and returns it: c (caption), p (page), l (level), ci (children).
  pugi::xml_node outlineItemAsXMLNode(pugi::xml_node parent) const;
  // Fills this bookmark and its children from an "o" element. Throws
  // FlashOutlineError "ERROR_INIT_OUTLINE_ITEM" for another element.
  void loadItemFromXMLNode(const pugi::xml_node& element);

 private:
  pugi::xml_node writeXml(pugi::xml_node parent, int depth) const;
  void readXml(const pugi::xml_node& element, int depth);

  QString m_caption;
  qint32 m_pageIndex = 0;
  FlashOutlineItem* m_parent = nullptr;
  FlashOutlineItems m_childItems;
  qint32 m_level = 0;
};
