// The page source of an imported PDF: opens the document, picks the pages of
// the range and has its converter render them into a private work folder.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QHash>
#include <QList>
#include <QStringList>
#include <chrono>
#include <memory>
#include <mutex>

#include "import/FlashPageSource.h"
#include "import/PictureFormat.h"

class MuPdfDocument;
class PDFToPageConverter;
class PDFToSWFPageConverter;

class FlashPageSourcePDF : public FlashPageSource {
 public:
  // Opens the document and parses the range against its page count. Numbers
  // outside 1..page count are dropped with a warning. Reads the document's
  // title and its page labels. Opening failures are
  // kept in errorString(); generatePages() then fails with that reason.
  // `workers` is the number of rendering threads, 0 for one per core.
  FlashPageSourcePDF(const QString& pdfPath, const QString& pageRange, qint32 dpi, qint32 quality, int workers = 0);
  ~FlashPageSourcePDF() override;

  // Renders every requested page, in parallel, and appends them to pages() in
  // range order, their zoom pictures and thumbnails to zoomedPages() and
  // thumbPages(). Posts ImportProgressInfoMSG after each page (type
  // "geneatePage"). Stops early when the stop flag is set. Throws ImportError
  // when the document cannot be opened, the range selects no page, or a page
  // file cannot be written.
  void generatePages() override;
  // A copy of each page into normalPages(), type "geneateNormalPage".
  void generateNormalPages() override;
  // None once the stop flag is set.
  FlashPagePtr getNormalPageAtIndex(qint32 number) const override;

  // Options, set before generatePages(): a zoom picture at twice the
  // resolution of each page, and the words of each page (both off by
  // default). Every rendered page gets a thumbnail.
  bool zoomPictures() const { return m_zoomPictures; }
  void setZoomPictures(bool on) { m_zoomPictures = on; }
  bool takeText() const { return m_takeText; }
  void setTakeText(bool on) { m_takeText = on; }
  // The format of the page pictures (default Jpeg; see PictureFormat). Each
  // page's pictureKind() tells what its picture shows.
  PictureFormat pictureFormat() const { return m_pictureFormat; }
  void setPictureFormat(PictureFormat format) { m_pictureFormat = format; }
  // How long one page may take to draw; a page that takes longer stands in
  // blank, with a warning, and the others go on. 0: no limit.
  static constexpr std::chrono::milliseconds kDefaultPageTimeLimit{60'000};
  std::chrono::milliseconds pageTimeLimit() const { return m_pageTimeLimit; }
  void setPageTimeLimit(std::chrono::milliseconds limit) { m_pageTimeLimit = limit; }

  bool hasPageText(qint32 number) const override;
  QByteArray pageTextScript(qint32 number) const override;
  QByteArray pageSearchEntry(qint32 number) const override;
  bool hasPageLabels() const override { return !m_labels.isEmpty(); }
  QString pageLabel(qint32 number) const override { return m_labels.value(number); }

  PDFToPageConverter* toPageConverter() const;
  // The open document, or null when it could not be opened.
  std::shared_ptr<MuPdfDocument> PDFDoc() const { return iPDFDoc; }
  const QString& pageRange() const { return iPageRange; }
  qint32 DPI() const { return iDPI; }
  qint32 quality() const { return iQuality; }
  const QList<qint32>& needToImportPages() const { return iNeedToImportPages; }
  int workers() const { return m_workers; }
  void setWorkers(int workers) { m_workers = workers; }

  // Why the document could not be opened; "" when it is open.
  const QString& errorString() const { return m_error; }
  // Things the user should know about a finished import: skipped page
  // numbers, blank pages, repairs. One sentence each.
  QStringList warnings() const;

 private:
  void addWarning(const QString& text);
  void readPageLabels();

  std::shared_ptr<MuPdfDocument> iPDFDoc;
  QString iPageRange;
  qint32 iDPI = 144;
  qint32 iQuality = 100;
  std::unique_ptr<PDFToSWFPageConverter> iToPageConverter;
  QList<qint32> iNeedToImportPages;
  int m_workers = 0;
  bool m_zoomPictures = false;
  bool m_takeText = false;
  PictureFormat m_pictureFormat = PictureFormat::Jpeg;
  std::chrono::milliseconds m_pageTimeLimit = kDefaultPageTimeLimit;
  QHash<qint32, QString> m_labels;  // printed labels of the requested pages
  QString m_error;
  mutable std::mutex m_warningsMutex;
  QStringList m_warnings;
};
