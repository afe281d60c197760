// The current template: its package, property tree, styles and settings files.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "templates/FlashTemplateProperty.h"

// What reading a settings file came to.
struct SettingsFileResult {
  QString error;        // why the file was not used at all; nothing was applied then
  QStringList refused;  // file references that were not taken, each with the reason
  int applied = 0;      // lines that set a property
  bool ok() const { return error.isEmpty(); }
};

// What a change of template and style did to the values the user had set
// (property titles, in tree order).
struct TemplateChange {
  QStringList replaced;  // the new style gave these properties its own values
  QStringList dropped;   // the new template has no such property
};

// The files a settings export copied beside the settings file, and what it
// could not copy (each "key: why").
struct ExportedFiles {
  QStringList copied;
  QStringList problems;
};

class FlashTemplate {
 public:
  // Loads the default template "float".
  FlashTemplate();
  // Loads the named template instead.
  explicit FlashTemplate(const QString& name);

  // A deep copy, for work on another thread while this one goes on changing.
  std::shared_ptr<FlashTemplate> clone() const;

  // ---- where packages and styles are (paths are absolute) ----
  static QString appFilesFolder();
  static QStringList tmplNames();
  static QString tmplPathForName(const QString& name);      // always ends in "/"
  static QString tmplMetaPathForName(const QString& name);  // .../flashTemplate.xml
  static QString stylePathFor(const QString& tmplName, const QString& styleName);
  static QStringList tmplStyleNamesForTmpl(const QString& tmplName);
  // A template's name as people see it, every word capitalised: the folder
  // "float" is "Float" on the toolbar and in the chooser.
  static QString displayName(const QString& name);

  // ---- loading ----
  // Replaces the whole property tree. A failed load leaves it empty; the
  // reason is kept in loadError().
  void loadTemplate(const QString& name);
  // The same over the bytes of a flashTemplate.xml already read (the fuzz
  // targets feed it directly); `name` becomes tmplName().
  void loadTemplateData(const QString& name, QByteArray text);
  const QString& loadError() const { return iLoadError; }
  // The template's HTML page, or nullopt when neither candidate exists.
  std::optional<QString> tmplHTMLFilePath() const;
  // Copies the package's book.swf over `destination`; silent when it has none.
  void copyBookSWFToFile(const QString& destination) const;

  // ---- values by key (depth-first, document order) ----
  QString propertyValueFor(const QString& key, const QString& defaultValue) const;
  static std::optional<QString> propertyValueFor(const FlashTemplateProperty& property, const QString& key);
  // The first property with that key, or null.
  FlashTemplateProperty* propertyForKey(const QString& key) const;

  // ---- styles and settings files ----
  // Switches to template `name` with the style in `stylePath`. Page size and
  // language stay, and so does every value the user set or an import put in:
  // whatever differs from what the old template and its style gave. Where the
  // new style sets such a property itself, the style's value wins; where the
  // new template has no such property, the value goes.
  TemplateChange changeTmplTo(const QString& name, const QString& stylePath);
  void loadStyleByStyleName(const QString& styleName);
  SettingsFileResult loadStyleByStylePath(const QString& stylePath);
  // Applies a settings file. A file that cannot be read, is too large, holds
  // binary data or has no line that names a property of this template is
  // refused as a whole. A file property takes only a file inside the settings
  // file's folder, the current style's folder or the program's own AppFiles:
  // a settings file from someone else cannot pull ~/.ssh/id_ed25519 into a book.
  SettingsFileResult importPropertiesSettingsFrom(const QString& filePath);
  // The folders that `path`, a file a settings file or style named, was taken
  // from and must still lie in when the book copies it; empty for a file the
  // user chose.
  QStringList confinementOf(const QString& path) const { return m_confinedFiles.value(path); }
  // Writes the values atomically. Returns false when the file cannot be
  // written, with the reason in `error` when given. A file that a file
  // property names and that importPropertiesSettingsFrom() would not take back
  // (it is outside the program's own files) is first copied beside the
  // settings file, as "<settings name>-<key>.<ext>", and the settings name the
  // copy, so that exporting and importing again keeps every file. `files`, when
  // given, learns the copies and the files that could not be copied (those
  // keep their own path).
  bool exportPropertiesSettingsTo(const QString& filePath, QString* error = nullptr,
                                  ExportedFiles* files = nullptr) const;
  void exportPropertiesSettingsToArray(QStringList& lines, const FlashTemplateProperty* property) const;
  void setPropertyValue(const QString& key, const QString& value);
  bool setPropertyValueAt(FlashTemplateProperty& property, const QString& key, const QString& value);
  // Resolves "STYLE_RESOURCE:rest" to rest inside the current style's folder.
  // A reference that leaves that folder ("../..", an absolute rest) resolves
  // to "" (no file). Other values come back unchanged.
  QString valueAsFilePath(const QString& value) const;

  // Reads settings-file bytes into key/value pairs in file order.
  static QList<QPair<QString, QString>> parseSettings(const QByteArray& bytes);
  // The folder of the style applied last (of the default style before any).
  QString currentStylePath() const;

  // ---- fields ----
  const QString& tmplName() const { return iTmplName; }
  void setTmplName(const QString& v) { iTmplName = v; }
  const FlashTemplatePropertyList& properties() const { return iProperties; }
  void setProperties(FlashTemplatePropertyList props) { iProperties = std::move(props); }
  const std::optional<QString>& mobileTmplFilesPath() const { return iMobileTmplFilesPath; }
  void setMobileTmplFilesPath(std::optional<QString> v) { iMobileTmplFilesPath = std::move(v); }
  const std::optional<QString>& macAppFilesFolder() const { return iMacAppFilesFolder; }
  void setMacAppFilesFolder(std::optional<QString> v) { iMacAppFilesFolder = std::move(v); }
  const QString& defaultSytleName() const { return iDefaultSytleName; }
  void setDefaultSytleName(const QString& v) { iDefaultSytleName = v; }
  const std::optional<QString>& styleName() const { return iStyleName; }
  void setStyleName(std::optional<QString> v) { iStyleName = std::move(v); }

  // Settings files larger than this are refused (they are a few kilobytes).
  static constexpr qint64 kMaxSettingsFileSize = 16 * 1024 * 1024;

 private:
  struct Empty {};
  explicit FlashTemplate(Empty) {}
  FlashTemplateProperty* findForSet(const QString& key) const;
  static QList<QPair<QString, QString>> parseSettingsText(const QString& text);
  std::optional<QString> styleResourcePath(const QString& relative) const;
  // The folders a settings file at `settingsFile` may name files in.
  QStringList settingsFileFolders(const QString& settingsFile) const;

  QString iTmplName = QStringLiteral("float");
  FlashTemplatePropertyList iProperties;
  std::optional<QString> iHTMLFilePath;
  std::optional<QString> iMobileTmplFilesPath;
  std::optional<QString> iMacAppFilesFolder;
  QString iDefaultSytleName = QStringLiteral("Blank");
  std::optional<QString> iStyleName;
  QString iLoadError;
  QHash<QString, QStringList> m_confinedFiles;  // see confinementOf()
};
