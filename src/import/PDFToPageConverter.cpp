#include "import/PDFToPageConverter.h"

#include <QDir>

#include "base/HXCUtility.h"
#include "base/Log.h"
#include "import/MuPdfDocument.h"

PDFToPageConverter::PDFToPageConverter(const QString& pdfPath, std::shared_ptr<MuPdfDocument> pdfDoc,
                                       qint32 quality)
    : iQuality(quality), iPDFPath(pdfPath), iPDFDoc(std::move(pdfDoc)) {
  iConverterWorkFolder = HXCUtility::forceTmpDiractory(QStringLiteral("Quireon"));
  m_ownedFolder = iConverterWorkFolder;
  qCDebug(lcImport) << "converter work folder:" << iConverterWorkFolder;
}

PDFToPageConverter::~PDFToPageConverter() {
  if (m_ownedFolder.isEmpty()) return;  // QDir("") would be the current directory
  if (!QDir(m_ownedFolder).removeRecursively())
    qCWarning(lcImport) << "cannot remove the work folder" << m_ownedFolder;
}

QString PDFToPageConverter::generatePage(qint32) { return QString(); }
