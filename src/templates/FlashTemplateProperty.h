// One node of a template's property tree.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace pugi {
class xml_node;
}

enum FlashTemplatePropertyType : qint32 {
  pt_text = 0,
  pt_number = 1,
  pt_color = 2,
  pt_list = 3,
  pt_composite = 4,
  pt_file = 5,
  pt_list_fromFunction = 6,
  pt_form_security = 7,
  pt_font = 8,
  pt_form_contactabout = 9,
  pt_bool = 10,
};

class FlashTemplateProperty;
using FlashTemplatePropertyList = std::vector<std::unique_ptr<FlashTemplateProperty>>;

// Thrown by loadFromNode() when a property element lacks a required child.
struct FlashTemplateLoadError {
  QString element;   // the missing child's name
  ptrdiff_t offset;  // byte offset of the property element in the parsed text
};

class FlashTemplateProperty {
 public:
  FlashTemplateProperty() = default;

  FlashTemplateProperty* parent() const { return iParent; }
  void setParent(FlashTemplateProperty* parent) { iParent = parent; }
  qint32 propertyType() const { return iPropertyType; }
  void setPropertyType(qint32 type) { iPropertyType = type; }
  // Absent strings are std::nullopt; key(), desc() ... return "" for them.
  QString key() const { return iKey.value_or(QString()); }
  const std::optional<QString>& keyOpt() const { return iKey; }
  void setKey(std::optional<QString> key) { iKey = std::move(key); }
  const QString& title() const { return iTitle; }
  void setTitle(const QString& title) { iTitle = title; }
  const QString& aTitle() const { return iATitle; }
  void setATitle(const QString& title) { iATitle = title; }
  QString desc() const { return iDesc.value_or(QString()); }
  void setDesc(std::optional<QString> desc) { iDesc = std::move(desc); }
  QString value() const { return iValue.value_or(QString()); }
  const std::optional<QString>& valueOpt() const { return iValue; }
  void setValue(std::optional<QString> value) { iValue = std::move(value); }
  QString valueSource() const { return iValueSource.value_or(QString()); }
  void setValueSource(std::optional<QString> source) { iValueSource = std::move(source); }
  QString defaultValue() const { return iDefaultValue.value_or(QString()); }
  void setDefaultValue(std::optional<QString> value) { iDefaultValue = std::move(value); }

  const FlashTemplatePropertyList& childProperties() const { return iChildProperties; }
  void setChildProperties(FlashTemplatePropertyList children) { iChildProperties = std::move(children); }
  void addChild(std::unique_ptr<FlashTemplateProperty> child);
  qsizetype childCount() const { return static_cast<qsizetype>(iChildProperties.size()); }
  // A deep copy of this node and its children, without a parent.
  std::unique_ptr<FlashTemplateProperty> clone() const;

  // Replaces this node's content with what a <property> element describes.
  // Anything but a "property" element is ignored. Throws FlashTemplateLoadError
  // when one of key, title, desc, value, valueSource, defaultValue is missing,
  // leaving this node as it was. Nesting deeper than kMaxDepth is an error too.
  void loadFromNode(const pugi::xml_node& element);

  static constexpr int kMaxDepth = 256;

 private:
  void loadFromNode(const pugi::xml_node& element, int depth);

  FlashTemplateProperty* iParent = nullptr;
  qint32 iPropertyType = pt_text;
  std::optional<QString> iKey;
  QString iTitle = QStringLiteral("Empty");
  QString iATitle;
  std::optional<QString> iDesc;
  std::optional<QString> iValue;
  std::optional<QString> iValueSource;
  std::optional<QString> iDefaultValue;
  FlashTemplatePropertyList iChildProperties;
};
