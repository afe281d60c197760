#include "app/AppDelegate.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/AboutWindow.h"
#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "base/PlatformPaths.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "import/gui/ImportWindowDelegate.h"
#include "publish/gui/OutputWindowDelegate.h"
#include "templates/FlashTemplate.h"
#include "templates/gui/FlashTemplateOutlineDelegate.h"
#include "templates/FlashTemplateProperty.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/gui/SelectTemplateWindowDelegate.h"

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) { buildWindow(); }

AppDelegate::~AppDelegate() {
  NotificationCenter::defaultCenter().removeObserver(this);
  applicationWillTerminate();
}

QIcon AppDelegate::namedImage(const QString& name) {
  static QHash<QString, QIcon> cache;
  auto it = cache.find(name);
  if (it == cache.end())
    it = cache.insert(name, QIcon(PlatformPaths::current().resource(QStringLiteral("Images/%1.png").arg(name))));
  return *it;
}

void AppDelegate::buildWindow() {
  m_window = std::make_unique<QMainWindow>();
  QMainWindow* w = m_window.get();
  w->setWindowTitle(BookSession::APP_NAME);
  w->setWindowIcon(namedImage(QStringLiteral("folivox")));

  // Left: the property editor over the description of the selected property.
  m_outlineView = new QTreeView;
  m_outlineView->setIndentation(8);
  m_outlineView->setUniformRowHeights(true);
  m_toolTipBox = new QGroupBox(tr("Description"));
  m_toolTip = new QPlainTextEdit(m_toolTipBox);
  m_toolTip->setReadOnly(true);
  m_toolTip->setPlaceholderText(tr("Select a property to read what it does."));
  auto* tipLayout = new QVBoxLayout(m_toolTipBox);
  tipLayout->setContentsMargins(6, 6, 6, 6);
  tipLayout->addWidget(m_toolTip);
  auto* left = new QSplitter(Qt::Vertical);
  left->addWidget(m_outlineView);
  left->addWidget(m_toolTipBox);
  left->setStretchFactor(0, 4);
  left->setStretchFactor(1, 1);
  left->setChildrenCollapsible(false);

  // Right: the preview book.
  m_webView = new QWebEngineView;
  m_webView->setContextMenuPolicy(Qt::NoContextMenu);
  connect(m_webView, &QWebEngineView::loadFinished, this, &AppDelegate::previewLoaded);

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(left);
  splitter->addWidget(m_webView);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({380, 900});
  w->setCentralWidget(splitter);

  // Commands.
  auto action = [this, w](const QString& text, const QString& image, const QKeySequence& key, auto slot) {
    auto* a = new QAction(namedImage(image), text, w);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QAction* importAct =
      action(tr("Import"), QStringLiteral("import"), QKeySequence(tr("Ctrl+I")), &AppDelegate::OnImportPDF);
  importAct->setToolTip(tr("Import a PDF, text or RTF document"));
  QAction* templateAct =
      action(tr("Template…"), QStringLiteral("template"), QKeySequence(tr("Ctrl+T")), &AppDelegate::onSelectTemplate);
  m_toolBarItemApplyChange =
      action(tr("Apply change"), QStringLiteral("apply"), QKeySequence(tr("Ctrl+R")), &AppDelegate::OnApplyChange);
  m_toolBarItemApplyChange->setToolTip(tr("Rebuild the preview with the changed properties"));
  QAction* publishAct =
      action(tr("Publish"), QStringLiteral("publish"), QKeySequence(tr("Ctrl+P")), &AppDelegate::OnExportFlipBook);
  publishAct->setToolTip(tr("Publish the book into a folder or as an application"));
  QAction* exportAct = action(tr("Export settings"), QStringLiteral("export-settings"), QKeySequence(),
                              &AppDelegate::OnExportTmplSettings);
  QAction* importSetAct = action(tr("Import settings"), QStringLiteral("import-settings"), QKeySequence(),
                                 &AppDelegate::OnImportTmplSettings);
  QAction* helpAct =
      action(tr("Help"), QStringLiteral("help"), QKeySequence(QKeySequence::HelpContents), &AppDelegate::OnOpenHelp);
  helpAct->setToolTip(tr("Open the Folivox manual"));
  QAction* aboutAct = action(tr("About"), QStringLiteral("about"), QKeySequence(), &AppDelegate::onOpenAbout);
  setApplyChangeImage(QStringLiteral("apply"));

  m_btnFloat = new QToolButton;
  m_btnFloat->setIcon(namedImage(QStringLiteral("template")));
  m_btnFloat->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  m_btnFloat->setToolTip(tr("Choose a template and a style"));
  connect(m_btnFloat, &QToolButton::clicked, this, &AppDelegate::onSelectTemplate);

  QToolBar* bar = w->addToolBar(tr("Commands"));
  bar->setObjectName(QStringLiteral("commands"));
  bar->setMovable(false);
  bar->setIconSize(QSize(32, 32));
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  bar->addAction(importAct);
  bar->addWidget(m_btnFloat);
  bar->addAction(m_toolBarItemApplyChange);
  bar->addAction(publishAct);
  bar->addSeparator();
  bar->addAction(exportAct);
  bar->addAction(importSetAct);
  auto* spacer = new QWidget;
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  bar->addWidget(spacer);
  bar->addAction(helpAct);
  bar->addAction(aboutAct);

  QMenu* file = w->menuBar()->addMenu(tr("&File"));
  file->addAction(importAct);
  file->addAction(publishAct);
  file->addSeparator();
  file->addAction(exportAct);
  file->addAction(importSetAct);
  file->addSeparator();
  QAction* quit = file->addAction(tr("Quit"), QKeySequence::Quit, w, &QMainWindow::close);
  quit->setMenuRole(QAction::QuitRole);
  QMenu* book = w->menuBar()->addMenu(tr("&Book"));
  book->addAction(templateAct);
  book->addAction(m_toolBarItemApplyChange);
  QMenu* help = w->menuBar()->addMenu(tr("&Help"));
  help->addAction(helpAct);
  help->addAction(aboutAct);

  // The editor and the sheets, made once and reused.
  m_tmplDelegate = new FlashTemplateOutlineDelegate(this);
  m_tmplDelegate->attachTo(m_outlineView);
  m_importWindow = new ImportWindowDelegate(w);
  m_ouputWindow = new OutputWindowDelegate(w);
  m_selecteTmplWindow = new SelectTemplateWindowDelegate(w);
  connect(m_importWindow, &QDialog::finished, this, &AppDelegate::importWindowDidEnd);
  connect(m_selecteTmplWindow, &QDialog::finished, this, &AppDelegate::selectTmplWindowDidEnd);
}

void AppDelegate::applicationDidFinishLaunching() {
  if (m_launched) return;
  m_launched = true;
  QMainWindow* w = m_window.get();
  // The whole screen, as far as panels leave it free.
  if (QScreen* screen = QGuiApplication::primaryScreen()) w->setGeometry(screen->availableGeometry());
  w->show();
  w->raise();
  w->activateWindow();

  m_session.start();
  m_tmplDelegate->setFlashTmpl(m_session.flashTmpl());
  m_tmplDelegate->reloadData();
  m_tmplDelegate->expandAll();
  m_outlineView->setIndentation(8);
  m_outlineView->header()->resizeSection(FlashTemplatePropertyModel::KeyColumn, 170);
  showTemplateName();

  NotificationCenter& center = NotificationCenter::defaultCenter();
  center.addObserver(this, UpdateFlashTmplProTipNotification, [this](const Notification&) { updateTmplPropertyTip(); });
  center.addObserver(this, FlashTmplProValueChangedNotification,
                     [this](const Notification&) { tmplPpertyValueChanged(); });

  m_toolTip->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  applyChange();
}

void AppDelegate::applicationWillTerminate() {
  if (m_terminated || !m_launched) return;
  m_terminated = true;
  delete m_iApplyChangeTimer;
  m_iApplyChangeTimer = nullptr;
  m_tmplDelegate->setFlashTmpl(nullptr);
  m_session.setFlashTmpl(nullptr);
  m_session.setFlashPageSource(nullptr);
  m_session.setFlashPagesAnnotations(nullptr);
  m_session.setFlashOutline(nullptr);
  m_session.removeFlashPreviewFolder();
}

// ------------------------------------------------------------------ preview

void AppDelegate::setApplyChangeImage(const QString& name) {
  m_applyChangeImageName = name;
  m_toolBarItemApplyChange->setIcon(namedImage(name));
}

void AppDelegate::tmplPpertyValueChanged() {
  if (m_iApplyChangeTimer != nullptr) return;  // already blinking
  m_iApplyChangeTimer = new QTimer(this);
  m_iApplyChangeTimer->setInterval(kBlinkIntervalMs);
  connect(m_iApplyChangeTimer, &QTimer::timeout, this, &AppDelegate::onTimerEvent);
  m_iApplyChangeTimer->start();
}

void AppDelegate::onTimerEvent() {
  m_applyChangeTag = (m_applyChangeTag + 1) % kBlinkFrames;
  setApplyChangeImage(QStringLiteral("apply%1").arg(m_applyChangeTag + 1));
}

void AppDelegate::applyChange() {
  delete m_iApplyChangeTimer;
  m_iApplyChangeTimer = nullptr;
  setApplyChangeImage(QStringLiteral("apply"));  // the frame tag carries on next time

  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_lastPreview = m_session.buildPreview();
  QApplication::restoreOverrideCursor();
  if (m_lastPreview.error.isEmpty() && !m_lastPreview.outputFileName.isEmpty()) {
    const QUrl url = QUrl::fromLocalFile(m_lastPreview.outputFileName);
    // The same page again: reload past the cache, or the old pictures would
    // show under the new file names' old addresses.
    if (m_webView->url().adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery) == url)
      m_webView->page()->triggerAction(QWebEnginePage::ReloadAndBypassCache);
    else
      m_webView->load(url);
  }
  Q_EMIT previewBuilt(m_lastPreview.outputFileName);
}

void AppDelegate::updateTmplPropertyTip() {
  const FlashTemplateProperty* p = m_tmplDelegate->selectedProperty();
  if (p == nullptr) return;
  m_toolTipBox->setTitle(p->title());
  m_toolTip->setPlainText(p->desc());
}

// ----------------------------------------------------------------- commands

void AppDelegate::OnImportPDF() { m_importWindow->open(); }

void AppDelegate::importWindowDidEnd(int returnCode) {
  if (returnCode != 1) return;
  ImportWindowDelegate* d = m_importWindow;
  m_session.adoptImport(d->flashPageSource(), d->flashPagesAnnotations(), d->flashOutline(), d->pageWidth(),
                        d->pageHeight());
  m_tmplDelegate->reloadData();
  m_tmplDelegate->expandAll();
  applyChange();
}

void AppDelegate::OnExportFlipBook() {
  OutputWindowDelegate* d = m_ouputWindow;
  d->setFlashTmpl(m_session.flashTmpl());
  d->setFlashPageSource(m_session.flashPageSource());
  d->setFlashOutline(m_session.flashOutline());
  d->setFlashPagesAnnotations(m_session.flashPagesAnnotations());
  d->open();
}

QString AppDelegate::exportTmplSettingsTo(const QString& path) { return m_session.exportTmplSettings(path); }

void AppDelegate::OnExportTmplSettings() {
  if (!m_session.flashTmpl()) return;
  const QString path =
      QFileDialog::getSaveFileName(m_window.get(), tr("Export settings"), QString(), tr("Settings files (*.txt)"));
  if (path.isEmpty()) return;
  if (exportTmplSettingsTo(path).isEmpty())
    QMessageBox::warning(m_window.get(), tr("Export settings"),
                         tr("The settings could not be written to %1.").arg(path));
}

void AppDelegate::importTmplSettingsFrom(const QString& path) {
  m_session.importTmplSettings(path);
  m_tmplDelegate->reloadData();
  m_tmplDelegate->expandAll();
  applyChange();
}

void AppDelegate::OnImportTmplSettings() {
  if (!m_session.flashTmpl()) return;
  const QString path =
      QFileDialog::getOpenFileName(m_window.get(), tr("Import settings"), QString(), tr("Settings files (*.txt)"));
  importTmplSettingsFrom(path);  // also after a cancel: the preview is rebuilt all the same
}

void AppDelegate::onSelectTemplate() {
  if (m_session.flashTmpl()) m_selecteTmplWindow->prepairToTmpl(m_session.flashTmpl()->tmplName());
  m_selecteTmplWindow->open();
}

void AppDelegate::selectTmplWindowDidEnd(int returnCode) {
  if (returnCode != 1) return;
  const std::optional<QString> shot = m_selecteTmplWindow->selectedStyle();
  if (!shot) return;
  if (!m_session.changeToChosenStyle(*shot)) return;
  m_tmplDelegate->reloadData();
  m_tmplDelegate->expandAll();
  showTemplateName();
  applyChange();
}

void AppDelegate::showTemplateName() {
  const QString name = m_session.flashTmpl() ? m_session.flashTmpl()->tmplName() : QString();
  m_btnFloat->setText(BookSession::capitalizedName(name));
}

void AppDelegate::OnApplyChange() { applyChange(); }

void AppDelegate::OnOpenHelp() {
  const QString manual = BookSession::manualPath();
  if (!QFileInfo::exists(manual)) {
    qCWarning(lcApp).noquote() << "the manual is missing:" << manual;
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(manual));
}

void AppDelegate::onOpenAbout() {
  AboutWindow about(m_window.get());
  about.exec();
}
