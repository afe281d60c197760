#include "templates/FlashTemplateProperty.h"

#include <cstring>
#include <pugixml.hpp>

#include "base/Translations.h"
#include "templates/StringUtil.h"
#include "templates/XmlText.h"

namespace {

const char* const kRequired[] = {"key", "title", "desc", "value", "valueSource", "defaultValue"};

// A text in the program's language (<title lang="de">) when the template has
// one, else the plain element; programs that know no variants read the first
// element, which is the plain one.
pugi::xml_node localizedChild(const pugi::xml_node& element, const char* name) {
  const QByteArray language = Translations::language().toLatin1();
  pugi::xml_node plain;
  for (pugi::xml_node c = element.child(name); c; c = c.next_sibling(name)) {
    const pugi::xml_attribute lang = c.attribute("lang");
    if (!lang) {
      if (!plain) plain = c;
    } else if (language == lang.value()) {
      return c;
    }
  }
  return plain ? plain : element.child(name);
}

}  // namespace

void FlashTemplateProperty::addChild(std::unique_ptr<FlashTemplateProperty> child) {
  child->setParent(this);
  iChildProperties.push_back(std::move(child));
}

std::unique_ptr<FlashTemplateProperty> FlashTemplateProperty::clone() const {
  auto copy = std::make_unique<FlashTemplateProperty>();
  copy->iPropertyType = iPropertyType;
  copy->iKey = iKey;
  copy->iTitle = iTitle;
  copy->iATitle = iATitle;
  copy->iDesc = iDesc;
  copy->iValue = iValue;
  copy->iValueSource = iValueSource;
  copy->iDefaultValue = iDefaultValue;
  // Loaded trees are at most kMaxDepth deep, so the recursion is bounded.
  for (const auto& child : iChildProperties) copy->addChild(child->clone());
  return copy;
}

void FlashTemplateProperty::loadFromNode(const pugi::xml_node& element) { loadFromNode(element, 0); }

void FlashTemplateProperty::loadFromNode(const pugi::xml_node& element, int depth) {
  if (!element || std::strcmp(element.name(), "property") != 0) return;
  if (depth > kMaxDepth)
    throw FlashTemplateLoadError{QStringLiteral("childProperties (nested too deep)"), element.offset_debug()};

  // Read everything first, so a failure leaves this node untouched.
  std::optional<QString> fields[6];
  for (int i = 0; i < 6; ++i) {
    const pugi::xml_node child = i == 1 || i == 2 ? localizedChild(element, kRequired[i]) : element.child(kRequired[i]);
    if (!child) throw FlashTemplateLoadError{QString::fromLatin1(kRequired[i]), element.offset_debug()};
    fields[i] = XmlText::textContent(child);
  }
  const pugi::xml_attribute typeAttr = element.attribute("type");
  const std::optional<QString> typeName =
      typeAttr ? std::optional<QString>(QString::fromUtf8(typeAttr.value())) : std::nullopt;
  const pugi::xml_node aTitleNode = localizedChild(element, "aTitle");

  FlashTemplatePropertyList children;
  if (const pugi::xml_node holder = element.child("childProperties")) {
    for (pugi::xml_node c = holder.child("property"); c; c = c.next_sibling("property")) {
      auto prop = std::make_unique<FlashTemplateProperty>();
      prop->loadFromNode(c, depth + 1);
      children.push_back(std::move(prop));
    }
  }

  iParent = nullptr;
  iKey = fields[0];
  iTitle = fields[1].value_or(QString());
  iDesc = fields[2];
  iValue = fields[3];
  iValueSource = fields[4];
  iDefaultValue = fields[5];
  iATitle = aTitleNode ? XmlText::textContent(aTitleNode) : QString();
  iPropertyType = StringUtil::flashTemplatePropertyTypeFromString(typeName.value_or(QString()));
  if (element.attribute("aType")) iPropertyType = pt_bool;
  iChildProperties.clear();
  for (auto& c : children) addChild(std::move(c));
}
