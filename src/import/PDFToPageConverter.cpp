#include "import/PDFToPageConverter.h"

#include "base/HXCUtility.h"
#include "base/Log.h"
#include "import/MuPdfDocument.h"

PDFToPageConverter::PDFToPageConverter(const QString& pdfPath, std::shared_ptr<MuPdfDocument> pdfDoc, qint32 quality)
    : iQuality(quality), iPDFPath(pdfPath), iPDFDoc(std::move(pdfDoc)) {
  m_ownedFolder = HXCUtility::forceTmpDiractory(kWorkFolderName, &m_workFolderError);
  if (m_ownedFolder) iConverterWorkFolder = m_ownedFolder->path();
  qCDebug(lcImport) << "converter work folder:" << iConverterWorkFolder;
}

// The folder goes with m_ownedFolder.
PDFToPageConverter::~PDFToPageConverter() = default;

int PDFToPageConverter::removeLeftoverWorkFolders() {
  return HXCUtility::removeLeftoverTmpDiractories(kWorkFolderName);
}

QString PDFToPageConverter::generatePage(qint32) { return QString(); }
