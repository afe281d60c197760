// The language the programs speak: the user's locale picks our own texts, Qt's
// (its dialogs, data sizes) and the variants of the template texts.
#pragma once

#include <QString>

class QCoreApplication;

namespace Translations {

// Loads folivox_xx.qm from the resource folder's translations/ and Qt's own
// qtbase_xx.qm for the user's languages, the first one we speak winning;
// returns that language's code, "en" when none matched (English is built in).
QString install(QCoreApplication& app);

// The language in use ("en", "de", ...); template texts follow it.
QString language();
void setLanguage(const QString& code);

}  // namespace Translations
