// Imports one document in the background: converts a text, RTF or office
// document to PDF first, renders the pages of the range into a new page source
// and, when asked, reads the links and the bookmarks.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>
#include <mutex>

#include "import/Operation.h"
#include "import/PictureFormat.h"

class FlashPageSourcePDF;
class FlashPagesAnnotationsPDF;
class FlashOutlinePDF;
class PrivateFolder;

class ImportPDFOperation : public Operation {
  Q_OBJECT

 public:
  // The "type" of the ImportProgressInfoMSG posts while a document is
  // converted; "pageIndex" is then the percentage done and "totalPage" 100.
  static inline const QString kConvertProgressType = QStringLiteral("convertDocument");
  // The converted PDF's name in its work folder.
  static inline const QString kConvertedPDFName = QStringLiteral("Folivox.pdf");

  // `pdfPath` is the document the user chose: a PDF, or a document that
  // DocumentToPdf::needsConversion() names, which main() converts first into
  // a private work folder kept while the operation lives.
  ImportPDFOperation(const QString& pdfPath, const QString& pageRange, qint32 dpi, qint32 quality,
                     QObject* parent = nullptr);
  ~ImportPDFOperation() override;

  void main() override;
  // Stops the conversion or the page rendering at its next step, then cancels
  // the operation. Safe from any thread while main() runs.
  void cancel() override;

  // Results, read after the operation has finished. A finished operation
  // without a page source has failed or was cancelled: see errorString().
  std::shared_ptr<FlashPageSourcePDF> flashPageSource() const;
  std::shared_ptr<FlashPagesAnnotationsPDF> flashPagesAnnotation() const { return iFlashPagesAnnotation; }
  std::shared_ptr<FlashOutlinePDF> flashOutline() const { return iFlashOutline; }

  void setImportBookmarks(bool on) { m_importBookmarks = on; }
  bool importLinks() const { return m_importLinks; }
  void setImportLinks(bool on) { m_importLinks = on; }
  // A zoom picture at twice the resolution of each page, and the words of
  // each page for search; both on by default.
  bool zoomPictures() const { return m_zoomPictures; }
  void setZoomPictures(bool on) { m_zoomPictures = on; }
  bool importText() const { return m_importText; }
  void setImportText(bool on) { m_importText = on; }
  // The format of the page pictures; Jpeg by default, as books were before.
  PictureFormat pictureFormat() const { return m_pictureFormat; }
  void setPictureFormat(PictureFormat format) { m_pictureFormat = format; }
  // How long one page may take to draw (see FlashPageSourcePDF); 0: no limit.
  std::chrono::milliseconds pageTimeLimit() const { return m_pageTimeLimit; }
  void setPageTimeLimit(std::chrono::milliseconds limit) { m_pageTimeLimit = limit; }
  // Rendering threads; 0 (the default) for one per core.
  int jobs() const { return m_jobs; }
  void setJobs(int jobs) { m_jobs = jobs; }

  // The PDF that is imported: the chosen document, or once main() has
  // converted it, the converted copy.
  const QString& PDFPath() const { return iPDFPath; }
  // The document as it was chosen.
  const QString& documentPath() const { return m_documentPath; }
  const QString& pageRange() const { return iPageRange; }
  qint32 DPI() const { return iDPI; }
  qint32 quality() const { return iQuality; }

  // Why the import failed, as a sentence for the user; "" on success.
  const QString& errorString() const { return m_error; }
  // What the user should know about a successful import (skipped pages, blank
  // pages, links or bookmarks that could not be read).
  const QStringList& warnings() const { return m_warnings; }

 private:
  void setPageSource(std::shared_ptr<FlashPageSourcePDF> source);
  bool convertDocument();

  mutable std::mutex m_sourceMutex;  // iFlashPageSource is read by cancel() on another thread
  std::shared_ptr<FlashPageSourcePDF> iFlashPageSource;
  std::shared_ptr<FlashPagesAnnotationsPDF> iFlashPagesAnnotation;
  std::shared_ptr<FlashOutlinePDF> iFlashOutline;
  qint32 iDPI;
  qint32 iQuality;
  QString iPDFPath;
  QString iPageRange;
  QString m_documentPath;
  std::unique_ptr<PrivateFolder> m_conversionFolder;
  bool m_importBookmarks = false;
  bool m_importLinks = false;
  bool m_zoomPictures = true;
  bool m_importText = true;
  PictureFormat m_pictureFormat = PictureFormat::Jpeg;
  int m_jobs = 0;
  std::chrono::milliseconds m_pageTimeLimit;
  QString m_error;
  QStringList m_warnings;
};
