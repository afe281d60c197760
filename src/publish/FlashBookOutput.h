// Writes one complete book folder: page pictures, the files that template
// properties name, the HTML page, the encrypted configuration.
//
// Layout for book folder F and HTML name N:
//   F/N                       the HTML page (N defaults to index.html)
//   F/book.swf                the template's player movie, when it has one
//   F/files/book.bin          RC4-encrypted zip holding book.xml
//   F/files/book.bin.js       the same bytes as a script, for file:// playback
//   F/files/page/n.ext        one file per page, n its page number
//   F/files/extfiles/key.ext  one file per file-type template property
//   F/files/pageConfig/name   files the link areas need
//   F/files/large/n.ext       zoom pictures, for pages that have one
//   F/files/thumb/n.ext       thumbnails, for pages that have one
//   F/files/pages.js          printed page labels, when the document has them
//   F/files/text/n.js, all.js the words of each page, for pages that have text
//   F/files/.folivox-entries  the names of the entries beside files/ that the book wrote
// (the last five: see docs/book-files.md, BookTextWriter and BookLayout).
//
// ouputTheBook() is one transaction (BookTransaction.h): every step writes
// into a staging folder, through the `base` folder it is given, and the book's
// entries (files/, N, book.swf) replace the earlier ones only when every file
// was written. A failed publish changes nothing in F. It also changes nothing
// when F holds, where the book goes, files that are not a book's (the user's
// own index.html, say), unless told to replace them.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <vector>

class BookTransaction;
class FlashTemplate;
class FlashTemplateProperty;
class FlashPageSource;
class FlashPage;
class FlashOutline;
class FlashPagesAnnotations;
class HTMLConfigInfo;

// One file that could not be written, and why.
struct PublishFailure {
  QString target;
  QString reason;
};

// A file from outside the book that was copied into it.
struct PublishedFile {
  QString source;  // where it came from
  QString target;  // where it is in the book, relative to the book folder
};

class FlashBookOutput {
 public:
  FlashBookOutput(std::shared_ptr<FlashPageSource> pageSource, std::shared_ptr<FlashTemplate> flashTemplate,
                  const QString& saveToFolder, const std::optional<QString>& toName);
  virtual ~FlashBookOutput();

  const std::shared_ptr<FlashTemplate>& flashTemplate() const { return iFlashTemplate; }
  void setFlashTemplate(std::shared_ptr<FlashTemplate> t) { iFlashTemplate = std::move(t); }
  const std::shared_ptr<FlashPageSource>& flashPageSource() const { return iFlashPageSource; }
  void setFlashPageSource(std::shared_ptr<FlashPageSource> s) { iFlashPageSource = std::move(s); }
  const std::shared_ptr<FlashPagesAnnotations>& flashPagesAnnotations() const { return iFlashPagesAnnotations; }
  void setFlashPagesAnnotations(std::shared_ptr<FlashPagesAnnotations> a) { iFlashPagesAnnotations = std::move(a); }
  const std::shared_ptr<FlashOutline>& flashOutline() const { return iFlashOutline; }
  void setFlashOutline(std::shared_ptr<FlashOutline> o) { iFlashOutline = std::move(o); }
  const QString& saveToFolder() const { return iSaveToFolder; }
  void setSaveToFolder(const QString& f) { iSaveToFolder = f; }
  const std::optional<QString>& saveToFileName() const { return iSaveToFileName; }
  void setSaveToFileName(const std::optional<QString>& n) { iSaveToFileName = n; }
  const std::shared_ptr<HTMLConfigInfo>& HTMLConfig() const { return iHTMLConfig; }
  void setHTMLConfig(std::shared_ptr<HTMLConfigInfo> c) { iHTMLConfig = std::move(c); }

  // Writes the book. After a failed file it goes on writing the others, so that
  // failures() lists them all, and then puts nothing in place. A publisher
  // writes one book: create a new one for the next.
  virtual void ouputTheBook();

  // Told after each page file with (pages written, pages in all), on the
  // thread that writes the book, and asked again between the later steps and
  // last just before the book is put in place. Returning false stops the book
  // there, changing nothing in the book folder; cancelled() is then true.
  using Progress = std::function<bool(qsizetype done, qsizetype total)>;
  void setProgress(Progress progress) { m_progress = std::move(progress); }
  bool cancelled() const { return m_cancelled; }
  const std::vector<PublishFailure>& failures() const { return m_failures; }
  // Why nothing was published, when it stopped before or after writing the
  // files: no book folder, another publish at work, foreign files in the way,
  // the final swap failed. "" otherwise.
  const QString& error() const { return m_error; }
  bool succeeded() const { return m_failures.empty() && m_error.isEmpty(); }
  // Paths (relative to the folder that holds the book's entries) of files in
  // the way that no publish wrote; when not empty, nothing was written.
  const QStringList& foreignEntries() const { return m_foreignEntries; }
  // Replace such files all the same (the user said so).
  void setReplaceForeignFiles(bool replace) { m_replaceForeignFiles = replace; }
  // Publish into a folder that other users may change (the user said so);
  // otherwise such a folder is refused before anything is written, and
  // refusedSharedFolder() says that this was the reason.
  void setSharedFolderAllowed(bool allowed) { m_sharedFolderAllowed = allowed; }
  bool refusedSharedFolder() const { return m_refusedSharedFolder; }
  // Flush the book to the disk before it replaces the earlier one (default on;
  // the preview, which is rebuilt all the time, goes without).
  void setSyncToDisk(bool sync) { m_syncToDisk = sync; }
  // The files from outside the book that the book now holds copies of.
  const std::vector<PublishedFile>& externalFiles() const { return m_externalFiles; }
  // How page pictures (pages, zoom pictures, thumbnails) get into the book:
  // by default `copy` copies them; a placer may put them there another way
  // and fall back on `copy` (the preview links them: PreviewPictures).
  using CopyFunction = std::function<bool(const QString& source, const QString& target)>;
  using PicturePlacer = std::function<bool(const QString& source, const QString& target, const CopyFunction& copy)>;
  void setPicturePlacer(PicturePlacer placer) { m_picturePlacer = std::move(placer); }

  virtual QString outputHTMLFileName() const;
  virtual QString outputFileName() const;
  QString outputSWFName() const;

  // The steps of ouputTheBook(); `base` "" stands for the book folder, an
  // absolute path for a folder of its own (the staging folder).
  void prepaireNomalPage(const QString& base);
  void prepaireZoomendPage(const QString& base);
  void prepaireThumbPage(const QString& base);
  void prepaireExtFiles(const QString& base);
  void PrepareAnnotationFiles(const QString& base);
  // files/pages.js and files/text/, see BookTextWriter.
  void prepareTextFiles(const QString& base);
  // files/document.pdf, when offeredDocument() names one.
  void prepareDocumentFile(const QString& base);
  // The PDF the book was made from, when the template's downloadDocument
  // switch is on and the pages come from a PDF that is still there; "" otherwise
  // (a folder of pictures has no document to offer).
  QString offeredDocument() const;

  QString getNormalPageURL(const FlashPage& page) const;
  // The page's zoom picture or thumbnail (files/large/n.ext, files/thumb/n.ext)
  // when the page source has one for its number, else its normal picture.
  QString getZoomedPageURL(const FlashPage& page) const;
  QString getThumbPageURL(const FlashPage& page) const;

  // What fills ${book.text} in the HTML page: see BookIndexSection. The
  // title is the book's own (the bookTitle property), else the page's.
  QString indexSection() const;

  // book.xml as a document; ouputBookXML() packs and encrypts it into `path`
  // and writes the script twin `path`.js. Each atomically: a failed write
  // leaves the file that was there.
  std::unique_ptr<pugi::xml_document> bookXML() const;
  bool ouputBookXML(const QString& path);
  // book.xml serialised as written into book.bin.
  static QByteArray serializeBookXML(const pugi::xml_document& doc);

  // A property key can name a file in files/extfiles/ only when it stays there:
  // not empty, no "/", "\", ".." or NUL.
  static bool isSafeFileKey(const QString& key);
  // The HTML page's name inside the book folder.
  virtual QString htmlPageName() const;
  // The text after the last dot of the path's last component ("" if none).
  static QString pathExtension(const QString& path);

  static inline const QString kAppWebsite = QStringLiteral("https://folivox.org/");

 protected:
  void addFailure(const QString& target, const QString& reason);
  // Makes a folder of the book; false, with a failure that says why, when it cannot.
  bool makeFolder(const QString& folder);
  QString bookPath(const QString& base, const QString& relative) const;
  // The folder that holds the book's entries, and their names in swap order.
  virtual QString transactionFolder() const;
  virtual QStringList bookEntries() const;
  // Writes the whole book into `staging`, which stands for transactionFolder().
  virtual void writeBook(const QString& staging);
  // Runs the steps with `base` as the book folder.
  void writeBookFiles(const QString& base);

 private:
  void prepaireExtFilesAtChildPro(const QString& base, const FlashTemplateProperty& property, int depth);
  // Copies a file from outside the book. One that a settings file named
  // (FlashTemplate::confinementOf) is opened without following a link and
  // must still lie in the folders it was taken from.
  void copyExternalFile(const QString& source, const QString& target, const QString& base);
  bool copyPicture(const QString& source, const QString& target);
  // Copies a file's bytes; links are followed only when `followLinks`. With
  // `confinedTo`, the file opened must lie inside one of those folders.
  bool copyFile(const QString& source, const QString& target, bool followLinks,
                const QStringList& confinedTo = QStringList());
  // Asks the progress callback whether to go on; false (cancelled) once it said no.
  bool keepGoing();
  // Writes the entry record (BookLayout::kEntryRecord) of what `base` holds.
  void writeEntryRecord(const QString& base);
  void preparePictures(const QString& base, const QString& folderName,
                       const std::vector<std::shared_ptr<FlashPage>>& pictures);
  QString variantURL(const QString& folderName, const FlashPage* variant, const FlashPage& page) const;

  std::shared_ptr<FlashTemplate> iFlashTemplate;
  std::shared_ptr<FlashPageSource> iFlashPageSource;
  std::shared_ptr<FlashPagesAnnotations> iFlashPagesAnnotations;
  std::shared_ptr<FlashOutline> iFlashOutline;
  QString iSaveToFolder;
  std::optional<QString> iSaveToFileName;
  std::shared_ptr<HTMLConfigInfo> iHTMLConfig;
  std::vector<PublishFailure> m_failures;
  Progress m_progress;
  bool m_cancelled = false;
  QString m_error;
  QStringList m_foreignEntries;
  std::vector<PublishedFile> m_externalFiles;
  bool m_replaceForeignFiles = false;
  bool m_sharedFolderAllowed = false;
  bool m_refusedSharedFolder = false;
  bool m_syncToDisk = true;
  PicturePlacer m_picturePlacer;
  qsizetype m_pagesDone = 0;
  qsizetype m_pagesTotal = 0;
  // While the book is written: names the staging folder's paths as final.
  const BookTransaction* m_transaction = nullptr;

 public:
  static inline const QString iResourceFolder = QStringLiteral("files");
  static inline const QString iNormalPageFolder = QStringLiteral("page");
  static inline const QString iZoomedPageFolder = QStringLiteral("large");
  static inline const QString iThumbPageFolder = QStringLiteral("thumb");
  static inline const QString iExterFilesFolder = QStringLiteral("extfiles");
  static inline const QString iSearchInfoFolder = QStringLiteral("search");
  static inline const QString iAnnotationFilesFolder = QStringLiteral("pageConfig");
  // Picture folders keep one file per page; documents have zoom pictures.
  static constexpr bool iZoomedPageSameAsNormalPage = false;
};
