#include "import/FlashPagesAnnotations.h"

FlashPagesAnnotations::FlashPagesAnnotations() = default;

FlashPagesAnnotations::~FlashPagesAnnotations() = default;

pugi::xml_node FlashPagesAnnotations::pagesAnnotationsNode() const {
  return iPagesAnnotationsNode ? iPagesAnnotationsNode->document_element() : pugi::xml_node();
}

void FlashPagesAnnotations::setPagesAnnotationsNode(const pugi::xml_node& node) {
  if (!node) {
    iPagesAnnotationsNode.reset();
    return;
  }
  auto doc = std::make_unique<pugi::xml_document>();
  doc->append_copy(node);
  iPagesAnnotationsNode = std::move(doc);
}

pugi::xml_node FlashPagesAnnotations::resetPagesAnnotationsNode() {
  iPagesAnnotationsNode = std::make_unique<pugi::xml_document>();
  return iPagesAnnotationsNode->append_child("pagesAnnos");
}
