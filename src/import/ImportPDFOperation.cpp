#include "import/ImportPDFOperation.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>

#include "base/HXCUtility.h"
#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "import/DocumentToPdf.h"
#include "import/FlashOutlinePDF.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/PDFToPageConverter.h"

ImportPDFOperation::ImportPDFOperation(const QString& pdfPath, const QString& pageRange, qint32 dpi, qint32 quality,
                                       QObject* parent)
    : Operation(parent),
      iDPI(dpi),
      iQuality(quality),
      iPDFPath(pdfPath),
      iPageRange(pageRange),
      m_documentPath(pdfPath),
      m_pageTimeLimit(FlashPageSourcePDF::kDefaultPageTimeLimit) {}

ImportPDFOperation::~ImportPDFOperation() = default;

std::shared_ptr<FlashPageSourcePDF> ImportPDFOperation::flashPageSource() const {
  std::lock_guard<std::mutex> lock(m_sourceMutex);
  return iFlashPageSource;
}

void ImportPDFOperation::setPageSource(std::shared_ptr<FlashPageSourcePDF> source) {
  std::shared_ptr<FlashPageSourcePDF> old;
  {
    std::lock_guard<std::mutex> lock(m_sourceMutex);
    old = std::exchange(iFlashPageSource, std::move(source));
  }
  // `old` dies here, outside the lock: its destructor deletes the work folder.
}

void ImportPDFOperation::cancel() {
  if (std::shared_ptr<FlashPageSourcePDF> source = flashPageSource()) source->setStop(true);
  Operation::cancel();
}

bool ImportPDFOperation::convertDocument() {
  QString error;
  m_conversionFolder = HXCUtility::forceTmpDiractory(PDFToPageConverter::kWorkFolderName, &error);
  if (!m_conversionFolder) {
    m_error = error;
    return false;
  }
  const QString target = QDir(m_conversionFolder->path()).filePath(kConvertedPDFName);
  int posted = -1;
  const bool ok = DocumentToPdf::convertToPDF(iPDFPath, target, &error, [&](qint64 done, qint64 total) {
    if (total > 0) {
      const int percent = static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100));
      if (percent != posted) {
        posted = percent;
        NotificationCenter::defaultCenter().post(ImportProgressInfoMSG, nullptr,
                                                 {{QStringLiteral("pageIndex"), percent},
                                                  {QStringLiteral("totalPage"), 100},
                                                  {QStringLiteral("type"), kConvertProgressType}});
      }
    }
    return !isCancelled();
  });
  if (!ok) {
    m_error = isCancelled() ? QCoreApplication::translate("ImportPDFOperation", "The import was cancelled.") : error;
    m_conversionFolder.reset();
    return false;
  }
  iPDFPath = target;
  return true;
}

void ImportPDFOperation::main() {
  if (isCancelled()) return;
  if (DocumentToPdf::needsConversion(iPDFPath) && !convertDocument()) return;

  auto source = std::make_shared<FlashPageSourcePDF>(iPDFPath, iPageRange, iDPI, iQuality, m_jobs);
  source->setZoomPictures(m_zoomPictures);
  source->setTakeText(m_importText);
  source->setPictureFormat(m_pictureFormat);
  source->setPageTimeLimit(m_pageTimeLimit);
  setPageSource(source);
  // A cancel() that came while the source was being made found nothing to stop.
  if (isCancelled()) source->setStop(true);

  try {
    qCDebug(lcImport) << "before generate pages";
    source->generatePages();
    qCDebug(lcImport) << "after generate pages";
    qCDebug(lcImport) << "before generateNormalPages";
    source->generateNormalPages();
    qCDebug(lcImport) << "after generateNormalPages";
    m_warnings << source->warnings();
  } catch (const std::exception& e) {
    qCCritical(lcImport, "Run Import PDF Operation error,import pages:%s", e.what());
    m_error = QString::fromUtf8(e.what());
    source.reset();
    setPageSource(nullptr);
  }
  const std::shared_ptr<MuPdfDocument> doc = source ? source->PDFDoc() : nullptr;

  if (!isCancelled() && m_importLinks) {
    iFlashPagesAnnotation = std::make_shared<FlashPagesAnnotationsPDF>();
    try {
      iFlashPagesAnnotation->loadLinksFromPDF(doc, iPageRange);
      m_warnings << iFlashPagesAnnotation->warnings();
    } catch (const std::exception& e) {
      qCCritical(lcImport, "Run Import PDF Operation error,import links:%s", e.what());
      m_warnings << QCoreApplication::translate("ImportPDFOperation", "The links could not be read: %1")
                        .arg(QString::fromUtf8(e.what()));
      iFlashPagesAnnotation.reset();
    }
  }

  if (!isCancelled() && m_importBookmarks) {
    iFlashOutline = std::make_shared<FlashOutlinePDF>();
    try {
      iFlashOutline->loadOutlineFromPDF(doc);
      m_warnings << iFlashOutline->warnings();
    } catch (const std::exception& e) {
      qCCritical(lcImport, "Run Import PDF Operation error,import outline:%s", e.what());
      m_warnings << QCoreApplication::translate("ImportPDFOperation", "The bookmarks could not be read: %1")
                        .arg(QString::fromUtf8(e.what()));
      iFlashOutline.reset();
    }
  }

  if (isCancelled()) {
    qCDebug(lcImport) << "import pdf is cancelled";
    source.reset();
    setPageSource(nullptr);
    iFlashPagesAnnotation.reset();
    iFlashOutline.reset();
    m_error = QCoreApplication::translate("ImportPDFOperation", "The import was cancelled.");
    m_warnings.clear();
  }
}
