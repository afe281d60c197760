// Template packages written into the current resource folder, and the values the shipped
// styles give, for the tests that load, fill and publish templates.
#pragma once

#include "TestEnv.h"
#include "templates/FlashTemplate.h"

// One <property>; `kids` are nested properties. Key and value go in as written,
// so a test can put markup or references in them.
inline QString prop(const QString& key, const QString& value, const QString& type = QStringLiteral("pt_text"),
                    const QString& kids = QString()) {
  return QStringLiteral(
             "<property type=\"%1\"><key>%2</key><title>T %2</title><desc/><value>%3</value>"
             "<valueSource/><defaultValue/>%4</property>")
      .arg(type, key, value, kids.isEmpty() ? QString() : "<childProperties>" + kids + "</childProperties>");
}

inline QString package(const QString& props, const QString& htmlPath = QStringLiteral("index.html")) {
  return "<t><info><htmlPath>" + htmlPath +
         "</htmlPath><swfPath>book.swf</swfPath><defaultStyle>Blank</defaultStyle>"
         "<macAppFilesFolder/><mobileTmplFilesPath/></info><properties>" +
         props + "</properties></t>";
}

inline QString templateFolder(const QString& name) {
  return PlatformPaths::current().resourceFolder + QStringLiteral("/AppFiles/Templates/") + name + QLatin1Char('/');
}

// Writes template `name`: a package of `props` and, unless `html` is null, its page.
inline void writeTemplate(const QString& name, const QString& props,
                          const QByteArray& html = "<title>${index.title}</title>") {
  writeFile(templateFolder(name) + "flashTemplate.xml", package(props).toUtf8());
  if (!html.isNull()) writeFile(templateFolder(name) + "index.html", html);
}

// Template `name`, written as writeTemplate() does, and loaded.
inline std::shared_ptr<FlashTemplate> tmplOf(const QString& name, const QString& props,
                                             const QByteArray& html = "<title>${index.title}</title>") {
  writeTemplate(name, props, html);
  return std::make_shared<FlashTemplate>(name);
}

// The value a style's settings file gives a key ("" when it gives none).
inline QString styleValue(const QString& tmplName, const QString& style, const QString& key) {
  QFile f(FlashTemplate::stylePathFor(tmplName, style) + QStringLiteral("/tmplSetting.txt"));
  if (!f.open(QIODevice::ReadOnly)) return QString();
  QString found;
  for (const auto& [k, v] : FlashTemplate::parseSettings(f.readAll()))
    if (k == key) found = v;
  return found;
}
