// String helpers the template properties rely on.
#pragma once

#include <QString>

namespace StringUtil {

// True for "YES", "SHOW", "ENABLE" and "TRUE" in any case, nothing else.
bool valueAsBool(const QString& text);

// pt_text 0 ... pt_bool 10; unknown or absent names are pt_text.
qint32 flashTemplatePropertyTypeFromString(const QString& name);

}  // namespace StringUtil
