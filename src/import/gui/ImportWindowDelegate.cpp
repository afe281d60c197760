#include "import/gui/ImportWindowDelegate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "base/AppSettings.h"
#include "base/DesktopOpener.h"
#include "base/LastFolders.h"
#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "import/FlashOutlinePDF.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/ImportPDFOperation.h"
#include "import/MuPdfDocument.h"
#include "import/OperationQueue.h"
#include "import/PictureFormat.h"

ImportWindowDelegate::ImportWindowDelegate(QWidget* parent)
    : QDialog(parent), iQueue(std::make_unique<OperationQueue>(1)) {
  setWindowTitle(tr("Import a document"));
  setWindowModality(Qt::WindowModal);

  m_txtFilePath = new QLineEdit(this);
  m_txtFilePath->setPlaceholderText(tr("A PDF, text or RTF document"));
  auto* browse = new QPushButton(tr("&Browse..."), this);
  m_btnBrowse = browse;
  m_btnOpenFile = new QPushButton(tr("O&pen"), this);
  m_btnOpenFile->setToolTip(tr("Open the document that is imported"));
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_txtFilePath, 1);
  fileRow->addWidget(browse);
  fileRow->addWidget(m_btnOpenFile);

  m_pageRangeType = new QButtonGroup(this);
  auto* all = new QRadioButton(tr("&All pages"), this);
  auto* some = new QRadioButton(tr("Pa&ges:"), this);
  m_pageRangeType->addButton(all, 0);
  m_pageRangeType->addButton(some, 1);
  m_txtPageRange = new QLineEdit(this);
  m_txtPageRange->setPlaceholderText(tr("e.g. 1-5,8,11-13"));
  auto* rangeRow = new QHBoxLayout;
  rangeRow->addWidget(all);
  rangeRow->addWidget(some);
  rangeRow->addWidget(m_txtPageRange, 1);

  m_importQuality = new QComboBox(this);
  m_importQuality->addItems({tr("Best (100)"), tr("High (85)"), tr("Medium (65)"), tr("Low (45)"), tr("Lowest (25)")});

  // The order of the entries is the stored setting's (PictureFormats::fromSetting).
  m_pictureFormat = new QComboBox(this);
  m_pictureFormat->addItems({tr("Lightest per page (WebP or JPEG)"), tr("WebP"), tr("JPEG (as older books)")});
  m_pictureFormat->setToolTip(tr("Pages of text are stored without loss, photographs at the quality chosen"));

  m_btnImportLinks = new QCheckBox(tr("Import &links"), this);
  m_btnImportBookMark = new QCheckBox(tr("Import boo&kmarks"), this);
  m_btnImportText = new QCheckBox(tr("Make the &text searchable"), this);
  m_btnZoomPictures = new QCheckBox(tr("Sharp &zoom pictures"), this);
  m_btnZoomPictures->setToolTip(
      tr("Adds a picture of twice the resolution for each page, shown when the reader zooms in"));
  auto* optionsRow = new QHBoxLayout;
  optionsRow->addWidget(m_btnImportLinks);
  optionsRow->addWidget(m_btnImportBookMark);
  optionsRow->addStretch(1);
  auto* extrasRow = new QHBoxLayout;
  extrasRow->addWidget(m_btnImportText);
  extrasRow->addWidget(m_btnZoomPictures);
  extrasRow->addStretch(1);

  auto* form = new QFormLayout;
  auto* documentLabel = new QLabel(tr("&Document:"), this);
  documentLabel->setBuddy(m_txtFilePath);
  form->addRow(documentLabel, fileRow);
  auto* rangeLabel = new QLabel(tr("&Range:"), this);
  rangeLabel->setBuddy(m_txtPageRange);
  form->addRow(rangeLabel, rangeRow);
  form->addRow(tr("&Quality:"), m_importQuality);
  form->addRow(tr("Pict&ures:"), m_pictureFormat);
  form->addRow(QString(), optionsRow);
  form->addRow(QString(), extrasRow);

  m_importControls = {m_txtFilePath,
                      browse,
                      m_btnOpenFile,
                      all,
                      some,
                      m_txtPageRange,
                      m_importQuality,
                      m_pictureFormat,
                      m_btnImportLinks,
                      m_btnImportBookMark,
                      m_btnImportText,
                      m_btnZoomPictures};

  m_lblInfo = new QLabel(this);
  m_lblInfo->setWordWrap(true);
  m_lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_prgBar = new QProgressBar(this);
  m_prgBar->setTextVisible(true);
  m_prgBar->setFormat(QStringLiteral("%v/%m"));

  auto* buttons = new QDialogButtonBox(this);
  m_btnOK = buttons->addButton(tr("&Import"), QDialogButtonBox::AcceptRole);
  m_btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
  m_btnOK->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_lblInfo);
  layout->addWidget(m_prgBar);
  layout->addWidget(buttons);
  resize(600, sizeHint().height());

  connect(browse, &QPushButton::clicked, this, &ImportWindowDelegate::onBrowseFileAction);
  connect(m_btnOpenFile, &QPushButton::clicked, this, &ImportWindowDelegate::onOpenTheFileAction);
  connect(m_pageRangeType, &QButtonGroup::idClicked, this, &ImportWindowDelegate::onPageRangeTypeChangeAction);
  connect(m_btnOK, &QPushButton::clicked, this, &ImportWindowDelegate::onImportAction);
  connect(m_btnCancel, &QPushButton::clicked, this, &ImportWindowDelegate::onCancelAction);

  // Filled once from the remembered choices; later openings show what the user left.
  const AppSettings& s = AppSettings::shareInstance();
  m_txtFilePath->setText(s.lastImportedFile());
  (s.importPageRangeType() == 1 ? some : all)->setChecked(true);
  m_txtPageRange->setText(s.importPageRange());
  const int level = s.importQualityLevel();
  m_importQuality->setCurrentIndex(level >= 0 && level < m_importQuality->count() ? level : 0);
  m_btnImportLinks->setChecked(s.importLinks() == 1);
  m_btnImportBookMark->setChecked(s.importBookmark() == 1);
  m_btnImportText->setChecked(s.importText() == 1);
  m_btnZoomPictures->setChecked(s.importZoomPictures() == 1);
  m_pictureFormat->setCurrentIndex(PictureFormats::toSetting(PictureFormats::fromSetting(s.importPictureFormat())));

  m_progressTimer = new QTimer(this);
  m_progressTimer->setSingleShot(true);
  m_progressTimer->setInterval(kProgressIntervalMs);
  connect(m_progressTimer, &QTimer::timeout, this, &ImportWindowDelegate::showProgress);
  // Progress is posted on the import's worker thread; the centre hands it to
  // this thread, in order.
  NotificationCenter::defaultCenter().addObserver(this, ImportProgressInfoMSG,
                                                  [this](const Notification& note) { mainThread_handleMSG(note); });
  enableButtons(true);
}

ImportWindowDelegate::~ImportWindowDelegate() {
  NotificationCenter::defaultCenter().removeObserver(this);
  if (iQueue) {
    iQueue->cancelAllOperations();
    iQueue->waitUntilAllOperationsAreFinished();
  }
}

void ImportWindowDelegate::enableButtons(bool on) {
  for (QWidget* w : m_importControls) w->setEnabled(on);
  m_btnOK->setEnabled(on);
  m_txtPageRange->setEnabled(on && m_pageRangeType->checkedId() == 1);
  m_lblInfo->setVisible(!on);
  m_prgBar->setVisible(!on);
  // Busy (animated) until the first page reports how many there are.
  if (on) {
    m_prgBar->setRange(0, 1);
    m_prgBar->setValue(0);
  } else {
    m_prgBar->setRange(0, 0);
  }
}

// The range field follows the choice; nothing else may wake up during an import.
void ImportWindowDelegate::onPageRangeTypeChangeAction() {
  enableButtons(!m_isImporting);
  if (m_txtPageRange->isEnabled()) m_txtPageRange->setFocus(Qt::OtherFocusReason);
}

bool ImportWindowDelegate::setDocument(const QString& path) {
  if (m_isImporting) return false;
  m_txtFilePath->setText(path);
  m_lblInfo->clear();
  m_lblInfo->setVisible(false);
  return true;
}

void ImportWindowDelegate::onBrowseFileAction() {
  auto* panel = new QFileDialog(this, tr("Choose a document"),
                                LastFolders::startFolderFor(LastFolders::Document, m_txtFilePath->text()));
  panel->setAttribute(Qt::WA_DeleteOnClose);
  panel->setFileMode(QFileDialog::ExistingFile);
  panel->setNameFilters({tr("Documents (*.pdf *.txt *.rtf *.docx *.odt *.doc)"), tr("All files (*)")});
  panel->setWindowModality(Qt::WindowModal);
  connect(panel, &QFileDialog::fileSelected, this, [this](const QString& path) {
    qCInfo(lcSystem).noquote() << "die end," + path;
    LastFolders::remember(LastFolders::Document, path);
    m_txtFilePath->setText(path);  // a cancelled panel keeps the old path
  });
  panel->open();
}

void ImportWindowDelegate::onOpenTheFileAction() {
  const QString path = m_txtImportFile.isEmpty() ? m_txtFilePath->text() : m_txtImportFile;
  if (path.isEmpty()) return;
  if (m_viewer && m_viewer(path)) return;
  connect(DesktopOpener::open(path, this), &DesktopOpener::failed, this, [this, path](const QString& reason) {
    m_lblInfo->setText(tr("%1 could not be opened: %2.").arg(path, reason));
    m_lblInfo->setVisible(true);
  });
}

void ImportWindowDelegate::showFailure(const QString& reason) {
  m_lblInfo->setText(reason);
  m_lblInfo->setVisible(true);
  Q_EMIT importFailed(reason);
}

void ImportWindowDelegate::onImportAction() {
  const QString path = m_txtFilePath->text();
  m_lblInfo->setVisible(true);
  if (path.isEmpty() || !QFileInfo::exists(path)) {
    m_lblInfo->setText(tr("Import file does not exist."));
    return;
  }
  m_lblInfo->setText(tr("Preparing the document, please wait..."));
  m_isImporting = true;
  m_importingDocument = path;
  LastFolders::remember(LastFolders::Document, path);

  AppSettings& s = AppSettings::shareInstance();
  s.setLastImportedFile(path);
  s.setImportPageRangeType(m_pageRangeType->checkedId() == 1 ? 1 : 0);
  s.setImportQualityLevel(m_importQuality->currentIndex());
  s.setImportPageRange(m_txtPageRange->text());
  s.setImportBookmark(m_btnImportBookMark->isChecked() ? 1 : 0);
  s.setImportLinks(m_btnImportLinks->isChecked() ? 1 : 0);
  s.setImportText(m_btnImportText->isChecked() ? 1 : 0);
  s.setImportZoomPictures(m_btnZoomPictures->isChecked() ? 1 : 0);
  s.setImportPictureFormat(m_pictureFormat->currentIndex());
  enableButtons(false);
  m_lblInfo->setText(tr("Preparing the document, please wait..."));
  s.saveSettings();

  iFlashPageSource.reset();
  iFlashPagesAnnotations.reset();
  iFlashOutline.reset();
  m_importWarnings.clear();
  qCDebug(lcImport) << "start to import file now...";
  startImport();
}

void ImportWindowDelegate::startImport() {
  // A text, RTF or office document is converted by the operation, with
  // progress, into a work folder of its own.
  m_txtImportFile = m_txtFilePath->text();

  m_pageWidth = 0;
  m_pageHeight = 0;
  iQueue->cancelAllOperations();

  const AppSettings& s = AppSettings::shareInstance();
  const QString range = m_pageRangeType->checkedId() == 1 ? m_txtPageRange->text() : QStringLiteral("ALL");
  qCDebug(lcImport).noquote() << "page range is:" + range;
  const qint32 quality = AppSettings::qualityForLevel(s.importQualityLevel());

  auto op = std::make_shared<ImportPDFOperation>(m_txtImportFile, range, kDPI, quality);
  m_importPDF = op;
  const std::weak_ptr<ImportPDFOperation> weak = op;
  connect(
      op.get(), &Operation::finished, this, [this, weak]() { operationFinished(weak.lock()); }, Qt::QueuedConnection);
  op->setImportLinks(s.importLinks() == 1);
  op->setImportBookmarks(s.importBookmark() == 1);
  op->setImportText(s.importText() == 1);
  op->setZoomPictures(s.importZoomPictures() == 1);
  op->setPictureFormat(PictureFormats::fromSetting(s.importPictureFormat()));
  qCDebug(lcImport) << "before add operation";
  iQueue->addOperation(op);
  qCDebug(lcImport) << "after add operation";
}

void ImportWindowDelegate::operationFinished(const std::shared_ptr<ImportPDFOperation>& op) {
  // A cancelled operation that ends after a newer import started is not ours any more.
  if (!op || op != m_importPDF) return;
  qCDebug(lcImport) << "import files isFinished.";
  m_txtImportFile = m_importPDF->PDFPath();
  std::shared_ptr<FlashPageSourcePDF> pages = m_importPDF->flashPageSource();
  iFlashPageSource = pages;
  iFlashPagesAnnotations = m_importPDF->flashPagesAnnotation();
  iFlashOutline = m_importPDF->flashOutline();
  enableButtons(true);
  m_isImporting = false;
  if (pages) {
    qCDebug(lcImport) << "import files ok...";
    // The size of the first page as its picture shows it (rotation applied),
    // whatever range was imported.
    const std::shared_ptr<MuPdfDocument> doc = pages->PDFDoc();
    if (doc && doc->pageCount() > 0) {
      const QSizeF size = doc->pageSize(0);
      m_pageWidth = static_cast<qint32>(size.width());
      m_pageHeight = static_cast<qint32>(size.height());
    }
    m_importWarnings = m_importPDF->warnings();
    for (const QString& w : m_importWarnings) qCWarning(lcImport).noquote() << w;
    m_importedDocument = m_importingDocument;
    done(1);
    return;
  }
  qCWarning(lcImport) << "import files failed...";
  showFailure(m_importPDF->errorString().isEmpty() ? tr("The import failed.") : m_importPDF->errorString());
}

void ImportWindowDelegate::mainThread_handleMSG(const Notification& note) {
  if (m_lblInfo->isHidden()) return;
  // Pages report faster than the sheet can be drawn (each step of the bar is
  // drawn at once), and a burst of them kept the window from answering: show
  // the latest a few times a second.
  m_progress = note.userInfo;
  if (!m_progressTimer->isActive()) m_progressTimer->start();
}

void ImportWindowDelegate::showProgress() {
  if (m_lblInfo->isHidden()) return;
  const int index = m_progress.value(QStringLiteral("pageIndex")).toInt();
  const int total = m_progress.value(QStringLiteral("totalPage")).toInt();
  const bool converting =
      m_progress.value(QStringLiteral("type")).toString() == ImportPDFOperation::kConvertProgressType;
  m_lblInfo->setText(
      (converting ? tr("Converting page %L1 of %L2") : tr("Importing page %L1 of %L2")).arg(index).arg(total));
  if (total > 0 && m_isImporting) {
    m_prgBar->setRange(0, total);
    m_prgBar->setValue(std::clamp(index, 0, total));
  }
}

void ImportWindowDelegate::onCancelAction() {
  qCInfo(lcSystem).noquote() << "cancel import pdf!!," + windowTitle();
  enableButtons(true);
  if (iQueue->operationCount() > 0) {
    iQueue->cancelAllOperations();
    return;
  }
  done(0);
}

void ImportWindowDelegate::reject() { onCancelAction(); }

void ImportWindowDelegate::closeEvent(QCloseEvent* event) {
  // The window's close button: the user wants the sheet gone, import or not.
  event->accept();
  done(0);
}

void ImportWindowDelegate::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!m_isImporting) m_txtFilePath->setFocus(Qt::OtherFocusReason);
}

void ImportWindowDelegate::done(int result) {
  if (result != 1 && m_isImporting) abandonImport();
  QDialog::done(result);
}

void ImportWindowDelegate::abandonImport() {
  qCInfo(lcImport) << "the import sheet was closed; the import is cancelled and its result dropped";
  iQueue->cancelAllOperations();
  m_importPDF.reset();  // its end report is no longer ours (see operationFinished)
  m_isImporting = false;
  enableButtons(true);
}
