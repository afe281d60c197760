// flashTemplate.xml loading: pugixml first, and for text that is not
// well-formed the libxml2 repair pass read back into pugixml.
#include "FuzzSupport.h"
#include "templates/FlashTemplate.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FlashTemplate tmpl(QStringLiteral("fuzz"));  // no such package: starts empty
  tmpl.loadTemplateData(QStringLiteral("fuzz"), fuzz::bytes(data, size));

  // A load succeeds as a whole or leaves nothing behind.
  FUZZ_CHECK(tmpl.loadError().isEmpty() || tmpl.properties().empty());
  if (!tmpl.loadError().isEmpty()) return 0;

  // Walk what was read the ways the program does: look-ups, settings export,
  // the parent links of the tree.
  tmpl.propertyValueFor(QStringLiteral("pageWidth"), QStringLiteral("600"));
  tmpl.setPropertyValue(QStringLiteral("bgImage"), QStringLiteral("STYLE_RESOURCE:images/bg.jpg"));
  QStringList lines;
  tmpl.exportPropertiesSettingsToArray(lines, nullptr);
  std::vector<const FlashTemplateProperty*> stack;
  for (const auto& p : tmpl.properties()) {
    FUZZ_CHECK(p->parent() == nullptr);
    stack.push_back(p.get());
  }
  qsizetype count = 0;
  while (!stack.empty()) {
    const FlashTemplateProperty* p = stack.back();
    stack.pop_back();
    ++count;
    for (const auto& c : p->childProperties()) {
      FUZZ_CHECK(c->parent() == p);
      stack.push_back(c.get());
    }
  }
  FUZZ_CHECK(count == lines.size());
  return 0;
}
