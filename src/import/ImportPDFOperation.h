// Imports one PDF in the background: renders the pages of the range into a
// new page source and, when asked, reads the links and the bookmarks.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>

#include "import/Operation.h"

class FlashPageSourcePDF;
class FlashPagesAnnotationsPDF;
class FlashOutlinePDF;

class ImportPDFOperation : public Operation {
  Q_OBJECT

 public:
  ImportPDFOperation(const QString& pdfPath, const QString& pageRange, qint32 dpi, qint32 quality,
                     QObject* parent = nullptr);
  ~ImportPDFOperation() override;

  void main() override;
  // Stops the page rendering at its next page, then cancels the operation.
  // Safe from any thread while main() runs.
  void cancel() override;

  // Results, read after the operation has finished. A finished operation
  // without a page source has failed or was cancelled: see errorString().
  std::shared_ptr<FlashPageSourcePDF> flashPageSource() const;
  std::shared_ptr<FlashPagesAnnotationsPDF> flashPagesAnnotation() const { return iFlashPagesAnnotation; }
  std::shared_ptr<FlashOutlinePDF> flashOutline() const { return iFlashOutline; }

  bool importBookmarks() const { return m_importBookmarks; }
  void setImportBookmarks(bool on) { m_importBookmarks = on; }
  bool importLinks() const { return m_importLinks; }
  void setImportLinks(bool on) { m_importLinks = on; }
  // Rendering threads; 0 (the default) for one per core.
  int jobs() const { return m_jobs; }
  void setJobs(int jobs) { m_jobs = jobs; }

  const QString& PDFPath() const { return iPDFPath; }
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

  mutable std::mutex m_sourceMutex;  // iFlashPageSource is read by cancel() on another thread
  std::shared_ptr<FlashPageSourcePDF> iFlashPageSource;
  std::shared_ptr<FlashPagesAnnotationsPDF> iFlashPagesAnnotation;
  std::shared_ptr<FlashOutlinePDF> iFlashOutline;
  qint32 iDPI;
  qint32 iQuality;
  QString iPDFPath;
  QString iPageRange;
  bool m_importBookmarks = false;
  bool m_importLinks = false;
  int m_jobs = 0;
  QString m_error;
  QStringList m_warnings;
};
