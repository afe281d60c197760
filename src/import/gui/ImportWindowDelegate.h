// The import sheet: the document to import, the page range, the picture
// quality, whether to take over links and bookmarks, and whether to make the
// text searchable and add zoom pictures. Import converts a
// text, RTF or office document to a temporary PDF, runs the import operation
// on the dialog's queue and shows its progress; a successful import ends the
// sheet with 1 and leaves its results and the first page's size here. Cancel
// (or Escape) stops a running import, or ends the sheet with 0 when none runs.
// Closing the window ends the sheet with 0 and cancels a running import, whose
// results are then dropped. While an import runs, nothing that changes it can
// be touched.
// The name is historical: a window controller, not a Qt item delegate (docs/NAMES.md).
#pragma once

#include <QDialog>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>

class FlashPageSource;
class FlashPagesAnnotations;
class FlashOutline;
class ImportPDFOperation;
class OperationQueue;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
struct Notification;

class ImportWindowDelegate : public QDialog {
  Q_OBJECT
 public:
  static constexpr qint32 kDPI = 144;
  static constexpr int kProgressIntervalMs = 200;  // how often the sheet shows progress

  explicit ImportWindowDelegate(QWidget* parent = nullptr);
  ~ImportWindowDelegate() override;

  // ---- results of the last import ----
  std::shared_ptr<FlashPageSource> flashPageSource() const { return iFlashPageSource; }
  std::shared_ptr<FlashPagesAnnotations> flashPagesAnnotations() const { return iFlashPagesAnnotations; }
  std::shared_ptr<FlashOutline> flashOutline() const { return iFlashOutline; }
  qint32 pageWidth() const { return m_pageWidth; }
  void setPageWidth(qint32 w) { m_pageWidth = w; }
  qint32 pageHeight() const { return m_pageHeight; }
  void setPageHeight(qint32 h) { m_pageHeight = h; }
  bool isImporting() const { return m_isImporting; }
  // The operation of the last import, or null.
  const std::shared_ptr<ImportPDFOperation>& importPDF() const { return m_importPDF; }
  // The PDF that the import reads: the chosen file, or once converted, its
  // copy in the import's work folder (kept until the next import).
  const QString& txtImportFile() const { return m_txtImportFile; }
  // The document the last successful import read, as the user chose it.
  const QString& importedDocument() const { return m_importedDocument; }
  // What the user should know about the last successful import (pages
  // skipped or drawn blank, links dropped, a repaired file).
  const QStringList& importWarnings() const { return m_importWarnings; }
  // Puts `path` into the document field, unless an import runs. False then.
  bool setDocument(const QString& path);
  // Shows the document "Open" asks for, or returns false, and the document
  // opens in the user's programs (a failure to open is shown). The desktop
  // may hand a PDF back to this program, so the main window shows PDFs itself.
  using DocumentViewer = std::function<bool(const QString& path)>;
  void setDocumentViewer(DocumentViewer viewer) { m_viewer = std::move(viewer); }

  // ---- actions ----
  void enableButtons(bool on);
  void onPageRangeTypeChangeAction();
  void onBrowseFileAction();
  void onOpenTheFileAction();
  void onImportAction();
  void startImport();
  void onCancelAction();

  // Escape: the same as Cancel.
  void reject() override;
  // Any end other than a successful import cancels a running one.
  void done(int result) override;

  // ---- controls ----
  QLineEdit* txtFilePath() const { return m_txtFilePath; }
  QButtonGroup* pageRangeType() const { return m_pageRangeType; }
  QLineEdit* txtPageRange() const { return m_txtPageRange; }
  QComboBox* importQuality() const { return m_importQuality; }
  QComboBox* pictureFormat() const { return m_pictureFormat; }
  QPushButton* btnOK() const { return m_btnOK; }
  QPushButton* btnCancel() const { return m_btnCancel; }
  QLabel* lblInfo() const { return m_lblInfo; }
  QProgressBar* prgBar() const { return m_prgBar; }
  QCheckBox* btnImportBookMark() const { return m_btnImportBookMark; }
  QCheckBox* btnImportLinks() const { return m_btnImportLinks; }

 Q_SIGNALS:
  // An import ended without a book; `reason` is what the status label shows.
  void importFailed(const QString& reason);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Each showing starts in the document field, not where the last import
  // left the focus (on Cancel, the one button it left enabled).
  void showEvent(QShowEvent* event) override;

 private:
  void abandonImport();
  void operationFinished(const std::shared_ptr<ImportPDFOperation>& op);
  void mainThread_handleMSG(const Notification& note);
  void showProgress();
  void showFailure(const QString& reason);

  QLineEdit* m_txtFilePath = nullptr;
  QButtonGroup* m_pageRangeType = nullptr;
  QLineEdit* m_txtPageRange = nullptr;
  QComboBox* m_pictureFormat = nullptr;
  QComboBox* m_importQuality = nullptr;
  QPushButton* m_btnOK = nullptr;
  QPushButton* m_btnCancel = nullptr;
  QPushButton* m_btnOpenFile = nullptr;
  QPushButton* m_btnBrowse = nullptr;
  QList<QWidget*> m_importControls;  // what changes the import: disabled while it runs
  QLabel* m_lblInfo = nullptr;
  QProgressBar* m_prgBar = nullptr;
  QCheckBox* m_btnImportBookMark = nullptr;
  QCheckBox* m_btnImportLinks = nullptr;
  QCheckBox* m_btnImportText = nullptr;
  QCheckBox* m_btnZoomPictures = nullptr;
  QString m_txtImportFile;
  QString m_importingDocument;
  QString m_importedDocument;
  QStringList m_importWarnings;

  qint32 m_pageWidth = 0;
  qint32 m_pageHeight = 0;
  bool m_isImporting = false;
  std::shared_ptr<FlashPageSource> iFlashPageSource;
  std::shared_ptr<FlashPagesAnnotations> iFlashPagesAnnotations;
  std::shared_ptr<FlashOutline> iFlashOutline;
  std::unique_ptr<OperationQueue> iQueue;
  std::shared_ptr<ImportPDFOperation> m_importPDF;
  DocumentViewer m_viewer;
  QTimer* m_progressTimer = nullptr;
  QVariantMap m_progress;  // the latest progress report, shown by m_progressTimer
};
