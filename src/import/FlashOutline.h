// The book's table of contents: a tree of bookmarks, written into book.xml
// as the "ols" element.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <pugixml.hpp>

#include "import/FlashOutlineItem.h"

class FlashOutline {
 public:
  FlashOutline();
  virtual ~FlashOutline();
  FlashOutline(const FlashOutline&) = delete;
  FlashOutline& operator=(const FlashOutline&) = delete;

  const FlashOutlineItems& items() const { return iItems; }
  void setItems(FlashOutlineItems items) { iItems = std::move(items); }

  // Appends a new "ols" element built from the tree to `parent` and returns
  // it; every call builds a new one.
  pugi::xml_node outlineAsXMLNode(pugi::xml_node parent) const;
  // Replaces items() with the bookmarks of an "ols" element. Throws
  // FlashOutlineError "ERROR_INIT_OUTLINES" for another element.
  void loadFromXMLNode(const pugi::xml_node& element);

 protected:
  FlashOutlineItems iItems;
};
