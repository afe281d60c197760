// Whether a text is a well-formed language tag (BCP 47 in its common forms:
// "en", "de-CH", "zh-Hant-TW"), as a document's /Lang or a user's choice
// must be before it names a book's language.
#pragma once

#include <QString>

namespace LanguageTag {
bool isWellFormed(const QString& tag);
}
