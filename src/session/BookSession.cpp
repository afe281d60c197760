#include "session/BookSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThreadPool>
#include <algorithm>
#include <exception>
#include <utility>

#include "base/AppSettings.h"
#include "base/HXCUtility.h"
#include "base/Log.h"
#include "base/PlatformPaths.h"
#include "base/PrivateFolder.h"
#include "base/RecentDocuments.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "import/PDFToPageConverter.h"
#include "publish/BookTransaction.h"
#include "publish/EpubWriter.h"
#include "publish/FlashBookOutputApp.h"
#include "publish/HTMLConfigInfo.h"
#include "session/PreviewPictures.h"
#include "templates/FlashTemplate.h"
#include "templates/FlashTemplateProperty.h"

namespace {

// At most this many failed files are listed in the alert; the log has them all.
constexpr size_t kListedFailures = 12;

// File names in the order people expect: "2.jpg" before "10.jpg", case ignored.
bool naturalLess(const QString& a, const QString& b) {
  qsizetype i = 0;
  qsizetype j = 0;
  while (i < a.size() && j < b.size()) {
    if (a.at(i).isDigit() && b.at(j).isDigit()) {
      const qsizetype si = i;
      const qsizetype sj = j;
      while (i < a.size() && a.at(i).isDigit()) ++i;
      while (j < b.size() && b.at(j).isDigit()) ++j;
      QStringView na = QStringView(a).mid(si, i - si);
      QStringView nb = QStringView(b).mid(sj, j - sj);
      while (na.size() > 1 && na.front() == QLatin1Char('0')) na = na.mid(1);
      while (nb.size() > 1 && nb.front() == QLatin1Char('0')) nb = nb.mid(1);
      if (na.size() != nb.size()) return na.size() < nb.size();
      if (const int c = na.compare(nb); c != 0) return c < 0;
      continue;
    }
    const QChar ca = a.at(i).toCaseFolded();
    const QChar cb = b.at(j).toCaseFolded();
    if (ca != cb) return ca < cb;
    ++i;
    ++j;
  }
  if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
  return a < b;
}

// Lets go of replaced pages on a worker thread: when this was the last hold
// on them, their work folder goes with them, thousands of files that the
// window would otherwise wait for.
void releaseElsewhere(std::shared_ptr<FlashPageSource> pages) {
  if (pages) QThreadPool::globalInstance()->start([pages = std::move(pages)]() mutable { pages.reset(); });
}

}  // namespace

// ---------------------------------------------------------------- PublishResult

QString PublishResult::alertMessage() const {
  if (succeeded()) return QCoreApplication::translate("BookSession", "Open the result files?");
  if (cancelled && error.isEmpty() && failures.empty())
    return QCoreApplication::translate("BookSession", "Publishing was cancelled.");
  if (sharedFolder) return QCoreApplication::translate("BookSession", "Other users may change what is in the folder.");
  if (needsConfirmation())
    return QCoreApplication::translate("BookSession", "The folder holds files that are not part of a book.");
  return QCoreApplication::translate("BookSession", "Publishing failed.");
}

QString PublishResult::outputFolder() const { return QFileInfo(outputFileName).absolutePath(); }

QString PublishResult::alertDetail() const {
  QStringList lines;
  if (succeeded()) {
    lines << QCoreApplication::translate("BookSession", "Publish finished! The book is in %1.").arg(outputFolder())
          << QCoreApplication::translate("BookSession", "Open it?");
    if (weight.known()) lines << weight.sentence();
    if (!externalFiles.empty()) {
      lines << QString() << QCoreApplication::translate("BookSession", "These files were copied into the book:");
      for (const PublishedFile& f : externalFiles) lines << QStringLiteral("%1 (as %2)").arg(f.source, f.target);
    }
    return lines.join(QLatin1Char('\n'));
  }
  if (cancelled && error.isEmpty() && failures.empty())
    return QCoreApplication::translate("BookSession", "Nothing in the output folder was changed.");
  if (!error.isEmpty()) return error;
  lines << QCoreApplication::translate("BookSession", "These files could not be written:");
  for (size_t i = 0; i < failures.size() && i < kListedFailures; ++i)
    lines << QStringLiteral("%1: %2").arg(failures[i].target, failures[i].reason);
  if (failures.size() > kListedFailures)
    lines << QStringLiteral("... and %1 more.").arg(failures.size() - kListedFailures);
  lines << QCoreApplication::translate("BookSession", "Nothing in the output folder was changed.");
  return lines.join(QLatin1Char('\n'));
}

// --------------------------------------------------------------- PublishOptions

PublishOptions PublishOptions::fromSettings(const AppSettings& settings) {
  PublishOptions o;
  o.folder = settings.lastOutputFileFolder();
  o.name = settings.lastOutputFileName();
  o.title = settings.lastOutputFileTitle();
  o.outputType = settings.outputType();
  return o;
}

QString PublishOptions::pageName() const {
  return (name.trimmed().isEmpty() ? QStringLiteral("index") : name) + QStringLiteral(".html");
}

QString PublishOptions::epubName() const {
  const QString base = name.trimmed().isEmpty() ? QStringLiteral("book") : name;
  return base.endsWith(QStringLiteral(".epub"), Qt::CaseInsensitive) ? base : base + QStringLiteral(".epub");
}

QString PublishOptions::pageTitle(const FlashPageSource* pages, const FlashTemplate* tmpl) const {
  if (!title.trimmed().isEmpty()) return title;
  QString fallback = pages != nullptr ? BookSession::defaultBookTitle(*pages, document) : QString();
  if (fallback.trimmed().isEmpty() && tmpl != nullptr)
    fallback = tmpl->propertyValueFor(BookSession::kBookTitleKey, QString()).trimmed();
  return fallback;
}

QString PublishOptions::problem() const {
  // An empty folder would mean the program's working directory: never write there.
  if (folder.trimmed().isEmpty())
    return QCoreApplication::translate("BookSession", "Choose the folder to publish into.");
  if (QDir::cleanPath(QDir(folder).absolutePath()) == QLatin1String("/"))
    return QCoreApplication::translate("BookSession", "The root folder / cannot take a book; choose a folder for it.");
  const bool control =
      std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c == QChar(0x7f); });
  if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QStringLiteral("..")) ||
      control)
    return QCoreApplication::translate(
               "BookSession",
               "The page name \"%1\" cannot be used: it must not contain /, \\, .. or control characters.")
        .arg(QString(name).replace(QChar(0), QStringLiteral("\\0")));
  return QString();
}

PublishResult PublishOptions::folderProblem() const {
  PublishResult result;
  result.error = problem();
  if (result.error.isEmpty())
    result.error = BookTransaction::folderProblem(folder, allowSharedFolder, &result.sharedFolder);
  return result;
}

void PublishOptions::store(AppSettings& settings) const {
  settings.setLastOutputFileFolder(folder);
  settings.setLastOutputFileName(name);
  settings.setLastOutputFileTitle(title);
  settings.setOutputType(outputType);
  settings.saveSettings();
}

// ------------------------------------------------------------------ BookSession

BookSession::BookSession() = default;
BookSession::~BookSession() = default;

void BookSession::start(Sweep sweep) {
  // Folders in use are locked, this run's own among them: a sweep on another
  // thread cannot take them.
  if (sweep == Sweep::Now)
    removeLeftovers();
  else
    QThreadPool::globalInstance()->start([] { removeLeftovers(); });
  iFlashPreviewFolder.clear();
  iFlashPageSource = demonstrationPageSource();
  iFlashTmpl = std::make_shared<FlashTemplate>();
  if (!iFlashTmpl->loadError().isEmpty())
    qCWarning(lcApp).noquote() << "the default template cannot be loaded:" << iFlashTmpl->loadError();
  m_history.reset(*iFlashTmpl);
  m_documentPath.clear();
  m_pagesUnsaved = false;
}

QStringList BookSession::demonstrationImages(const QString& folder) {
  QStringList names;
  const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::System | QDir::Readable, QDir::NoSort);
  // Published as they are, so only formats every browser shows.
  for (const QFileInfo& info : entries)
    for (const char* ext : {"jpg", "png", "webp"})
      if (info.suffix().compare(QLatin1String(ext), Qt::CaseInsensitive) == 0) names << info.fileName();
  std::sort(names.begin(), names.end(), naturalLess);
  QStringList paths;
  for (const QString& n : names) paths << QDir(folder).absoluteFilePath(n);
  return paths;
}

std::shared_ptr<FlashPageSourceImg> BookSession::demonstrationPageSource(const QString& folder) {
  const QString dir = folder.isEmpty() ? PlatformPaths::current().resource(QStringLiteral("DemoImgs")) : folder;
  auto source = std::make_shared<FlashPageSourceImg>();
  for (const QString& path : demonstrationImages(dir)) source->addImgPageFromFile(path);
  source->generateNormalPages();
  return source;
}

std::shared_ptr<FlashPageSourceImg> BookSession::picturePageSource(const QString& folder, QStringList* skipped) {
  auto source = std::make_shared<FlashPageSourceImg>();
  for (const QString& path : demonstrationImages(folder)) {
    QString why;
    if (!source->addCheckedImgPageFromFile(path, &why))
      skipped->append(QStringLiteral("%1 is left out: %2.").arg(QFileInfo(path).fileName(), why));
  }
  source->generateNormalPages();
  return source;
}

QString BookSession::previewParentFolder() {
  QString base = PlatformPaths::current().userAppSupport;
  if (base.isEmpty()) base = QStringLiteral("/temp");
  return QDir::cleanPath(base + QStringLiteral("/Folivox/preview/"));
}

void BookSession::makeFlashPreviewFolder() {
  const QString parent = previewParentFolder();
  m_previewFolder = PrivateFolder::create(parent, kPreviewPrefix, &m_previewFolderError, true);
  if (!m_previewFolder) {
    iFlashPreviewFolder.clear();
    qCWarning(lcApp).noquote()
        << QStringLiteral("flash preview folder cannot be crearted[%1]").arg(m_previewFolderError);
    return;
  }
  iFlashPreviewFolder = m_previewFolder->path();
  HXCUtility::makeDiractoryTrustByFlash(parent);
}

void BookSession::removeFlashPreviewFolder() { m_previewFolder.reset(); }

int BookSession::removeLeftovers() {
  return PDFToPageConverter::removeLeftoverWorkFolders() +
         PrivateFolder::removeLeftovers(previewParentFolder(), kPreviewPrefix);
}

int BookSession::removeOwnFolders() {
  return HXCUtility::removeOwnFolders(PlatformPaths::current().tmpRoot,
                                      PDFToPageConverter::kWorkFolderName + QLatin1Char('-')) +
         HXCUtility::removeOwnFolders(previewParentFolder(), kPreviewPrefix);
}

QString BookSession::previewProblem(const PublishResult& result) {
  if (result.succeeded()) return QString();
  if (!result.error.isEmpty())
    return QCoreApplication::translate("BookSession", "The preview could not be rebuilt: %1").arg(result.error);
  const PublishFailure& first = result.failures.front();
  return QCoreApplication::translate("BookSession",
                                     "The preview could not be rebuilt: %1 files could not be written (%2: %3)")
      .arg(result.failures.size())
      .arg(first.target, first.reason);
}

PublishResult BookSession::buildPreview() { return previewBuild()({}); }

std::function<PublishResult(const FlashBookOutput::Progress&)> BookSession::previewBuild() {
  if (!m_previewFolder || !m_previewFolder->isIntact()) {
    if (m_previewFolder)
      qCWarning(lcApp).noquote() << "the preview folder vanished; making a new one:" << iFlashPreviewFolder;
    makeFlashPreviewFolder();
  }
  if (!m_previewFolder) {
    return [error = m_previewFolderError](const FlashBookOutput::Progress&) {
      PublishResult result;
      result.error = error;
      return result;
    };
  }
  return [book = snapshot(), folder = iFlashPreviewFolder](const FlashBookOutput::Progress& progress) {
    return buildPreviewInto(book, folder, progress);
  };
}

BookContent BookSession::snapshot() const {
  return {iFlashTmpl ? iFlashTmpl->clone() : nullptr, iFlashPageSource, iFlashPagesAnnotations, iFlashOutline};
}

PublishResult BookSession::buildPreviewInto(const BookContent& book, const QString& folder,
                                            const FlashBookOutput::Progress& progress) {
  PublishResult result;
  // "" would be the program's working directory: never write there.
  if (folder.isEmpty()) {
    result.error = QCoreApplication::translate("BookSession", "There is no preview folder.");
    return result;
  }
  if (!book.tmpl || !book.pages) {
    result.error = QCoreApplication::translate("BookSession", "There is no book to preview.");
    return result;
  }
  auto html = std::make_shared<HTMLConfigInfo>();
  FlashBookOutput output(book.pages, book.tmpl, folder, kPreviewHTMLName);
  output.setProgress(progress);
  output.setSyncToDisk(false);          // rebuilt all the time, gone at the end
  output.setReplaceForeignFiles(true);  // the program's own folder
  // Rebuilt on every Apply: the pictures are linked, not copied again.
  output.setPicturePlacer(
      [folder](const QString& source, const QString& target, const FlashBookOutput::CopyFunction& copy) {
        return PreviewPictures::place(folder, source, target, copy);
      });
  try {
    html->setHTMLTitle(kPreviewTitle);
    output.setHTMLConfig(html);
    output.setFlashPagesAnnotations(book.annotations);
    output.setFlashOutline(book.outline);
    output.ouputTheBook();
    result.outputFileName = output.outputFileName();
    result.failures = output.failures();
    result.cancelled = output.cancelled();
    result.error = output.error();
    result.foreignEntries = output.foreignEntries();
  } catch (const std::exception& e) {
    result.error = QString::fromUtf8(e.what());
    qCCritical(lcApp).noquote() << "apply change :" + result.error;
  }
  for (const PublishFailure& f : result.failures)
    qCWarning(lcApp).noquote() << "preview file not written:" << f.target << f.reason;
  // The old book is gone now: so are the stored pictures only it showed. (A
  // build cut short keeps them for the next one.)
  if (result.succeeded()) PreviewPictures::prune(folder);
  return result;
}

void BookSession::adoptImport(std::shared_ptr<FlashPageSource> pages,
                              std::shared_ptr<FlashPagesAnnotations> annotations, std::shared_ptr<FlashOutline> outline,
                              qint32 pageWidth, qint32 pageHeight, const QString& document) {
  if (iFlashTmpl) {
    iFlashTmpl->setPropertyValue(QStringLiteral("pageWidth"), QString::number(pageWidth));
    iFlashTmpl->setPropertyValue(QStringLiteral("pageHeight"), QString::number(pageHeight));
    if (pages) {
      const QString title = defaultBookTitle(*pages, document.isEmpty() ? pages->sourceFile() : document);
      if (applyBookTitle(*iFlashTmpl, title, m_importedTitle)) m_importedTitle = title;
    }
    m_history.rebase(*iFlashTmpl);
  }
  releaseElsewhere(std::exchange(iFlashPageSource, std::move(pages)));
  iFlashPagesAnnotations = std::move(annotations);
  iFlashOutline = std::move(outline);
  m_documentPath = document;
  m_pagesUnsaved = true;
  if (!document.isEmpty()) RecentDocuments::add(document);
}

QString BookSession::documentTitle() const {
  return m_documentPath.isEmpty() ? QCoreApplication::translate("BookSession", "Demonstration pages")
                                  : QFileInfo(m_documentPath).fileName();
}

QString BookSession::defaultBookTitle(const FlashPageSource& pages, const QString& inputPath) {
  if (!pages.documentTitle().trimmed().isEmpty()) return pages.documentTitle().trimmed();
  return QFileInfo(QDir::cleanPath(inputPath)).completeBaseName();
}

bool BookSession::applyBookTitle(FlashTemplate& tmpl, const QString& title, const QString& previous) {
  const FlashTemplateProperty* p = tmpl.propertyForKey(kBookTitleKey);
  if (p == nullptr || title.isEmpty()) return false;
  const QString now = p->value();
  if (now != p->defaultValue() && (previous.isEmpty() || now != previous)) return false;
  tmpl.setPropertyValue(kBookTitleKey, title);
  return true;
}

std::optional<QString> BookSession::changeToChosenStyle(const QString& styleShotPath, TemplateChange* change) {
  if (!iFlashTmpl || styleShotPath.isEmpty()) return std::nullopt;
  const QString styleFolder = QFileInfo(styleShotPath).absolutePath();
  const QString tmplName = QFileInfo(QFileInfo(styleFolder).absolutePath()).fileName();
  if (tmplName.isEmpty()) return std::nullopt;
  const TemplateChange done = iFlashTmpl->changeTmplTo(tmplName, styleFolder);
  if (change != nullptr) *change = done;
  m_history.record(*iFlashTmpl, QStringLiteral("Style %1").arg(QFileInfo(styleFolder).fileName()));
  return tmplName;
}

bool BookSession::changeToTemplate(const QString& name, TemplateChange* change) {
  if (!iFlashTmpl || name.isEmpty() || !QFileInfo(FlashTemplate::tmplMetaPathForName(name)).isFile()) return false;
  // The default style is named inside the package, so read it first.
  const FlashTemplate target(name);
  if (!target.loadError().isEmpty()) return false;
  const TemplateChange done =
      iFlashTmpl->changeTmplTo(name, FlashTemplate::stylePathFor(name, target.defaultSytleName()));
  if (change != nullptr) *change = done;
  m_history.record(*iFlashTmpl, QStringLiteral("Template %1").arg(FlashTemplate::displayName(name)));
  return true;
}

ExportResult BookSession::exportTmplSettings(const QString& path) {
  ExportResult result;
  result.path = path;
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) result.path += QStringLiteral(".txt");
  if (!iFlashTmpl) {
    result.error = QCoreApplication::translate("BookSession", "There is no template.");
  } else if (path.isEmpty()) {
    result.error = QCoreApplication::translate("BookSession", "No file name was given.");
  } else if (!iFlashTmpl->exportPropertiesSettingsTo(result.path, &result.error, &result.files)) {
    if (result.error.isEmpty())
      result.error = QCoreApplication::translate("BookSession", "The file could not be written.");
  } else {
    m_history.setClean();
  }
  return result;
}

SettingsFileResult BookSession::importTmplSettings(const QString& path) {
  if (!iFlashTmpl)
    return {QCoreApplication::translate("BookSession", "There is no template to apply settings to."), {}, 0};
  SettingsFileResult result = iFlashTmpl->importPropertiesSettingsFrom(path);
  m_history.record(*iFlashTmpl, QStringLiteral("Import Settings"));
  return result;
}

bool BookSession::recordTemplateEdit(const QString& label) {
  return iFlashTmpl && m_history.record(*iFlashTmpl, label);
}

bool BookSession::undo() { return iFlashTmpl && m_history.undo(*iFlashTmpl); }

bool BookSession::redo() { return iFlashTmpl && m_history.redo(*iFlashTmpl); }

bool BookSession::hasUnsavedChanges() const { return m_pagesUnsaved || !m_history.isClean(); }

void BookSession::markPublished() {
  m_pagesUnsaved = false;
  m_history.setClean();
}

QString BookSession::manualPath() { return PlatformPaths::current().resource(kManualName); }

PublishResult BookSession::publishEpub(const PublishOptions& options, const BookContent& book,
                                       const FlashBookOutput::Progress& progress) {
  PublishResult result;
  if (!QFileInfo::exists(options.folder)) QDir().mkdir(options.folder);
  EpubWriter writer(book, QDir(options.folder).filePath(options.epubName()));
  writer.setTitle(options.pageTitle(book.pages.get(), book.tmpl.get()));
  writer.setAuthor(options.author.isEmpty() ? book.pages->documentAuthor() : options.author);
  writer.setLanguage(options.language.isEmpty() ? book.pages->documentLanguage() : options.language);
  writer.setSharedFolderAllowed(options.allowSharedFolder);
  writer.setProgress(progress);
  try {
    writer.write();
  } catch (const std::exception& e) {
    result.error = QString::fromUtf8(e.what());
  }
  result.outputFileName = writer.target();
  if (result.error.isEmpty()) result.error = writer.error();
  result.failures = writer.failures();
  result.cancelled = writer.cancelled();
  result.sharedFolder = writer.refusedSharedFolder();
  return result;
}

PublishResult BookSession::publishBook(const PublishOptions& options, const BookContent& book,
                                       const FlashBookOutput::Progress& progress) {
  PublishResult result;
  result.error = options.problem();
  if (!result.error.isEmpty()) return result;
  if (!book.pages || !book.tmpl) {
    result.error = QCoreApplication::translate("BookSession", "There is no book to publish.");
    return result;
  }
  if (options.outputType == PublishOptions::kEpubOutput) return publishEpub(options, book, progress);
  const QString pageName = options.pageName();
  auto html = std::make_shared<HTMLConfigInfo>();
  std::unique_ptr<FlashBookOutput> output;
  if (options.outputType == 1) {
    output = std::make_unique<FlashBookOutputApp>(book.pages, book.tmpl, options.folder, pageName);
  } else {
    if (!QFileInfo::exists(options.folder)) QDir().mkdir(options.folder);
    output = std::make_unique<FlashBookOutput>(book.pages, book.tmpl, options.folder, pageName);
  }
  output->setProgress(progress);
  try {
    html->setHTMLTitle(options.pageTitle(book.pages.get(), book.tmpl.get()));
    output->setHTMLConfig(html);
    output->setFlashPagesAnnotations(book.annotations);
    output->setFlashOutline(book.outline);
    output->setReplaceForeignFiles(options.replaceForeignFiles);
    output->setSharedFolderAllowed(options.allowSharedFolder);
    output->ouputTheBook();
    result.outputFileName = output->outputFileName();
    result.failures = output->failures();
    result.cancelled = output->cancelled();
    result.error = output->error();
    result.foreignEntries = output->foreignEntries();
    result.sharedFolder = output->refusedSharedFolder();
    result.externalFiles = output->externalFiles();
    if (result.succeeded()) {
      result.weight =
          options.outputType == 1
              ? BookWeight::measure(QDir(result.outputFileName).filePath(QStringLiteral("Contents/Resources")),
                                    QStringLiteral("index.html"))
              : BookWeight::measure(options.folder, pageName);
    }
  } catch (const std::exception& e) {
    result.error = QString::fromUtf8(e.what());
    qCCritical(lcPublish).noquote() << "publish error:" + result.error;
  }
  for (const PublishFailure& f : result.failures)
    qCWarning(lcPublish).noquote() << "not written:" << f.target << f.reason;
  if (!result.error.isEmpty()) qCWarning(lcPublish).noquote() << "not published:" << result.error;
  return result;
}
