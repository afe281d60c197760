#include "base/Translations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "base/PlatformPaths.h"

namespace {

QString& current() {
  static QString code = QStringLiteral("en");
  return code;
}

}  // namespace

namespace Translations {

QString install(QCoreApplication& app) {
  const QLocale locale;
  // Right-to-left languages lay the window out mirrored, also while its texts
  // are English for want of a translation.
  const QLocale first(locale.uiLanguages().value(0, locale.name()));
  if (qobject_cast<QGuiApplication*>(&app) != nullptr) QGuiApplication::setLayoutDirection(first.textDirection());
  const QString folder = PlatformPaths::current().resource(QStringLiteral("translations"));
  const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const auto load = [&app](const QString& name, const QString& in) {
    auto* translator = new QTranslator(&app);
    if (translator->load(name, in)) return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
  };
  // The user's languages in order; English needs no file, so a user who lists
  // English before German gets English.
  current() = QStringLiteral("en");
  for (const QString& tag : locale.uiLanguages()) {
    const QString code = QLocale(tag).name().section(QLatin1Char('_'), 0, 0);
    if (code == QLatin1String("en") || code == QLatin1String("C")) break;
    const bool ours = load(QStringLiteral("folivox_") + code, folder);
    // Qt's own dialogs speak the language even where we do not.
    const bool qts = load(QStringLiteral("qtbase_") + code, qtFolder);
    if (ours) current() = code;
    if (ours || qts) break;
  }
  return current();
}

QString language() { return current(); }

void setLanguage(const QString& code) { current() = code.isEmpty() ? QStringLiteral("en") : code; }

}  // namespace Translations
