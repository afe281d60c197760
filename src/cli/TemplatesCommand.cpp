#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include "cli/CliCommands.h"
#include "templates/FlashTemplate.h"

// Lists the installed templates and their styles, the default style marked.
int runTemplatesCommand(const QStringList& args) {
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (args == QStringList{QStringLiteral("--help")}) {
    out << QCoreApplication::translate(
        "TemplatesCommand",
        "Usage: folivox-cli templates\n"
        "Lists the installed templates with their number of properties, and the styles of each;\n"
        "the default style is marked.\n"
        "\n"
        "Options:\n"
        "  -h, --help  show this help\n");
    return 0;
  }
  if (!args.isEmpty()) {
    err << "folivox-cli templates: " << QCoreApplication::translate("TemplatesCommand", "takes no arguments") << "\n";
    return 2;
  }
  QStringList names;
  for (const QString& path : FlashTemplate::tmplNames()) {
    // Only package folders: sub-folders of a package are listed too.
    if (QFileInfo::exists(path + QStringLiteral("/flashTemplate.xml"))) names << QFileInfo(path).fileName();
  }
  names.sort();
  if (names.isEmpty()) {
    err << "folivox-cli: "
        << QCoreApplication::translate("TemplatesCommand", "no templates found in %1")
               .arg(FlashTemplate::appFilesFolder() + QStringLiteral("Templates/"))
        << "\n";
    return 1;
  }
  for (const QString& name : names) {
    FlashTemplate tmpl(name);
    if (!tmpl.loadError().isEmpty()) {
      out << name << "  (cannot be loaded: " << tmpl.loadError() << ")\n";
      continue;
    }
    out << name << "  (" << tmpl.properties().size() << " properties)\n";
    QStringList styles;
    const QString stylesRoot = FlashTemplate::stylePathFor(name, QString());
    for (const QString& path : FlashTemplate::tmplStyleNamesForTmpl(name)) {
      if (QFileInfo::exists(path + QStringLiteral("/tmplSetting.txt"))) styles << QFileInfo(path).fileName();
    }
    styles.sort();
    for (const QString& style : styles)
      out << "    " << style << (style == tmpl.defaultSytleName() ? "  (default)" : "") << "\n";
  }
  return 0;
}
