// Writes a book as one EPUB 3 file (fixed layout, one page document per page;
// see EpubPage and EpubPackage) from the same pages, link areas and bookmarks
// as the web book.
//
// All or nothing, as the folder publish: the file is written into a
// BookTransaction's staging folder beside the target and takes the target's
// place only when whole, so a failed or stopped export leaves the earlier
// file as it was. A target that is not a file (a folder, a link, a device)
// is refused, never replaced. The entries are written as they are made,
// so memory does not grow with the book.
//
// The same input and options give the same bytes: every entry carries
// BookDate::date(), and the identifier is made from the book's content.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "publish/BookContent.h"
#include "publish/EpubPage.h"
#include "publish/FlashBookOutput.h"

class EpubPackage;
class FlashPage;
class QCryptographicHash;
class ZKStreamArchive;

class EpubWriter {
 public:
  // `target` is the .epub file's path; its folder must exist.
  // The book's pages, link areas and bookmarks are written; its template
  // plays no part in an EPUB.
  EpubWriter(BookContent book, const QString& target);
  ~EpubWriter();

  // The book's title, author ("" for none) and language tag ("" for "und":
  // not known).
  void setTitle(const QString& title) { m_title = title; }
  void setAuthor(const QString& author) { m_author = author; }
  void setLanguage(const QString& language) { m_language = language; }
  // Told after each page, asked again just before the file is put in place;
  // false stops the export there and changes nothing (cancelled()).
  void setProgress(FlashBookOutput::Progress progress) { m_progress = std::move(progress); }
  void setSharedFolderAllowed(bool allowed) { m_sharedFolderAllowed = allowed; }
  void setSyncToDisk(bool sync) { m_syncToDisk = sync; }

  // Writes the book. True when it is in place.
  bool write();

  const QString& target() const { return m_target; }
  const QString& error() const { return m_error; }
  const std::vector<PublishFailure>& failures() const { return m_failures; }
  bool cancelled() const { return m_cancelled; }
  bool refusedSharedFolder() const { return m_refusedSharedFolder; }

 private:
  void writeInto(const QString& path);
  bool writePage(ZKStreamArchive& zip, QCryptographicHash& digest, EpubPackage& package, const FlashPage& page,
                 qsizetype position);
  QList<EpubPage::Link> linksOf(qsizetype position, const EpubPackage& package) const;
  bool keepGoing(qsizetype done, qsizetype total);
  void fail(const QString& target, const QString& reason);

  BookContent m_book;
  QString m_target;
  QString m_title;
  QString m_author;
  QString m_language;
  FlashBookOutput::Progress m_progress;
  bool m_sharedFolderAllowed = false;
  bool m_syncToDisk = true;
  bool m_cancelled = false;
  bool m_refusedSharedFolder = false;
  QString m_error;
  std::vector<PublishFailure> m_failures;
};
