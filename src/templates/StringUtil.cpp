#include "templates/StringUtil.h"

#include <array>

#include "templates/FlashTemplateProperty.h"

namespace StringUtil {

bool valueAsBool(const QString& text) {
  const QString upper = text.toUpper();
  return upper == QLatin1String("YES") || upper == QLatin1String("SHOW") || upper == QLatin1String("ENABLE") ||
         upper == QLatin1String("TRUE");
}

qint32 flashTemplatePropertyTypeFromString(const QString& name) {
  static const std::array<const char*, 11> names = {"pt_text",
                                                    "pt_number",
                                                    "pt_color",
                                                    "pt_list",
                                                    "pt_composite",
                                                    "pt_file",
                                                    "pt_list_fromFunction",
                                                    "pt_form_security",
                                                    "pt_font",
                                                    "pt_form_contactabout",
                                                    "pt_bool"};
  for (size_t i = 0; i < names.size(); ++i)
    if (name == QLatin1String(names[i])) return static_cast<qint32>(i);
  return pt_text;
}

}  // namespace StringUtil
