#include "import/FlashPageSourcePDF.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "import/PDFToSWFPageConverter.h"
#include "import/PageTextStore.h"
#include "import/PdfPageLabels.h"

namespace {

void postProgress(qsizetype index, qsizetype total, const char* type) {
  NotificationCenter::defaultCenter().post(ImportProgressInfoMSG, nullptr,
                                           {{QStringLiteral("pageIndex"), static_cast<int>(index)},
                                            {QStringLiteral("totalPage"), static_cast<int>(total)},
                                            {QStringLiteral("type"), QString::fromLatin1(type)}});
}

}  // namespace

FlashPageSourcePDF::FlashPageSourcePDF(const QString& pdfPath, const QString& pageRange, qint32 dpi, qint32 quality,
                                       int workers)
    : iPageRange(pageRange), iDPI(dpi), iQuality(quality), m_workers(workers) {
  iSourceFile = pdfPath;
  try {
    iPDFDoc = MuPdfDocument::open(pdfPath);
    if (iPDFDoc->pageCount() == 0) {
      m_error = QCoreApplication::translate("FlashPageSourcePDF", "Cannot open %1: the document has no pages")
                    .arg(QFileInfo(pdfPath).fileName());
      iPDFDoc.reset();
    } else if (iPDFDoc->wasRepaired()) {
      addWarning(QCoreApplication::translate("FlashPageSourcePDF",
                                             "%1 is damaged and was repaired; some pages may be missing or incomplete.")
                     .arg(QFileInfo(pdfPath).fileName()));
    }
  } catch (const ImportError& e) {
    m_error = e.reason();
    iPDFDoc.reset();
  }
  if (!m_error.isEmpty()) qCWarning(lcImport).noquote() << m_error;
  if (iPDFDoc) {
    try {
      m_documentTitle = iPDFDoc->title();
      m_documentAuthor = iPDFDoc->author();
      m_documentLanguage = iPDFDoc->language();
    } catch (const ImportError& e) {
      qCWarning(lcImport).noquote() << "the document's title cannot be read:" << e.reason();
    }
  }
  iToPageConverter = std::make_unique<PDFToSWFPageConverter>(pdfPath, iPDFDoc, quality);

  const qint32 total = iPDFDoc ? iPDFDoc->pageCount() : 0;
  const QList<qint32> parsed = parsePageRange(pageRange, total);
  QStringList skipped;  // "53-80": one warning for a range that runs past the end, not 28
  qint32 runStart = 0;
  qint32 runEnd = -1;
  auto closeRun = [&]() {
    if (runEnd < runStart) return;
    skipped << (runStart == runEnd ? QString::number(runStart) : QStringLiteral("%1-%2").arg(runStart).arg(runEnd));
  };
  for (qint32 n : parsed) {
    if (n >= 1 && n <= total) {
      iNeedToImportPages.append(n);
    } else if (iPDFDoc) {
      qCWarning(lcImport, "page %d is not in the document (%d pages); skipped", n, total);
      if (runEnd >= runStart && n == runEnd + 1) {
        runEnd = n;
      } else {
        closeRun();
        runStart = runEnd = n;
      }
    }
  }
  closeRun();
  if (iPDFDoc) {
    for (const auto& [first, last] : rangesPastTheEnd(pageRange, total))
      skipped << (first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last));
  }
  if (!skipped.isEmpty()) {
    const bool one = skipped.size() == 1 && !skipped.first().contains(QLatin1Char('-'));
    const QString name = QFileInfo(pdfPath).fileName();
    addWarning(
        one ? QCoreApplication::translate("FlashPageSourcePDF", "Page %1 is not in %2 (%3 pages) and was skipped.")
                  .arg(skipped.first(), name)
                  .arg(total)
            : QCoreApplication::translate("FlashPageSourcePDF", "Pages %1 are not in %2 (%3 pages) and were skipped.")
                  .arg(skipped.join(QStringLiteral(", ")), name)
                  .arg(total));
  }
}

FlashPageSourcePDF::~FlashPageSourcePDF() = default;

void FlashPageSourcePDF::readPageLabels() {
  m_labels.clear();
  try {
    const PdfPageLabels labels(*iPDFDoc);
    if (labels.isEmpty()) return;
    for (qint32 n : iNeedToImportPages) m_labels.insert(n, labels.label(n - 1));
  } catch (const ImportError& e) {
    m_labels.clear();
    qCWarning(lcImport).noquote() << "page labels cannot be read:" << e.reason();
    addWarning(QCoreApplication::translate("FlashPageSourcePDF", "The printed page numbers of %1 could not be read.")
                   .arg(QFileInfo(iSourceFile).fileName()));
  }
}

bool FlashPageSourcePDF::hasPageText(qint32 number) const { return iToPageConverter->textStore().contains(number); }

QByteArray FlashPageSourcePDF::pageTextScript(qint32 number) const {
  return hasPageText(number) ? iToPageConverter->textStore().script(number) : QByteArray();
}

QByteArray FlashPageSourcePDF::pageSearchEntry(qint32 number) const {
  return hasPageText(number) ? iToPageConverter->textStore().searchEntry(number) : QByteArray();
}

PDFToPageConverter* FlashPageSourcePDF::toPageConverter() const { return iToPageConverter.get(); }

void FlashPageSourcePDF::generatePages() {
  if (!iPDFDoc) throw ImportError(m_error);
  const qsizetype total = iNeedToImportPages.size();
  if (total == 0) {
    throw ImportError(
        QCoreApplication::translate("FlashPageSourcePDF", "The page range \"%1\" selects no page of %2 (%3 pages).")
            .arg(iPageRange, QFileInfo(iSourceFile).fileName())
            .arg(iPDFDoc->pageCount()));
  }
  readPageLabels();
  iToPageConverter->setZoomPictures(m_zoomPictures);
  iToPageConverter->setTakeText(m_takeText);
  iToPageConverter->setPictureFormat(m_pictureFormat);
  iToPageConverter->setPageTimeLimit(m_pageTimeLimit);
  const qsizetype done = iToPageConverter->renderPages(iNeedToImportPages, m_workers, iStoped,
                                                       [total](qsizetype i) { postProgress(i, total, "geneatePage"); });
  for (qsizetype i = 0; i < done; ++i) {
    const qint32 n = iNeedToImportPages[i];
    auto page = std::make_shared<FlashPage>(iToPageConverter->pageFilePath(n), n);
    page->setPictureKind(iToPageConverter->pageKind(n));
    iPages.push_back(std::move(page));
    // A page that could not be drawn stands in blank, without the rest.
    if (QFileInfo::exists(iToPageConverter->zoomFilePath(n)))
      iZoomedPages.push_back(std::make_shared<FlashPage>(iToPageConverter->zoomFilePath(n), n));
    if (QFileInfo::exists(iToPageConverter->thumbFilePath(n)))
      iThumbPages.push_back(std::make_shared<FlashPage>(iToPageConverter->thumbFilePath(n), n));
  }
  for (const QString& w : iToPageConverter->warnings()) addWarning(w);
}

void FlashPageSourcePDF::generateNormalPages() {
  const qsizetype total = iNeedToImportPages.size();
  for (size_t i = 0; i < iPages.size() && !stop(); ++i) {
    const FlashPagePtr& p = iPages[i];
    if (!getNormalPageAtIndex(p->pageIndex())) iNormalPages.push_back(p->copyPage(100, 100));
    postProgress(static_cast<qsizetype>(i) + 1, total, "geneateNormalPage");
  }
}

FlashPagePtr FlashPageSourcePDF::getNormalPageAtIndex(qint32 number) const {
  for (const FlashPagePtr& p : iNormalPages) {
    if (stop()) return nullptr;
    if (p->pageIndex() == number) return p;
  }
  return nullptr;
}

QStringList FlashPageSourcePDF::warnings() const {
  std::lock_guard<std::mutex> lock(m_warningsMutex);
  return m_warnings;
}

void FlashPageSourcePDF::addWarning(const QString& text) {
  std::lock_guard<std::mutex> lock(m_warningsMutex);
  m_warnings << text;
}
