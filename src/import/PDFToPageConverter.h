// Holds the document, the JPEG quality and the private work folder that
// receives a PDF's page pictures. The work folder lives as long as the
// converter; one that a killed run left behind is removed by
// removeLeftoverWorkFolders() at the next start.
#pragma once

#include <QString>
#include <memory>

class MuPdfDocument;
class PrivateFolder;

class PDFToPageConverter {
 public:
  static inline const QString kWorkFolderName = QStringLiteral("Quireon");

  // Makes a new work folder with HXCUtility::forceTmpDiractory("Quireon").
  // converterWorkFolder() is "" when it could not be made; workFolderError() says why.
  PDFToPageConverter(const QString& pdfPath, std::shared_ptr<MuPdfDocument> pdfDoc, qint32 quality);
  // Deletes the work folder this converter made, with every page file in it.
  virtual ~PDFToPageConverter();
  PDFToPageConverter(const PDFToPageConverter&) = delete;
  PDFToPageConverter& operator=(const PDFToPageConverter&) = delete;

  qint32 quality() const { return iQuality; }
  void setQuality(qint32 quality) { iQuality = quality; }
  const QString& PDFPath() const { return iPDFPath; }
  void setPDFPath(const QString& path) { iPDFPath = path; }
  const QString& converterWorkFolder() const { return iConverterWorkFolder; }
  // Only the folder made by the constructor is deleted on destruction, never
  // one set here.
  void setConverterWorkFolder(const QString& folder) { iConverterWorkFolder = folder; }
  qint32 DPI() const { return iDPI; }
  void setDPI(qint32 dpi) { iDPI = dpi; }
  const std::shared_ptr<MuPdfDocument>& PDFDoc() const { return iPDFDoc; }
  void setPDFDoc(std::shared_ptr<MuPdfDocument> doc) { iPDFDoc = std::move(doc); }

  // The file of page `number`, rendering it first when needed; "" when this
  // converter produces no files.
  virtual QString generatePage(qint32 number);

  const QString& workFolderError() const { return m_workFolderError; }
  // Removes the work folders of converters whose program was killed.
  static int removeLeftoverWorkFolders();

 protected:
  qint32 iQuality = 100;
  QString iPDFPath;
  QString iConverterWorkFolder;
  qint32 iDPI = 144;
  std::shared_ptr<MuPdfDocument> iPDFDoc;

 private:
  std::unique_ptr<PrivateFolder> m_ownedFolder;
  QString m_workFolderError;
};
