#include "templates/FlashTemplate.h"

#include <libxml/parser.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>
#include <pugixml.hpp>

#include "base/AtomicFile.h"
#include "base/HXCUtility.h"
#include "base/Log.h"
#include "base/PlatformPaths.h"
#include "base/RegularFile.h"
#include "base/TextDecoding.h"
#include "templates/XmlText.h"

namespace {

const unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata;
const char* const kInfoFields[] = {"htmlPath", "swfPath", "defaultStyle", "macAppFilesFolder", "mobileTmplFilesPath"};
const QString kStyleResource = QStringLiteral("STYLE_RESOURCE:");

// The lenient retry: libxml2 repairs what it can (no entities, no network),
// and the repaired text is read again with pugixml.
bool parseLeniently(const QByteArray& bytes, pugi::xml_document& doc, QByteArray& repaired) {
  const int options = XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  xmlDocPtr xdoc = xmlReadMemory(bytes.constData(), static_cast<int>(bytes.size()), nullptr, nullptr, options);
  if (xdoc == nullptr) return false;
  bool ok = false;
  if (xmlDocGetRootElement(xdoc) != nullptr) {
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(xdoc, &mem, &size, "UTF-8");
    if (mem != nullptr) {
      repaired = QByteArray(reinterpret_cast<const char*>(mem), size);
      xmlFree(mem);
      ok = static_cast<bool>(doc.load_buffer(repaired.constData(), static_cast<size_t>(repaired.size()), kParseOptions,
                                             pugi::encoding_utf8));
    }
  }
  xmlFreeDoc(xdoc);
  return ok;
}

// Text that no settings file holds: NUL and the other control characters but
// tab and the line breaks.
bool looksBinary(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r')) return true;
  return false;
}

}  // namespace

FlashTemplate::FlashTemplate() : FlashTemplate(QStringLiteral("float")) {}

FlashTemplate::FlashTemplate(const QString& name) {
  loadTemplate(name);
  qCInfo(lcTemplates).noquote()
      << "self is:" << QStringLiteral("FlashTemplate(%1, %2 properties)").arg(iTmplName).arg(iProperties.size());
}

std::shared_ptr<FlashTemplate> FlashTemplate::clone() const {
  std::shared_ptr<FlashTemplate> copy(new FlashTemplate(Empty{}));
  copy->iTmplName = iTmplName;
  for (const auto& p : iProperties) copy->iProperties.push_back(p->clone());
  copy->iHTMLFilePath = iHTMLFilePath;
  copy->iMobileTmplFilesPath = iMobileTmplFilesPath;
  copy->iMacAppFilesFolder = iMacAppFilesFolder;
  copy->iDefaultSytleName = iDefaultSytleName;
  copy->iStyleName = iStyleName;
  copy->iLoadError = iLoadError;
  copy->m_confinedFiles = m_confinedFiles;
  return copy;
}

QString FlashTemplate::appFilesFolder() {
  return PlatformPaths::current().resource(QStringLiteral("AppFiles")) + QLatin1Char('/');
}

QStringList FlashTemplate::tmplNames() {
  return HXCUtility::subFolderOfFolder(appFilesFolder() + QStringLiteral("Templates/"));
}

QString FlashTemplate::tmplPathForName(const QString& name) {
  return appFilesFolder() + QStringLiteral("Templates/") + name + QLatin1Char('/');
}

QString FlashTemplate::tmplMetaPathForName(const QString& name) {
  return tmplPathForName(name) + QStringLiteral("flashTemplate.xml");
}

QString FlashTemplate::stylePathFor(const QString& tmplName, const QString& styleName) {
  return appFilesFolder() + QStringLiteral("Styles/") + tmplName + QLatin1Char('/') + styleName;
}

QStringList FlashTemplate::tmplStyleNamesForTmpl(const QString& tmplName) {
  return HXCUtility::subFolderOfFolder(appFilesFolder() + QStringLiteral("Styles/") + tmplName);
}

QString FlashTemplate::displayName(const QString& name) {
  QString out = name.toLower();
  bool wordStart = true;
  for (QChar& c : out) {
    if (c.isLetterOrNumber()) {
      if (wordStart) c = c.toUpper();
      wordStart = false;
    } else {
      wordStart = true;
    }
  }
  return out;
}

void FlashTemplate::loadTemplate(const QString& name) {
  iProperties.clear();
  iTmplName = name;
  iLoadError.clear();
  const QString path = tmplMetaPathForName(name);
  auto fail = [&](const QString& why) {
    iProperties.clear();
    iLoadError = QStringLiteral("%1: %2").arg(path, why);
    qCWarning(lcTemplates).noquote() << "load template failed:" << iLoadError;
  };

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return fail(QCoreApplication::translate("FlashTemplate", "cannot read the file"));
  if (file.size() > kMaxSettingsFileSize)
    return fail(QCoreApplication::translate("FlashTemplate", "the file is too large"));
  loadTemplateData(name, file.readAll());
}

void FlashTemplate::loadTemplateData(const QString& name, QByteArray text) {
  iProperties.clear();
  iTmplName = name;
  iLoadError.clear();
  const QString path = tmplMetaPathForName(name);
  auto fail = [&](const QString& why) {
    iProperties.clear();
    iLoadError = QStringLiteral("%1: %2").arg(path, why);
    qCWarning(lcTemplates).noquote() << "load template failed:" << iLoadError;
  };

  pugi::xml_document doc;
  if (!doc.load_buffer(text.constData(), static_cast<size_t>(text.size()), kParseOptions)) {
    QByteArray repaired;
    if (!parseLeniently(text, doc, repaired))
      return fail(QCoreApplication::translate("FlashTemplate", "not readable as XML, even leniently"));
    qCWarning(lcTemplates).noquote() << path << "is not well-formed XML; read in repair mode";
    text = repaired;
  }

  const pugi::xml_node root = doc.document_element();
  const pugi::xml_node info = root.child("info");
  const pugi::xml_node props = root.child("properties");
  if (!info) return fail(QStringLiteral("no <info> element"));
  if (!props) return fail(QStringLiteral("no <properties> element"));
  QString infoValues[5];
  for (int i = 0; i < 5; ++i) {
    const pugi::xml_node n = info.child(kInfoFields[i]);
    if (!n) return fail(QStringLiteral("<info> has no <%1> element").arg(QLatin1String(kInfoFields[i])));
    infoValues[i] = XmlText::textContent(n);
  }

  FlashTemplatePropertyList loaded;
  try {
    for (pugi::xml_node p = props.child("property"); p; p = p.next_sibling("property")) {
      auto prop = std::make_unique<FlashTemplateProperty>();
      prop->loadFromNode(p);
      prop->setParent(nullptr);
      loaded.push_back(std::move(prop));
    }
  } catch (const FlashTemplateLoadError& e) {
    return fail(QStringLiteral("the <property> element at line %1 has no <%2>")
                    .arg(XmlText::lineOfOffset(text, e.offset))
                    .arg(e.element));
  }

  iHTMLFilePath = infoValues[0];
  iDefaultSytleName = infoValues[2];
  iMacAppFilesFolder = infoValues[3];
  iMobileTmplFilesPath = infoValues[4];
  iProperties = std::move(loaded);
}

std::optional<QString> FlashTemplate::tmplHTMLFilePath() const {
  const QString rel = iHTMLFilePath.value_or(QString());
  QString c1 = QDir(tmplPathForName(iTmplName)).filePath(rel);
  c1.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!rel.isEmpty() && QFileInfo(c1).isFile()) return c1;
  QString c2 = QDir(appFilesFolder()).filePath(rel);
  c2.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!rel.isEmpty() && QFileInfo(c2).isFile()) return c2;
  return std::nullopt;
}

void FlashTemplate::copyBookSWFToFile(const QString& destination) const {
  const QString source = tmplPathForName(iTmplName) + QStringLiteral("book.swf");
  if (QFileInfo::exists(destination)) QFile::remove(destination);
  QFile::copy(source, destination);
}

std::optional<QString> FlashTemplate::propertyValueFor(const FlashTemplateProperty& property, const QString& key) {
  // Depth-first in document order, without recursion: the tree may be deep.
  std::vector<std::pair<const FlashTemplateProperty*, size_t>> stack{{&property, 0}};
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    if (next >= node->childProperties().size()) {
      stack.pop_back();
      continue;
    }
    const FlashTemplateProperty* child = node->childProperties()[next++].get();
    if (child->keyOpt() == key) return child->valueOpt();
    stack.emplace_back(child, 0);
  }
  return std::nullopt;
}

QString FlashTemplate::propertyValueFor(const QString& key, const QString& defaultValue) const {
  for (const auto& p : iProperties) {
    if (p->keyOpt() == key) return p->valueOpt().value_or(defaultValue);
    // A match below the top level with no value lets the search go on.
    std::vector<std::pair<const FlashTemplateProperty*, size_t>> stack{{p.get(), 0}};
    while (!stack.empty()) {
      auto& [node, next] = stack.back();
      if (next >= node->childProperties().size()) {
        stack.pop_back();
        continue;
      }
      const FlashTemplateProperty* child = node->childProperties()[next++].get();
      if (child->keyOpt() == key && child->valueOpt()) return *child->valueOpt();
      stack.emplace_back(child, 0);
    }
  }
  return defaultValue;
}

FlashTemplateProperty* FlashTemplate::findForSet(const QString& key) const {
  std::vector<std::pair<FlashTemplateProperty*, size_t>> stack;
  for (const auto& p : iProperties) {
    if (p->keyOpt() == key) return p.get();
    stack.assign(1, {p.get(), 0});
    while (!stack.empty()) {
      auto& [node, next] = stack.back();
      if (next >= node->childProperties().size()) {
        stack.pop_back();
        continue;
      }
      FlashTemplateProperty* child = node->childProperties()[next++].get();
      if (child->keyOpt() == key) return child;
      stack.emplace_back(child, 0);
    }
  }
  return nullptr;
}

FlashTemplateProperty* FlashTemplate::propertyForKey(const QString& key) const { return findForSet(key); }

void FlashTemplate::setPropertyValue(const QString& key, const QString& value) {
  FlashTemplateProperty* p = findForSet(key);
  if (p == nullptr) return;
  if (p->parent() != nullptr && p->propertyType() == pt_file)
    qCDebug(lcTemplates).noquote() << QStringLiteral("key 3[%1=%2]").arg(key, value);
  p->setValue(p->propertyType() == pt_file ? valueAsFilePath(value) : value);
}

bool FlashTemplate::setPropertyValueAt(FlashTemplateProperty& property, const QString& key, const QString& value) {
  std::vector<std::pair<FlashTemplateProperty*, size_t>> stack{{&property, 0}};
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    if (next >= node->childProperties().size()) {
      stack.pop_back();
      continue;
    }
    FlashTemplateProperty* child = node->childProperties()[next++].get();
    if (child->keyOpt() == key) {
      if (child->propertyType() == pt_file) {
        qCDebug(lcTemplates).noquote() << QStringLiteral("key 3[%1=%2]").arg(key, value);
        child->setValue(valueAsFilePath(value));
      } else {
        child->setValue(value);
      }
      return true;
    }
    stack.emplace_back(child, 0);
  }
  return false;
}

QString FlashTemplate::currentStylePath() const {
  // Before any style is applied there is no style folder: use the default style's.
  return stylePathFor(iTmplName, iStyleName.value_or(iDefaultSytleName));
}

std::optional<QString> FlashTemplate::styleResourcePath(const QString& relative) const {
  const QString folder = QDir::cleanPath(currentStylePath());
  const QString path = QDir::cleanPath(folder + QLatin1Char('/') + relative);
  if (QDir::isAbsolutePath(relative) || !path.startsWith(folder + QLatin1Char('/'))) {
    qCWarning(lcTemplates).noquote() << kStyleResource + relative << "leaves the style folder" << folder << "; ignored";
    return std::nullopt;
  }
  return path;
}

QString FlashTemplate::valueAsFilePath(const QString& value) const {
  const qsizetype at = value.indexOf(kStyleResource);
  if (at < 0) return value;
  return styleResourcePath(value.mid(at + kStyleResource.size())).value_or(QString());
}

QList<QPair<QString, QString>> FlashTemplate::parseSettings(const QByteArray& bytes) {
  // We write UTF-8; a file from elsewhere that is not UTF-8 is read as
  // Latin-1 so that no byte is lost.
  return parseSettingsText(TextDecoding::decode(bytes));
}

QList<QPair<QString, QString>> FlashTemplate::parseSettingsText(const QString& text) {
  QList<QPair<QString, QString>> pairs;
  const QStringList pieces = text.split(QLatin1Char('\n'));
  for (QString piece : pieces) {
    piece.remove(QLatin1Char('\r'));
    const qsizetype eq = piece.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    pairs.append({piece.left(eq), piece.mid(eq + 1)});
  }
  return pairs;
}

SettingsFileResult FlashTemplate::importPropertiesSettingsFrom(const QString& filePath) {
  SettingsFileResult result;
  auto refuse = [&](const QString& why) {
    result.error =
        QCoreApplication::translate("FlashTemplate", "%1 cannot be used as a settings file: %2").arg(filePath, why);
    qCWarning(lcTemplates).noquote() << result.error;
    return result;
  };
  QFile file;
  QString why;
  if (!RegularFile::open(file, filePath, &why)) return refuse(why);
  if (file.size() > kMaxSettingsFileSize)
    return refuse(QCoreApplication::translate("FlashTemplate", "it is too large for a settings file"));
  const QByteArray bytes = file.read(kMaxSettingsFileSize + 1);
  if (bytes.size() > kMaxSettingsFileSize)
    return refuse(QCoreApplication::translate("FlashTemplate", "it is too large for a settings file"));
  const QString text = TextDecoding::decode(bytes);
  if (looksBinary(text))
    return refuse(QCoreApplication::translate("FlashTemplate", "it holds binary data, not KEY=VALUE lines"));
  // Old Mac files end their lines with CR alone, which the format does not
  // know: such a file reads as one line, so the user should hear why.
  if (text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
    qCWarning(lcTemplates).noquote() << filePath << "has CR alone as line break; it is read as one line";
  const QList<QPair<QString, QString>> pairs = parseSettingsText(text);
  if (pairs.isEmpty() && !text.trimmed().isEmpty())
    return refuse(QCoreApplication::translate("FlashTemplate", "it has no KEY=VALUE lines"));
  if (!pairs.isEmpty() &&
      std::none_of(pairs.begin(), pairs.end(), [&](const auto& pair) { return findForSet(pair.first) != nullptr; }))
    return refuse(
        QCoreApplication::translate("FlashTemplate", "none of its keys names a property of the template \"%1\"")
            .arg(iTmplName));

  const QStringList allowed = settingsFileFolders(filePath);
  const QString width = propertyValueFor(QStringLiteral("pageWidth"), QStringLiteral("600"));
  const QString height = propertyValueFor(QStringLiteral("pageHeight"), QStringLiteral("800"));
  for (const auto& [key, value] : pairs) {
    if (key == QLatin1String("innerMainbgImgUrl"))
      qCDebug(lcTemplates).noquote() << QStringLiteral("key 0[%1=%2]").arg(key, value);
    const FlashTemplateProperty* p = findForSet(key);
    if (p == nullptr) continue;
    if (p->propertyType() == pt_file && !value.isEmpty()) {
      const QString path = valueAsFilePath(value);
      QString why;
      if (path.isEmpty())
        why = QCoreApplication::translate("FlashTemplate", "%1 leaves the style folder").arg(value);
      else if (!HXCUtility::isInside(path, allowed))
        why = QCoreApplication::translate("FlashTemplate", "%1 is outside the settings file's folder").arg(path);
      if (!why.isEmpty()) {
        result.refused << QCoreApplication::translate("FlashTemplate", "%1: %2; not taken").arg(key, why);
        qCWarning(lcTemplates).noquote() << filePath << ":" << result.refused.constLast();
        continue;
      }
      // Checked again when the book copies it: the file may change by then.
      m_confinedFiles.insert(path, allowed);
    }
    setPropertyValue(key, value);
    ++result.applied;
  }
  setPropertyValue(QStringLiteral("pageWidth"), width);
  setPropertyValue(QStringLiteral("pageHeight"), height);
  return result;
}

void FlashTemplate::exportPropertiesSettingsToArray(QStringList& lines, const FlashTemplateProperty* property) const {
  std::vector<const FlashTemplateProperty*> stack;
  if (property != nullptr) {
    stack.push_back(property);
  } else {
    for (auto it = iProperties.rbegin(); it != iProperties.rend(); ++it) stack.push_back(it->get());
  }
  while (!stack.empty()) {
    const FlashTemplateProperty* p = stack.back();
    stack.pop_back();
    QString key = p->key();
    key.replace(QStringLiteral("\n\r"), QStringLiteral("|||"));
    lines << key + QLatin1Char('=') + p->value();
    const auto& children = p->childProperties();
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(it->get());
  }
}

QStringList FlashTemplate::settingsFileFolders(const QString& settingsFile) const {
  // Files may come from beside the settings file, from the style's folder
  // (STYLE_RESOURCE:) and from the program's own resources, nowhere else.
  return {QFileInfo(settingsFile).absolutePath(), currentStylePath(), appFilesFolder()};
}

bool FlashTemplate::exportPropertiesSettingsTo(const QString& filePath, QString* error, ExportedFiles* files) const {
  QStringList lines;
  exportPropertiesSettingsToArray(lines, nullptr);
  // Files from elsewhere go beside the settings file, which then names the
  // copies: the import takes nothing from outside its own folder. (Lines are
  // in the same depth-first order as this walk.)
  const QStringList allowed = settingsFileFolders(filePath);
  const QFileInfo settings(filePath);
  std::vector<const FlashTemplateProperty*> stack;
  for (auto it = iProperties.rbegin(); it != iProperties.rend(); ++it) stack.push_back(it->get());
  for (qsizetype line = 0; !stack.empty(); ++line) {
    const FlashTemplateProperty* p = stack.back();
    stack.pop_back();
    for (auto it = p->childProperties().rbegin(); it != p->childProperties().rend(); ++it) stack.push_back(it->get());
    const QString source = p->value();
    if (p->propertyType() != pt_file || source.isEmpty() || HXCUtility::isInside(source, allowed)) continue;
    QString why;
    if (!QFileInfo(source).isFile()) {
      why = QCoreApplication::translate("FlashTemplate", "%1 does not exist").arg(source);
    } else {
      QString key = p->key();
      key.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
      const QString suffix = QFileInfo(source).suffix();
      const QString copy = settings.absoluteDir().filePath(settings.completeBaseName() + QLatin1Char('-') + key +
                                                           (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix));
      QFile::remove(copy);  // an earlier export's
      QFile from(source);
      if (from.copy(copy)) {
        lines[line] = lines[line].left(lines[line].indexOf(QLatin1Char('=')) + 1) + copy;
        if (files != nullptr) files->copied << copy;
        continue;
      }
      why = QCoreApplication::translate("FlashTemplate", "%1 could not be copied beside the settings: %2")
                .arg(source, from.errorString());
    }
    qCWarning(lcTemplates).noquote() << "settings export:" << p->key() << why;
    if (files != nullptr)
      files->problems << QStringLiteral("%1: %2").arg(p->title().isEmpty() ? p->key() : p->title(), why);
  }
  QString text;
  for (const QString& line : lines) text += QStringLiteral("\n\r") + line;
  QString why;
  if (AtomicFile::writeFile(filePath, text.toUtf8(), &why, AtomicFile::Sync::Yes)) return true;
  qCWarning(lcTemplates).noquote() << "cannot write" << filePath << ":" << why;
  if (error != nullptr) *error = why;
  return false;
}

SettingsFileResult FlashTemplate::loadStyleByStylePath(const QString& stylePath) {
  QString clean = stylePath;
  while (clean.endsWith(QLatin1Char('/')) && clean.size() > 1) clean.chop(1);
  iStyleName = QFileInfo(clean).fileName();
  return importPropertiesSettingsFrom(QDir(stylePath).filePath(QStringLiteral("tmplSetting.txt")));
}

void FlashTemplate::loadStyleByStyleName(const QString& styleName) {
  loadStyleByStylePath(stylePathFor(iTmplName, styleName));
}

TemplateChange FlashTemplate::changeTmplTo(const QString& name, const QString& stylePath) {
  static const QString kPageWidth = QStringLiteral("pageWidth");
  static const QString kPageHeight = QStringLiteral("pageHeight");
  static const QString kLanguage = QStringLiteral("languageSetting");
  const QString width = propertyValueFor(kPageWidth, QStringLiteral("600"));
  const QString height = propertyValueFor(kPageHeight, QStringLiteral("800"));
  const QString language = propertyValueFor(kLanguage, QString());

  // What the user set: the values that differ from what the template and the
  // style applied last give by themselves.
  struct Kept {
    QString key;
    QString title;
    qint32 type;
    std::optional<QString> value;
  };
  std::vector<Kept> kept;
  FlashTemplate baseline(Empty{});
  baseline.loadTemplate(iTmplName);
  if (baseline.loadError().isEmpty()) {
    if (iStyleName) baseline.loadStyleByStylePath(currentStylePath());
    std::vector<const FlashTemplateProperty*> stack;
    for (auto it = iProperties.rbegin(); it != iProperties.rend(); ++it) stack.push_back(it->get());
    while (!stack.empty()) {
      const FlashTemplateProperty* p = stack.back();
      stack.pop_back();
      for (auto it = p->childProperties().rbegin(); it != p->childProperties().rend(); ++it) stack.push_back(it->get());
      if (!p->keyOpt() || p->key() == kPageWidth || p->key() == kPageHeight || p->key() == kLanguage) continue;
      const FlashTemplateProperty* given = baseline.findForSet(p->key());
      if (given != nullptr && given->propertyType() == p->propertyType() && given->valueOpt() != p->valueOpt())
        kept.push_back({p->key(), p->title(), p->propertyType(), p->valueOpt()});
    }
  }

  loadTemplate(name);
  loadStyleByStylePath(stylePath);
  QSet<QString> styleKeys;
  QFile settings(QDir(stylePath).filePath(QStringLiteral("tmplSetting.txt")));
  if (settings.open(QIODevice::ReadOnly))
    for (const auto& [key, value] : parseSettings(settings.read(kMaxSettingsFileSize))) styleKeys.insert(key);

  TemplateChange change;
  for (const Kept& k : kept) {
    FlashTemplateProperty* p = findForSet(k.key);
    if (p == nullptr || p->propertyType() != k.type) {
      change.dropped << k.title;
    } else if (styleKeys.contains(k.key)) {
      if (p->valueOpt() != k.value) change.replaced << p->title();
    } else {
      p->setValue(k.value);
    }
  }
  setPropertyValue(kPageWidth, width);
  setPropertyValue(kPageHeight, height);
  setPropertyValue(kLanguage, language);
  return change;
}
