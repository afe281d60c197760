#include "publish/FlashBookOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "base/AtomicFile.h"
#include "base/HXCUtility.h"
#include "base/Log.h"
#include "base/StopPoint.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotations.h"
#include "import/XmlSafeText.h"
#include "publish/BookDate.h"
#include "publish/BookIndexSection.h"
#include "publish/BookLayout.h"
#include "publish/BookTextWriter.h"
#include "publish/BookTransaction.h"
#include "publish/HTMLConfigInfo.h"
#include "publish/RC4.h"
#include "templates/FlashTemplate.h"
#include "templates/StringUtil.h"
#include "zip/ZKDataArchive.h"

namespace {

std::string xmlSafe(const QString& text) { return xmlSafeText(text).toStdString(); }

void appendItem(pugi::xml_node extConfig, const FlashTemplateProperty& p) {
  pugi::xml_node item = extConfig.append_child("item");
  item.append_attribute("name") = xmlSafe(p.key()).c_str();
  QString text;
  bool hasText = p.valueOpt().has_value();
  if (p.propertyType() == pt_file) {
    text = QStringLiteral("./%1/%2/%3.%4")
               .arg(FlashBookOutput::iResourceFolder, FlashBookOutput::iExterFilesFolder, p.key(),
                    FlashBookOutput::pathExtension(p.value()));
    hasText = true;
  } else {
    text = p.value();
  }
  if (hasText && !text.isEmpty()) item.append_child(pugi::node_pcdata).set_value(xmlSafe(text).c_str());
}

// Depth-first pre-order over the whole property tree, without recursion.
template <typename F>
void forEachProperty(const FlashTemplatePropertyList& top, F&& f) {
  std::vector<const FlashTemplateProperty*> stack;
  for (auto it = top.rbegin(); it != top.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    const FlashTemplateProperty* p = stack.back();
    stack.pop_back();
    f(*p);
    const auto& kids = p->childProperties();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back(it->get());
  }
}

// Copies a file's bytes in the kernel where it can (copy_file_range), without
// the per-file fsync of QFile::copy: a book's pages are many and re-creatable,
// and syncing each one made publishing twenty times slower than cp (the
// transaction syncs the whole book once). Only regular files are read: a
// device or a pipe named as a page or a logo is refused, never read forever.
// The copy gets the permissions of a new file, whatever the source had.
// With `confinedTo`, the file opened must be the one that the source path,
// every link resolved, names inside one of those folders: a file swapped for
// a link, or a folder on its way swapped for one, since it was checked is
// refused, not copied.
bool copyFileContents(const QString& source, const QString& target, bool followLinks, const QStringList& confinedTo,
                      QString* error) {
  const auto why = [](int e) { return QString::fromLocal8Bit(std::strerror(e)); };
  const int in =
      ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW));
  if (in < 0) {
    *error = errno == ELOOP && !followLinks
                 ? QCoreApplication::translate("FlashBookOutput", "it is a symbolic link, which is not followed")
                 : why(errno);
    return false;
  }
  const auto closeIn = qScopeGuard([in] { ::close(in); });
  struct stat from {};
  if (::fstat(in, &from) != 0 || !S_ISREG(from.st_mode)) {
    *error = QCoreApplication::translate("FlashBookOutput", "it is not a regular file");
    return false;
  }
  if (!confinedTo.isEmpty()) {
    char* resolved = ::realpath(QFile::encodeName(source).constData(), nullptr);
    const QString real = resolved != nullptr ? QFile::decodeName(resolved) : QString();
    std::free(resolved);
    struct stat named {};
    if (real.isEmpty() || ::stat(QFile::encodeName(real).constData(), &named) != 0 || named.st_dev != from.st_dev ||
        named.st_ino != from.st_ino || !HXCUtility::isInside(real, confinedTo)) {
      *error =
          QCoreApplication::translate("FlashBookOutput", "it is no longer inside the folder it was taken from (%1)")
              .arg(confinedTo.first());
      return false;
    }
  }
  struct stat to {};
  if (::stat(QFile::encodeName(target).constData(), &to) == 0 && to.st_dev == from.st_dev && to.st_ino == from.st_ino)
    return true;  // the file is its own target: it is in place already
  // A file at the target is replaced, never written through (it may be a
  // link, or share its data with another name).
  if (::unlink(QFile::encodeName(target).constData()) != 0 && errno != ENOENT) {
    *error = why(errno);
    return false;
  }
  const int out =
      ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (out < 0) {
    *error = why(errno);
    return false;
  }
  bool ok = true;
  bool kernelCopy = true;
  while (ok && kernelCopy) {
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
    if (n > 0) continue;
    if (n == 0) break;
    if (errno == EINTR) continue;
    if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) {
      kernelCopy = false;  // not here: copy through a buffer
    } else {
      *error = why(errno);
      ok = false;
    }
  }
  if (ok && !kernelCopy) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
      const ssize_t n = ::read(in, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        *error = why(errno);
        ok = false;
      }
      if (n <= 0) break;
      for (ssize_t done = 0; ok && done < n;) {
        const ssize_t w = ::write(out, buffer.data() + done, static_cast<size_t>(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
          *error = why(w < 0 ? errno : ENOSPC);
          ok = false;
        } else {
          done += w;
        }
      }
      if (!ok) break;
    }
  }
  if (::close(out) != 0 && ok) {
    *error = why(errno);
    ok = false;
  }
  if (!ok) ::unlink(QFile::encodeName(target).constData());  // no half copy
  return ok;
}

}  // namespace

FlashBookOutput::FlashBookOutput(std::shared_ptr<FlashPageSource> pageSource,
                                 std::shared_ptr<FlashTemplate> flashTemplate, const QString& saveToFolder,
                                 const std::optional<QString>& toName)
    : iFlashTemplate(std::move(flashTemplate)),
      iFlashPageSource(std::move(pageSource)),
      iSaveToFolder(saveToFolder),
      iSaveToFileName(toName) {}

FlashBookOutput::~FlashBookOutput() = default;

bool FlashBookOutput::isSafeFileKey(const QString& key) {
  return !key.isEmpty() && !key.contains(QLatin1Char('/')) && !key.contains(QLatin1Char('\\')) &&
         !key.contains(QStringLiteral("..")) && !key.contains(QChar(0));
}

QString FlashBookOutput::pathExtension(const QString& path) {
  const QString last = path.section(QLatin1Char('/'), -1);
  const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : last.mid(dot + 1);
}

void FlashBookOutput::addFailure(const QString& target, const QString& reason) {
  // Named as in the book folder: the staging folder is gone once this is read.
  const QString shownTarget = m_transaction != nullptr ? m_transaction->finalPaths(target) : target;
  const QString shownReason = m_transaction != nullptr ? m_transaction->finalPaths(reason) : reason;
  qCWarning(lcPublish).noquote() << "publish:" << shownTarget << "-" << shownReason;
  m_failures.push_back({shownTarget, shownReason});
}

bool FlashBookOutput::makeFolder(const QString& folder) {
  QString error;
  if (HXCUtility::makeFolders(folder, &error)) return true;
  addFailure(folder, QCoreApplication::translate("FlashBookOutput", "cannot create the folder: %1").arg(error));
  return false;
}

bool FlashBookOutput::keepGoing() {
  if (!m_cancelled && m_progress && !m_progress(m_pagesDone, m_pagesTotal)) m_cancelled = true;
  return !m_cancelled;
}

QString FlashBookOutput::bookPath(const QString& base, const QString& relative) const {
  return QDir(QDir(iSaveToFolder).filePath(base)).filePath(relative);
}

QString FlashBookOutput::outputHTMLFileName() const { return QDir(iSaveToFolder).filePath(htmlPageName()); }

QString FlashBookOutput::outputFileName() const { return outputHTMLFileName(); }

QString FlashBookOutput::outputSWFName() const { return QDir(iSaveToFolder).filePath(QStringLiteral("book.swf")); }

QString FlashBookOutput::getNormalPageURL(const FlashPage& page) const {
  return QStringLiteral("./%1/%2/%3.%4")
      .arg(iResourceFolder, iNormalPageFolder, QString::number(page.pageIndex()), pathExtension(page.pageFilePath()));
}

QString FlashBookOutput::variantURL(const QString& folderName, const FlashPage* variant, const FlashPage& page) const {
  if (variant == nullptr) return getNormalPageURL(page);
  return QStringLiteral("./%1/%2/%3.%4")
      .arg(iResourceFolder, folderName, QString::number(page.pageIndex()), pathExtension(variant->pageFilePath()));
}

QString FlashBookOutput::getZoomedPageURL(const FlashPage& page) const {
  return variantURL(iZoomedPageFolder,
                    iFlashPageSource ? iFlashPageSource->getZoomedPageAtIndex(page.pageIndex()).get() : nullptr, page);
}

QString FlashBookOutput::getThumbPageURL(const FlashPage& page) const {
  return variantURL(iThumbPageFolder,
                    iFlashPageSource ? iFlashPageSource->getThumbPageAtIndex(page.pageIndex()).get() : nullptr, page);
}

bool FlashBookOutput::copyFile(const QString& source, const QString& target, bool followLinks,
                               const QStringList& confinedTo) {
  if (!QFileInfo(source).exists() && !QFileInfo(source).isSymLink()) {
    addFailure(target, QCoreApplication::translate("FlashBookOutput", "the source file %1 does not exist").arg(source));
    return false;
  }
  QString error;
  if (!copyFileContents(source, target, followLinks, confinedTo, &error)) {
    addFailure(target, QCoreApplication::translate("FlashBookOutput", "cannot copy %1: %2").arg(source, error));
    return false;
  }
  return true;
}

bool FlashBookOutput::copyPicture(const QString& source, const QString& target) {
  const CopyFunction copy = [this](const QString& from, const QString& to) { return copyFile(from, to, false); };
  return m_picturePlacer ? m_picturePlacer(source, target, copy) : copy(source, target);
}

void FlashBookOutput::copyExternalFile(const QString& source, const QString& target, const QString& base) {
  // A file a settings file named was checked when the file was read; by now
  // it may be a link to a file of the user's that was never meant to go out.
  const QStringList confinedTo = iFlashTemplate ? iFlashTemplate->confinementOf(source) : QStringList();
  if (copyFile(source, target, confinedTo.isEmpty(), confinedTo))
    m_externalFiles.push_back({source, QDir(bookPath(base, QString())).relativeFilePath(target)});
}

void FlashBookOutput::prepaireNomalPage(const QString& base) {
  const QString folder = bookPath(base, iResourceFolder + QLatin1Char('/') + iNormalPageFolder);
  if (!makeFolder(folder)) return;
  if (!iFlashPageSource) return;
  const FlashPageList& pages = iFlashPageSource->normalPages();
  m_pagesTotal = static_cast<qsizetype>(pages.size());
  m_pagesDone = 0;
  for (const FlashPagePtr& page : pages) {
    const QString target = QDir(folder).filePath(
        QStringLiteral("%1.%2").arg(QString::number(page->pageIndex()), pathExtension(page->pageFilePath())));
    // Pages come from a work folder or a folder of pictures: a link there is
    // never followed, so no file of someone else's ends up in the book.
    copyPicture(page->pageFilePath(), target);
    if (++m_pagesDone == 1) StopPoint::reach("publish-pages");
    if (!keepGoing()) return;
  }
}

void FlashBookOutput::preparePictures(const QString& base, const QString& folderName,
                                      const std::vector<std::shared_ptr<FlashPage>>& pictures) {
  if (pictures.empty()) return;  // pictures, or a document imported without zoom pictures
  const QString folder = bookPath(base, iResourceFolder + QLatin1Char('/') + folderName);
  if (!makeFolder(folder)) return;
  for (const FlashPagePtr& page : pictures) {
    const QString target = QDir(folder).filePath(
        QStringLiteral("%1.%2").arg(QString::number(page->pageIndex()), pathExtension(page->pageFilePath())));
    copyPicture(page->pageFilePath(), target);  // from the work folder, as the pages
  }
}

void FlashBookOutput::prepaireZoomendPage(const QString& base) {
  preparePictures(base, iZoomedPageFolder, iFlashPageSource ? iFlashPageSource->zoomedPages() : FlashPageList());
}

void FlashBookOutput::prepaireThumbPage(const QString& base) {
  preparePictures(base, iThumbPageFolder, iFlashPageSource ? iFlashPageSource->thumbPages() : FlashPageList());
}

void FlashBookOutput::prepaireExtFiles(const QString& base) {
  const QString folder = bookPath(base, iResourceFolder + QLatin1Char('/') + iExterFilesFolder);
  if (!makeFolder(folder)) return;
  if (!iFlashTemplate) return;
  for (const auto& p : iFlashTemplate->properties()) {
    // An empty file choice means "no file"; there is nothing to copy.
    if (p->propertyType() == pt_file && !p->value().isEmpty()) {
      if (isSafeFileKey(p->key())) {
        copyExternalFile(p->value(), QDir(folder).filePath(p->key() + QLatin1Char('.') + pathExtension(p->value())),
                         base);
      } else {
        qCWarning(lcPublish).noquote() << "skipping the file of property" << p->key()
                                       << ": its key cannot be a file name";
      }
    }
    prepaireExtFilesAtChildPro(base, *p, 0);
  }
}

void FlashBookOutput::prepaireExtFilesAtChildPro(const QString& base, const FlashTemplateProperty& property,
                                                 int depth) {
  if (depth > FlashTemplateProperty::kMaxDepth) return;
  const QString folder = bookPath(base, iResourceFolder + QLatin1Char('/') + iExterFilesFolder);
  for (const auto& child : property.childProperties()) {
    if (child->propertyType() == pt_file && !child->value().isEmpty()) {
      if (!isSafeFileKey(child->key())) {
        qCWarning(lcPublish).noquote() << "skipping the file of property" << child->key()
                                       << ": its key cannot be a file name";
      } else if (!QFileInfo(child->value()).exists()) {
        addFailure(
            QDir(folder).filePath(child->key() + QLatin1Char('.') + pathExtension(child->value())),
            QCoreApplication::translate("FlashBookOutput", "the source file %1 does not exist").arg(child->value()));
        continue;  // passed over together with its own children
      } else {
        copyExternalFile(child->value(),
                         QDir(folder).filePath(child->key() + QLatin1Char('.') + pathExtension(child->value())), base);
      }
    }
    prepaireExtFilesAtChildPro(base, *child, depth + 1);
  }
}

void FlashBookOutput::PrepareAnnotationFiles(const QString& base) {
  if (!iFlashPagesAnnotations) return;
  const QString folder = bookPath(base, iResourceFolder + QLatin1Char('/') + iAnnotationFilesFolder);
  if (!makeFolder(folder)) return;
  for (const QString& path : iFlashPagesAnnotations->needFiles()) {
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty()) continue;
    const QString target = QDir(folder).filePath(name);
    if (QFileInfo::exists(target)) continue;  // the first file of a name wins
    copyExternalFile(path, target, base);
  }
}

void FlashBookOutput::prepareTextFiles(const QString& base) {
  if (!iFlashPageSource) return;
  BookTextWriter::write(*iFlashPageSource, bookPath(base, iResourceFolder),
                        [this](const QString& target, const QString& reason) { addFailure(target, reason); });
}

QString FlashBookOutput::offeredDocument() const {
  if (!iFlashTemplate ||
      !StringUtil::valueAsBool(iFlashTemplate->propertyValueFor(QStringLiteral("downloadDocument"), QString())))
    return QString();
  if (!dynamic_cast<const FlashPageSourcePDF*>(iFlashPageSource.get())) return QString();
  const QString path = iFlashPageSource->sourceFile();
  return QFileInfo(path).isFile() ? path : QString();
}

void FlashBookOutput::prepareDocumentFile(const QString& base) {
  const QString source = offeredDocument();
  if (!source.isEmpty())
    copyExternalFile(source, bookPath(base, iResourceFolder + QLatin1Char('/') + BookLayout::kDocumentFile), base);
}

QString FlashBookOutput::indexSection() const {
  QString title = iFlashTemplate ? iFlashTemplate->propertyValueFor(QStringLiteral("bookTitle"), QString()) : QString();
  if (title.trimmed().isEmpty() && iHTMLConfig) title = iHTMLConfig->HTMLTitle();
  return BookIndexSection::html(title, iFlashOutline.get(), iFlashPageSource.get());
}

std::unique_ptr<pugi::xml_document> FlashBookOutput::bookXML() const {
  auto doc = std::make_unique<pugi::xml_document>();
  pugi::xml_node root = doc->append_child("flipbook");
  const size_t count = iFlashPageSource ? iFlashPageSource->pages().size() : 0;
  root.append_attribute("count") = QString::number(count).toUtf8().constData();
  root.append_attribute("appAppShortName") = "pt";
  root.append_attribute("appAppName") = "Folivox for Mac";
  root.append_attribute("appAppVersion") = "1.0.0";
  root.append_attribute("appWebsite") = kAppWebsite.toUtf8().constData();
  root.append_attribute("e") = "noext";

  pugi::xml_node extConfig = root.append_child("extConfig");
  if (iFlashTemplate) {
    forEachProperty(iFlashTemplate->properties(), [&](const FlashTemplateProperty& p) {
      if (p.propertyType() == pt_file && !isSafeFileKey(p.key())) return;  // as in prepaireExtFiles
      if (p.key() == QLatin1String("downloadDocument")) {
        // The player shows its download button only when the document is in the book.
        pugi::xml_node item = extConfig.append_child("item");
        item.append_attribute("name") = "downloadDocument";
        item.text().set(offeredDocument().isEmpty() ? "NO" : "YES");
        return;
      }
      appendItem(extConfig, p);
    });
  }

  pugi::xml_node pages = root.append_child("pages");
  const bool hardCover =
      iFlashTemplate &&
      iFlashTemplate->propertyValueFor(QStringLiteral("isHardCover"), QStringLiteral("no")).toUpper() ==
          QLatin1String("YES");
  if (iFlashPageSource) {
    const FlashPageList& list = iFlashPageSource->pages();
    for (size_t i = 0; i < list.size(); ++i) {
      FlashPagePtr normal = iFlashPageSource->getNormalPageAtIndex(list[i]->pageIndex());
      if (!normal) normal = list[i];  // a page without its normal copy still points at its file name
      pugi::xml_node page = pages.append_child("page");
      page.append_attribute("isHardPage") = (hardCover && (i == 0 || i + 1 == list.size())) ? "true" : "false";
      page.append_attribute("isEncrypted") = "false";
      page.append_child("normalUrl").text() = getNormalPageURL(*normal).toUtf8().constData();
      page.append_child("largeUrl").text() = getZoomedPageURL(*normal).toUtf8().constData();
      page.append_child("thumbUrl").text() = getThumbPageURL(*normal).toUtf8().constData();
    }
  }

  if (iFlashOutline) {
    pugi::xml_node ols = iFlashOutline->outlineAsXMLNode(root);
    if (lcPublish().isDebugEnabled()) {
      std::ostringstream s;
      ols.print(s);
      qCDebug(lcPublish).noquote() << "XML:" << QString::fromStdString(s.str());
    }
  }
  if (iFlashPagesAnnotations) {
    // A copy, so the same annotations go into every book built from them.
    if (pugi::xml_node annos = iFlashPagesAnnotations->pagesAnnotationsNode()) root.append_copy(annos);
  }
  return doc;
}

QByteArray FlashBookOutput::serializeBookXML(const pugi::xml_document& doc) {
  std::ostringstream s;
  doc.save(s, "  ", pugi::format_default, pugi::encoding_utf8);
  const std::string str = s.str();
  return QByteArray(str.data(), static_cast<qsizetype>(str.size()));
}

bool FlashBookOutput::ouputBookXML(const QString& path) {
  const QByteArray xml = serializeBookXML(*bookXML());
  ZKDataArchive archive;
  archive.setEntryDate(BookDate::date());
  if (archive.deflateData(xml, QStringLiteral("book.xml")) != 1) {
    addFailure(path, QCoreApplication::translate("FlashBookOutput", "cannot compress book.xml"));
    qCInfo(lcSystem) << "Could not write document out...";
    return false;
  }
  const std::optional<QByteArray> encrypted = RC4::RC4EncryptedDataUsingKey(archive.data(), QByteArray(RC4::kBookKey));
  if (!encrypted) {
    addFailure(path, QCoreApplication::translate("FlashBookOutput", "cannot encrypt book.xml"));
    return false;
  }
  AtomicFile bin(path);
  bool binWritten = bin.open() && bin.write(*encrypted) == encrypted->size();
  if (binWritten) {
    StopPoint::reach("publish-bookbin");
    binWritten = bin.commit();
  }
  if (!binWritten) {
    addFailure(path, bin.errorString());
    qCInfo(lcSystem) << "Could not write document out...";
    return false;
  }
  // The same encrypted bytes as a script: browsers refuse XMLHttpRequest on
  // file://, but a book opened by double-click may load a script.
  const QByteArray script = "window.folivoxBookBin = \"" + encrypted->toBase64() + "\";\n";
  QString error;
  if (!AtomicFile::writeFile(path + QStringLiteral(".js"), script, &error)) {
    addFailure(path + QStringLiteral(".js"), error);
    qCInfo(lcSystem) << "Could not write document out...";
    return false;
  }
  return true;
}

QString FlashBookOutput::htmlPageName() const { return iSaveToFileName.value_or(QStringLiteral("index.html")); }

QString FlashBookOutput::transactionFolder() const { return iSaveToFolder; }

QStringList FlashBookOutput::bookEntries() const {
  // files/ first: it holds book.bin and the pages, the book's content.
  return {iResourceFolder, htmlPageName(), QStringLiteral("book.swf")};
}

void FlashBookOutput::writeBook(const QString& staging) { writeBookFiles(staging); }

void FlashBookOutput::writeBookFiles(const QString& base) {
  prepaireNomalPage(base);
  if (!keepGoing()) return;
  prepaireZoomendPage(base);
  prepaireThumbPage(base);
  if (!keepGoing()) return;
  prepaireExtFiles(base);
  PrepareAnnotationFiles(base);
  prepareTextFiles(base);
  prepareDocumentFile(base);
  if (!keepGoing()) return;

  const QString html = bookPath(base, htmlPageName());
  const std::optional<QString> source = iFlashTemplate ? iFlashTemplate->tmplHTMLFilePath() : std::nullopt;
  if (!source) {
    addFailure(html, QCoreApplication::translate("FlashBookOutput", "the template has no HTML page"));
  } else if (iHTMLConfig) {
    // The caller's configuration stays as it was; this book's words go into a copy.
    HTMLConfigInfo config = *iHTMLConfig;
    config.setHTMLBookText(indexSection());
    QString error;
    if (!config.generateHTMLFrom(*source, html, &error)) addFailure(html, error);
  } else {
    copyFile(*source, html, true);
  }

  ouputBookXML(bookPath(base, iResourceFolder + QStringLiteral("/book.bin")));
  if (iFlashTemplate) iFlashTemplate->copyBookSWFToFile(bookPath(base, QStringLiteral("book.swf")));
  writeEntryRecord(base);
}

void FlashBookOutput::writeEntryRecord(const QString& base) {
  QStringList written;
  for (const QString& name : {htmlPageName(), QStringLiteral("book.swf")})
    if (QFileInfo::exists(bookPath(base, name))) written << name;
  const QString target = bookPath(base, BookLayout::kEntryRecord);
  QString error;
  if (!AtomicFile::writeFile(target, BookLayout::entryRecord(written), &error)) addFailure(target, error);
}

void FlashBookOutput::ouputTheBook() {
  const QString folder = transactionFolder();
  if (!QFileInfo(folder).isDir()) {
    m_error = QCoreApplication::translate("FlashBookOutput", "The book folder %1 does not exist.").arg(folder);
    return;
  }
  BookTransaction transaction(folder, m_syncToDisk);
  transaction.setSharedFolderAllowed(m_sharedFolderAllowed);
  if (!transaction.begin()) {
    m_error = transaction.error();
    m_refusedSharedFolder = transaction.refusedSharedFolder();
    return;
  }
  const QStringList entries = bookEntries();
  if (!m_replaceForeignFiles) {
    m_foreignEntries = BookLayout::foreignEntries(folder, entries);
    if (!m_foreignEntries.isEmpty()) {
      m_error = QCoreApplication::translate("FlashBookOutput",
                                            "%1 holds files that are not part of a book, where the book would go: %2. "
                                            "Publishing would replace them.")
                    .arg(folder, m_foreignEntries.join(QStringLiteral(", ")));
      return;
    }
  }
  m_transaction = &transaction;
  const auto forget = qScopeGuard([this] { m_transaction = nullptr; });
  writeBook(transaction.stagingFolder());
  // A book with a file missing, or stopped halfway, is not put in place: the
  // earlier one stays. The last chance to stop is here, before the swap.
  if (!m_failures.empty() || !keepGoing()) return;
  if (!transaction.commit(entries)) m_error = transaction.error();
}
