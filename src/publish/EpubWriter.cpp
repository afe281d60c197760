#include "publish/EpubWriter.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/AtomicFile.h"
#include "base/Log.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "publish/BookDate.h"
#include "publish/BookTransaction.h"
#include "publish/EpubPackage.h"
#include "publish/EpubPicture.h"
#include "zip/ZKStreamArchive.h"

EpubWriter::EpubWriter(BookContent book, const QString& target) : m_book(std::move(book)), m_target(target) {}

EpubWriter::~EpubWriter() = default;

void EpubWriter::fail(const QString& target, const QString& reason) {
  qCWarning(lcPublish).noquote() << "not written:" << target << reason;
  m_failures.push_back({target, reason});
}

bool EpubWriter::keepGoing(qsizetype done, qsizetype total) {
  if (!m_cancelled && m_progress && !m_progress(done, total)) m_cancelled = true;
  return !m_cancelled;
}

bool EpubWriter::write() {
  const QFileInfo target(m_target);
  const QString folder = target.absolutePath();
  const QString name = target.fileName();
  if (!m_book.pages || m_book.pages->pages().empty()) {
    m_error = QStringLiteral("There is no book to publish.");
    return false;
  }
  if (!QFileInfo(folder).isDir()) {
    m_error = QStringLiteral("The folder %1 does not exist.").arg(folder);
    return false;
  }
  // Only a file is replaced: a folder or a link by that name is the user's
  // (the swap would put the folder's contents aside, or write where the link
  // points).
  struct stat st {};
  if (::lstat(QFile::encodeName(m_target).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
    m_error = QStringLiteral("%1 is there and is not a file; nothing was written.").arg(m_target);
    return false;
  }
  BookTransaction transaction(folder, m_syncToDisk);
  transaction.setSharedFolderAllowed(m_sharedFolderAllowed);
  if (!transaction.begin()) {
    m_error = transaction.error();
    m_refusedSharedFolder = transaction.refusedSharedFolder();
    return false;
  }
  writeInto(QDir(transaction.stagingFolder()).filePath(name));
  if (!m_error.isEmpty() || !m_failures.empty()) return false;
  const qsizetype total = static_cast<qsizetype>(m_book.pages->pages().size());
  if (!keepGoing(total, total)) return false;
  // The swap checks again, through the folder it holds, that the name is
  // still a file or nothing.
  if (::lstat(QFile::encodeName(m_target).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
    m_error = QStringLiteral("%1 is there and is not a file; nothing was written.").arg(m_target);
    return false;
  }
  if (!transaction.commit({name})) {
    m_error = transaction.error();
    return false;
  }
  return true;
}

void EpubWriter::writeInto(const QString& path) {
  EpubPackage package;
  package.title = m_title.trimmed().isEmpty() ? QFileInfo(m_target).completeBaseName() : m_title;
  package.author = m_author;
  package.language = m_language.isEmpty() ? QStringLiteral("und") : m_language;
  package.modified = BookDate::date();
  package.outline = m_book.outline.get();
  const FlashPageList& pages = m_book.pages->pages();
  for (const FlashPagePtr& page : pages) {
    EpubPackage::Page p;
    p.number = page->pageIndex();
    p.document = QStringLiteral("page/%1.xhtml").arg(p.number);
    p.label = m_book.pages->hasPageLabels() && !m_book.pages->pageLabel(p.number).isEmpty()
                  ? m_book.pages->pageLabel(p.number)
                  : QString::number(p.number);
    p.hasText = m_book.pages->hasPageText(p.number);
    if (!package.documentOf(p.number).isEmpty()) {
      fail(page->pageFilePath(), QStringLiteral("page %1 is in the book twice").arg(p.number));
      return;
    }
    package.pages.append(p);
  }

  AtomicFile file(path);
  if (!file.open()) {
    fail(m_target, file.errorString());
    return;
  }
  ZKStreamArchive zip(&file, package.modified);
  QCryptographicHash digest(QCryptographicHash::Sha1);
  digest.addData(package.title.toUtf8());
  // OCF: the media type first, stored, so that a reader can tell an EPUB by
  // its first bytes.
  bool ok = zip.storeData(QByteArrayLiteral("application/epub+zip"), QStringLiteral("mimetype")) &&
            zip.deflateData(EpubPackage::container(), QStringLiteral("META-INF/container.xml")) &&
            zip.deflateData(EpubPackage::styleSheet(), EpubPackage::kFolder + QStringLiteral("book.css"));
  const qsizetype total = static_cast<qsizetype>(pages.size());
  for (qsizetype i = 0; ok && i < total; ++i) {
    if (!writePage(zip, digest, package, *pages[static_cast<size_t>(i)], i)) ok = zip.errorString().isEmpty();
    if (!keepGoing(i + 1, total)) return;
  }
  if (!m_failures.empty()) return;
  package.identifier = EpubPackage::identifierFor(digest.result());
  ok = ok && zip.deflateData(package.navigationDocument(), EpubPackage::kFolder + QStringLiteral("nav.xhtml")) &&
       zip.deflateData(package.packageDocument(), EpubPackage::kPackagePath) && zip.finish();
  if (!ok) {
    fail(m_target, zip.errorString());
    return;
  }
  if (!file.commit()) fail(m_target, file.errorString());
}

bool EpubWriter::writePage(ZKStreamArchive& zip, QCryptographicHash& digest, EpubPackage& package,
                           const FlashPage& page, qsizetype position) {
  EpubPackage::Page& entry = package.pages[position];
  const EpubPicture picture = EpubPicture::fromFile(page.pageFilePath());
  if (!picture.ok()) {
    fail(page.pageFilePath(), picture.error);
    return false;
  }
  entry.picture = QStringLiteral("image/%1.%2").arg(entry.number).arg(picture.extension);
  entry.mediaType = EpubPackage::mediaTypeOf(entry.picture);
  const QSize size = picture.size;
  EpubPage doc;
  doc.number = entry.number;
  doc.size = size;
  doc.picture = QStringLiteral("../") + entry.picture;
  doc.label = entry.label;
  doc.title = QStringLiteral("Page %1").arg(entry.label);
  doc.language = package.language;
  if (entry.hasText) doc.words = EpubPage::wordsOfScript(m_book.pages->pageTextScript(entry.number));
  doc.pictureOnly = doc.words.isEmpty();
  doc.links = linksOf(position, package);
  const QByteArray xhtml = doc.xhtml();
  digest.addData(picture.bytes);
  digest.addData(xhtml);
  // Pictures are compressed already; deflating them again only costs time.
  return zip.storeData(picture.bytes, EpubPackage::kFolder + entry.picture) &&
         zip.deflateData(xhtml, EpubPackage::kFolder + entry.document);
}

QList<EpubPage::Link> EpubWriter::linksOf(qsizetype position, const EpubPackage& package) const {
  QList<EpubPage::Link> links;
  if (!m_book.annotations) return links;
  const pugi::xml_node annos = m_book.annotations->pagesAnnotationsNode();
  // pageAnnos counts book positions from 1; a link's target is a page number.
  for (pugi::xml_node pageAnnos : annos.children("pageAnnos")) {
    if (pageAnnos.attribute("pageIndex").as_llong(-1) != position + 1) continue;
    for (pugi::xml_node anno : pageAnnos.children("anno")) {
      const pugi::xml_node action = anno.child("action");
      const pugi::xml_node loc = anno.child("location");
      const double x = loc.attribute("x").as_double(-1), y = loc.attribute("y").as_double(-1);
      const double w = loc.attribute("width").as_double(-1), h = loc.attribute("height").as_double(-1);
      if (!(x >= 0 && y >= 0 && w > 0 && h > 0 && x < 1 && y < 1)) continue;
      EpubPage::Link link;
      link.box = QRectF(x, y, std::min(w, 1 - x), std::min(h, 1 - y));
      const QString type = QString::fromUtf8(action.attribute("actionType").as_string());
      if (type == QLatin1String(FlashPagesAnnotationsPDF::kOpenUrlAction)) {
        link.href = QString::fromUtf8(action.child("url").text().as_string()).trimmed();
        if (!EpubPage::isWebAddress(link.href)) continue;
        link.label = link.href;
      } else if (type == QLatin1String(FlashPagesAnnotationsPDF::kGotoPageAction)) {
        const qint32 number = action.child("pageIndex").text().as_int(-1);
        const QString document = package.documentOf(number);
        if (document.isEmpty()) continue;  // a page that is not in the book
        link.href = QFileInfo(document).fileName();
        link.label = QStringLiteral("Page %1").arg(number);
        for (const EpubPackage::Page& p : package.pages)
          if (p.number == number) link.label = QStringLiteral("Page %1").arg(p.label);
      } else {
        continue;
      }
      links.append(link);
    }
  }
  return links;
}
