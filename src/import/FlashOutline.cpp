#include "import/FlashOutline.h"

#include <string_view>

#include "import/FlashOutlineError.h"

FlashOutline::FlashOutline() = default;

FlashOutline::~FlashOutline() = default;

pugi::xml_node FlashOutline::outlineAsXMLNode(pugi::xml_node parent) const {
  pugi::xml_node ols = parent.append_child("ols");
  for (const auto& item : iItems) item->outlineItemAsXMLNode(ols);
  return ols;
}

void FlashOutline::loadFromXMLNode(const pugi::xml_node& element) {
  if (std::string_view(element.name()) != "ols")
    throw FlashOutlineError(QStringLiteral("ERROR_INIT_OUTLINES"), QStringLiteral("Not a flash outline"));
  iItems.clear();
  for (pugi::xml_node o = element.child("o"); o; o = o.next_sibling("o")) {
    auto item = std::make_unique<FlashOutlineItem>();
    item->loadItemFromXMLNode(o);
    iItems.push_back(std::move(item));
  }
}
