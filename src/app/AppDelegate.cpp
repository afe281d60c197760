#include "app/AppDelegate.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/AboutWindow.h"
#include "app/WindowPlacement.h"
#include "base/LastFolders.h"
#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "base/PlatformPaths.h"
#include "base/RecentDocuments.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "import/gui/ImportWindowDelegate.h"
#include "publish/gui/OutputWindowDelegate.h"
#include "session/BookBuilder.h"
#include "templates/FlashTemplate.h"
#include "templates/FlashTemplateProperty.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/gui/FlashTemplateOutlineDelegate.h"
#include "templates/gui/SelectTemplateWindowDelegate.h"

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) { buildWindow(); }

AppDelegate::~AppDelegate() {
  NotificationCenter::defaultCenter().removeObserver(this);
  applicationWillTerminate();
  delete m_helpView;
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
  // Tab goes on to the preview (a text box keeps Tab for itself); a caret
  // shows where the focus is.
  m_toolTip->setTabChangesFocus(true);
  m_toolTip->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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

  // Commands. Items that open a dialog end in "..."; the toolbar shows them without.
  auto action = [this, w](const QString& text, const QString& image, const QList<QKeySequence>& keys, auto slot) {
    auto* a = new QAction(image.isEmpty() ? QIcon() : namedImage(image), text, w);
    a->setShortcuts(keys);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QAction* importAct = action(tr("&Import..."), QStringLiteral("import"),
                              {QKeySequence(tr("Ctrl+I")), QKeySequence::Open}, &AppDelegate::OnImportPDF);
  importAct->setIconText(tr("Import"));
  importAct->setToolTip(tr("Import a PDF, text or RTF document"));
  QAction* templateAct = action(tr("&Template..."), QStringLiteral("template"), {QKeySequence(tr("Ctrl+T"))},
                                &AppDelegate::onSelectTemplate);
  m_toolBarItemApplyChange =
      action(tr("&Apply Change"), QStringLiteral("apply"), {QKeySequence(tr("Ctrl+R"))}, &AppDelegate::OnApplyChange);
  m_toolBarItemApplyChange->setIconText(tr("Apply change"));
  m_toolBarItemApplyChange->setToolTip(tr("Rebuild the preview with the changed properties"));
  QAction* publishAct = action(tr("&Publish..."), QStringLiteral("publish"), {QKeySequence(tr("Ctrl+P"))},
                               &AppDelegate::OnExportFlipBook);
  publishAct->setIconText(tr("Publish"));
  publishAct->setToolTip(tr("Publish the book into a folder or as an application"));
  QAction* epubAct =
      action(tr("Publish as &EPUB..."), QString(), {QKeySequence(tr("Ctrl+Shift+P"))}, &AppDelegate::OnExportEpub);
  epubAct->setToolTip(tr("Publish the book as an EPUB file for e-book readers and stores"));
  QAction* exportAct =
      action(tr("&Export Settings..."), QStringLiteral("export-settings"), {}, &AppDelegate::OnExportTmplSettings);
  exportAct->setIconText(tr("Export settings"));
  QAction* importSetAct =
      action(tr("Import &Settings..."), QStringLiteral("import-settings"), {}, &AppDelegate::OnImportTmplSettings);
  importSetAct->setIconText(tr("Import settings"));
  QAction* helpAct = action(tr("Folivox &Manual"), QStringLiteral("help"), {QKeySequence(QKeySequence::HelpContents)},
                            &AppDelegate::OnOpenHelp);
  helpAct->setIconText(tr("Help"));
  helpAct->setToolTip(tr("Open the Folivox manual"));
  QAction* aboutAct = action(tr("&About Folivox..."), QStringLiteral("about"), {}, &AppDelegate::onOpenAbout);
  aboutAct->setIconText(tr("About"));
  m_undoAct = action(tr("&Undo"), QString(), {QKeySequence::Undo}, &AppDelegate::onUndo);
  m_redoAct = action(tr("&Redo"), QString(), {QKeySequence(tr("Ctrl+Shift+Z")), QKeySequence(tr("Ctrl+Y"))},
                     &AppDelegate::onRedo);
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
  m_recentMenu = file->addMenu(tr("Open &Recent"));
  connect(m_recentMenu, &QMenu::aboutToShow, this, &AppDelegate::fillRecentMenu);
  fillRecentMenu();
  file->addSeparator();
  file->addAction(publishAct);
  file->addAction(epubAct);
  file->addSeparator();
  file->addAction(exportAct);
  file->addAction(importSetAct);
  file->addSeparator();
  QAction* quit = file->addAction(tr("&Quit"), w, &QMainWindow::close);
  // Some themes bind nothing to the standard Quit key.
  QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
  if (!quitKeys.contains(QKeySequence(tr("Ctrl+Q")))) quitKeys << QKeySequence(tr("Ctrl+Q"));
  quit->setShortcuts(quitKeys);
  quit->setMenuRole(QAction::QuitRole);
  m_quitAct = quit;
  QMenu* edit = w->menuBar()->addMenu(tr("&Edit"));
  edit->addAction(m_undoAct);
  edit->addAction(m_redoAct);
  QMenu* book = w->menuBar()->addMenu(tr("&Book"));
  book->addAction(templateAct);
  book->addAction(m_toolBarItemApplyChange);
  QMenu* help = w->menuBar()->addMenu(tr("&Help"));
  help->addAction(helpAct);
  help->addAction(aboutAct);

  // The preview's progress, while a build runs.
  m_previewStatus = new QLabel;
  m_previewProgress = new QProgressBar;
  m_previewProgress->setMaximumWidth(220);
  m_previewProgress->setFormat(QStringLiteral("%v/%m"));
  w->statusBar()->addPermanentWidget(m_previewStatus);
  w->statusBar()->addPermanentWidget(m_previewProgress);
  m_previewStatus->hide();
  m_previewProgress->hide();
  m_previewBuilder = new BookBuilder(this);
  connect(m_previewBuilder, &BookBuilder::progress, this, [this](quint64, qsizetype done, qsizetype total) {
    m_previewProgress->setRange(0, static_cast<int>(total));
    m_previewProgress->setValue(static_cast<int>(done));
  });
  connect(m_previewBuilder, &BookBuilder::finished, this,
          [this](quint64, const PublishResult& result) { previewFinished(result); });

  // Documents dropped anywhere on the window open the import sheet; the web
  // view would otherwise show a dropped PDF in place of the preview.
  w->setAcceptDrops(true);
  m_webView->setAcceptDrops(false);
  w->installEventFilter(this);

  // The editor and the sheets, made once and reused.
  m_tmplDelegate = new FlashTemplateOutlineDelegate(this);
  m_tmplDelegate->attachTo(m_outlineView);
  m_importWindow = new ImportWindowDelegate(w);
  m_ouputWindow = new OutputWindowDelegate(w);
  m_selecteTmplWindow = new SelectTemplateWindowDelegate(w);
  connect(m_importWindow, &QDialog::finished, this, &AppDelegate::importWindowDidEnd);
  m_importWindow->setDocumentViewer([this](const QString& path) {
    if (!showsDocumentsItself(path)) return false;
    showDocumentInOwnView(path, QFileInfo(path).fileName());
    return true;
  });
  connect(m_selecteTmplWindow, &QDialog::finished, this, &AppDelegate::selectTmplWindowDidEnd);
  connect(m_ouputWindow, &OutputWindowDelegate::publishEnded, this, [this](const PublishResult& result) {
    if (result.succeeded()) m_session.markPublished();
    updateWindowState();
  });
  updateWindowState();
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_window.get()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      const QList<QUrl> urls = drag->mimeData()->urls();
      if (urls.size() == 1 && urls.first().isLocalFile() && isImportable(urls.first().toLocalFile())) {
        drag->acceptProposedAction();
        return true;
      }
      drag->ignore();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QList<QUrl> urls = drop->mimeData()->urls();
      if (urls.size() == 1 && urls.first().isLocalFile() && openDocument(urls.first().toLocalFile()))
        drop->acceptProposedAction();
      else
        drop->ignore();
      return true;
    }
    case QEvent::Close:
      if (!maySafelyClose()) {
        event->ignore();
        return true;
      }
      return false;
    default:
      return QObject::eventFilter(watched, event);
  }
}

bool AppDelegate::maySafelyClose() {
  if (m_terminated || !m_launched || !m_session.hasUnsavedChanges()) return true;
  if (m_quitQuestion) return m_quitQuestion(m_window.get());
  QMessageBox box(m_window.get());
  box.setIcon(QMessageBox::Warning);
  box.setWindowTitle(tr("Quit Folivox"));
  box.setText(tr("The book has changes that were neither published nor exported."));
  box.setInformativeText(tr("If you quit now, they are lost."));
  QPushButton* quit = box.addButton(tr("&Quit Without Publishing"), QMessageBox::DestructiveRole);
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Cancel);
  box.exec();
  return box.clickedButton() == quit;
}

bool AppDelegate::isImportable(const QString& path) {
  static const QStringList kinds = {QStringLiteral("pdf"),  QStringLiteral("txt"), QStringLiteral("rtf"),
                                    QStringLiteral("docx"), QStringLiteral("doc"), QStringLiteral("odt")};
  const QFileInfo info(path);
  return info.isFile() && kinds.contains(info.suffix().toLower());
}

bool AppDelegate::openDocument(const QString& path) {
  if (path.isEmpty() || m_importWindow->isImporting()) return false;
  // A sheet of another command is up: the user finishes that first.
  if (m_ouputWindow->isVisible() || m_selecteTmplWindow->isVisible()) return false;
  if (!m_importWindow->setDocument(QFileInfo(path).absoluteFilePath())) return false;
  if (!m_importWindow->isVisible()) m_importWindow->open();
  m_importWindow->raise();
  return true;
}

void AppDelegate::fillRecentMenu() {
  m_recentMenu->clear();
  const QStringList recent = RecentDocuments::list();
  for (qsizetype i = 0; i < recent.size(); ++i) {
    const QString path = recent.at(i);
    const QString label =
        QStringLiteral("&%1 %2").arg(i < 9 ? QString::number(i + 1) : QStringLiteral("0"),
                                     QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&")));
    QAction* a = m_recentMenu->addAction(label, this, [this, path]() { openDocument(path); });
    a->setToolTip(path);
    a->setStatusTip(path);
  }
  m_recentMenu->addSeparator();
  QAction* clear = m_recentMenu->addAction(tr("&Clear Menu"), this, [this]() {
    RecentDocuments::clear();
    fillRecentMenu();
  });
  clear->setEnabled(!recent.isEmpty());
}

void AppDelegate::updateWindowState() {
  QMainWindow* w = m_window.get();
  w->setWindowTitle(QStringLiteral("%1[*] \u2014 %2").arg(m_session.documentTitle(), BookSession::APP_NAME));
  w->setWindowModified(m_session.hasUnsavedChanges());
  const TemplateEditHistory& h = m_session.history();
  m_undoAct->setEnabled(h.canUndo());
  m_redoAct->setEnabled(h.canRedo());
  m_undoAct->setText(h.canUndo() ? tr("&Undo %1").arg(h.undoLabel()) : tr("&Undo"));
  m_redoAct->setText(h.canRedo() ? tr("&Redo %1").arg(h.redoLabel()) : tr("&Redo"));
}

void AppDelegate::applicationDidFinishLaunching() {
  if (m_launched) return;
  m_launched = true;
  QMainWindow* w = m_window.get();
  WindowPlacement::restore(w, QStringLiteral("main"), QSize(1400, 900));
  w->show();
  w->raise();
  w->activateWindow();

  m_session.start(BookSession::Sweep::OnAWorker);
  m_tmplDelegate->setFlashTmpl(m_session.flashTmpl());
  m_tmplDelegate->reloadData();
  m_tmplDelegate->expandAll();
  m_outlineView->setIndentation(8);
  m_outlineView->header()->resizeSection(FlashTemplatePropertyModel::KeyColumn, 170);
  showTemplateName();

  NotificationCenter& center = NotificationCenter::defaultCenter();
  center.addObserver(this, UpdateFlashTmplProTipNotification, [this](const Notification&) { updateTmplPropertyTip(); });
  center.addObserver(this, FlashTmplProValueChangedNotification, [this](const Notification& note) {
    // The object is the edited property; it lives in the template's tree.
    const auto* p = static_cast<const FlashTemplateProperty*>(note.object);
    tmplPpertyValueChanged(p != nullptr ? p->title() : QString());
  });

  m_toolTip->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  updateWindowState();
  applyChange();
}

void AppDelegate::applicationWillTerminate() {
  if (m_terminated || !m_launched) return;
  m_terminated = true;
  WindowPlacement::save(m_window.get(), QStringLiteral("main"));
  if (m_helpView != nullptr) WindowPlacement::save(m_helpView, QStringLiteral("manual"));
  // A build under way writes into the preview folder: stop it before the folder goes.
  m_previewBuilder->cancelAndWait();
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

void AppDelegate::tmplPpertyValueChanged(const QString& label) {
  m_session.recordTemplateEdit(label.isEmpty() ? tr("Edit") : label);
  updateWindowState();
  startBlinking();
}

void AppDelegate::startBlinking() {
  if (m_iApplyChangeTimer == nullptr) {
    m_iApplyChangeTimer = new QTimer(this);
    m_iApplyChangeTimer->setInterval(kBlinkIntervalMs);
    connect(m_iApplyChangeTimer, &QTimer::timeout, this, &AppDelegate::onTimerEvent);
  }
  if (m_iApplyChangeTimer->isActive()) return;  // already blinking
  m_blinksLeft = kBlinks;
  m_iApplyChangeTimer->start();
}

void AppDelegate::onTimerEvent() {
  m_applyChangeTag = (m_applyChangeTag + 1) % kBlinkFrames;
  // A few blinks catch the eye; after them the button stays marked, which
  // costs nothing while the user goes on editing.
  if (--m_blinksLeft <= 0) {
    m_iApplyChangeTimer->stop();
    setApplyChangeImage(QStringLiteral("apply%1").arg(kMarkedFrame));
    return;
  }
  setApplyChangeImage(QStringLiteral("apply%1").arg(m_applyChangeTag + 1));
}

bool AppDelegate::isBuildingPreview() const { return m_previewBuilder->isBuilding(); }

void AppDelegate::applyChange() {
  delete m_iApplyChangeTimer;
  m_iApplyChangeTimer = nullptr;
  setApplyChangeImage(QStringLiteral("apply"));  // the frame tag carries on next time
  if (m_terminated) return;

  // The worker builds from a copy taken now; edits made meanwhile wait for the next build.
  m_previewBuilder->request(m_session.previewBuild());
  m_previewStatus->setText(tr("Building the preview..."));
  m_previewStatus->show();
  m_previewProgress->setRange(0, 0);
  m_previewProgress->show();
}

void AppDelegate::previewFinished(const PublishResult& result) {
  m_previewStatus->hide();
  m_previewProgress->hide();
  m_lastPreview = result;
  if (result.cancelled) return;
  // A failed rebuild leaves the old preview on screen: say so until one
  // succeeds (and leave other notices alone meanwhile).
  const QString problem = BookSession::previewProblem(result);
  if (!problem.isEmpty() || m_showingPreviewProblem) m_window->statusBar()->showMessage(problem);
  m_showingPreviewProblem = !problem.isEmpty();
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
                        d->pageHeight(), d->importedDocument());
  m_tmplDelegate->reloadData();
  m_tmplDelegate->expandAll();
  updateWindowState();
  applyChange();
  showImportNotice(d->importWarnings());
}

void AppDelegate::showImportNotice(const QStringList& warnings) {
  m_importNotice.clear();
  if (warnings.isEmpty()) return;
  constexpr qsizetype kShown = 8;  // the log has them all
  QStringList lines = warnings.mid(0, kShown);
  if (warnings.size() > kShown) lines << tr("... and %1 more.").arg(warnings.size() - kShown);
  m_importNotice = lines.join(QLatin1Char('\n'));
  auto* box = new QMessageBox(QMessageBox::Warning, tr("Import"), tr("The document was imported, with warnings."),
                              QMessageBox::Ok, m_window.get());
  box->setObjectName(QStringLiteral("importNotice"));
  box->setInformativeText(m_importNotice);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
}

void AppDelegate::OnExportEpub() {
  m_ouputWindow->setOutputType(PublishOptions::kEpubOutput);
  OnExportFlipBook();
}

void AppDelegate::OnExportFlipBook() {
  OutputWindowDelegate* d = m_ouputWindow;
  d->setFlashTmpl(m_session.flashTmpl());
  d->setFlashPageSource(m_session.flashPageSource());
  d->setFlashOutline(m_session.flashOutline());
  d->setFlashPagesAnnotations(m_session.flashPagesAnnotations());
  d->setDocumentPath(m_session.documentPath());
  // What an empty title stands for.
  PublishOptions blank;
  blank.document = m_session.documentPath();
  d->txtTitle()->setPlaceholderText(blank.pageTitle(m_session.flashPageSource().get(), m_session.flashTmpl().get()));
  d->open();
}

ExportResult AppDelegate::exportTmplSettingsTo(const QString& path) {
  const ExportResult result = m_session.exportTmplSettings(path);
  updateWindowState();
  return result;
}

void AppDelegate::OnExportTmplSettings() {
  if (!m_session.flashTmpl()) return;
  const QString path =
      QFileDialog::getSaveFileName(m_window.get(), tr("Export Settings"),
                                   LastFolders::startFolder(LastFolders::Settings), tr("Settings files (*.txt)"));
  if (path.isEmpty()) return;
  LastFolders::remember(LastFolders::Settings, path);
  const ExportResult result = exportTmplSettingsTo(path);
  if (!result.succeeded())
    QMessageBox::warning(m_window.get(), tr("Export Settings"),
                         tr("The settings could not be written to %1: %2").arg(result.path, result.error));
  else if (!result.files.problems.isEmpty())
    QMessageBox::warning(m_window.get(), tr("Export Settings"),
                         tr("The settings were written to %1, but these files could not be put beside them, so "
                            "importing the settings again will leave them out:\n%2")
                             .arg(result.path, result.files.problems.join(QLatin1Char('\n'))));
}

SettingsFileResult AppDelegate::importTmplSettingsFrom(const QString& path) {
  const SettingsFileResult result = m_session.importTmplSettings(path);
  m_tmplDelegate->reloadData();
  m_tmplDelegate->expandAll();
  updateWindowState();
  applyChange();
  return result;
}

void AppDelegate::OnImportTmplSettings() {
  if (!m_session.flashTmpl()) return;
  const QString path =
      QFileDialog::getOpenFileName(m_window.get(), tr("Import Settings"),
                                   LastFolders::startFolder(LastFolders::Settings), tr("Settings files (*.txt)"));
  if (!path.isEmpty()) LastFolders::remember(LastFolders::Settings, path);
  // Also after a cancel: the preview is rebuilt all the same.
  const SettingsFileResult result = importTmplSettingsFrom(path);
  if (path.isEmpty()) return;
  if (!result.ok() || !result.refused.isEmpty())
    QMessageBox::warning(
        m_window.get(), tr("Import Settings"),
        result.ok() ? tr("These files were not taken:\n%1").arg(result.refused.join(QLatin1Char('\n'))) : result.error);
}

void AppDelegate::onSelectTemplate() {
  if (const auto& t = m_session.flashTmpl())
    m_selecteTmplWindow->prepairToTmpl(t->tmplName(), t->styleName().value_or(QString()));
  m_selecteTmplWindow->open();
}

void AppDelegate::selectTmplWindowDidEnd(int returnCode) {
  if (returnCode != 1) return;
  const std::optional<QString> shot = m_selecteTmplWindow->selectedStyle();
  TemplateChange change;
  if (shot) {
    if (!m_session.changeToChosenStyle(*shot, &change)) return;
  } else {
    // A template without a picked style: its default style.
    if (!m_session.changeToTemplate(m_selecteTmplWindow->selectedTemplateName(), &change)) return;
  }
  reloadEditor(true);
  applyChange();
  // What the user set stays, unless the style sets it too: say what went.
  QStringList notes;
  const QString style = m_session.flashTmpl()->styleName().value_or(QString());
  if (!change.replaced.isEmpty())
    notes << tr("The style %1 set its own %2.").arg(style, change.replaced.join(tr(", ")));
  if (!change.dropped.isEmpty())
    notes << tr("%1 has no %2; your values for them were left out.")
                 .arg(FlashTemplate::displayName(m_session.flashTmpl()->tmplName()), change.dropped.join(tr(", ")));
  m_templateNotice = notes.join(QLatin1Char(' '));
  if (!m_templateNotice.isEmpty()) m_window->statusBar()->showMessage(m_templateNotice, kNoticeMs);
}

void AppDelegate::reloadEditor(bool treeReplaced) {
  if (treeReplaced) {
    m_tmplDelegate->reloadData();
    m_tmplDelegate->expandAll();
  } else {
    m_tmplDelegate->model()->refreshValues();
  }
  showTemplateName();
  updateWindowState();
}

void AppDelegate::onUndo() {
  const QString before = m_session.flashTmpl() ? m_session.flashTmpl()->tmplName() : QString();
  if (!m_session.undo()) return;
  reloadEditor(m_session.flashTmpl()->tmplName() != before);
  startBlinking();
}

void AppDelegate::onRedo() {
  const QString before = m_session.flashTmpl() ? m_session.flashTmpl()->tmplName() : QString();
  if (!m_session.redo()) return;
  reloadEditor(m_session.flashTmpl()->tmplName() != before);
  startBlinking();
}

void AppDelegate::showTemplateName() {
  const QString name = m_session.flashTmpl() ? m_session.flashTmpl()->tmplName() : QString();
  m_btnFloat->setText(FlashTemplate::displayName(name));
}

void AppDelegate::OnApplyChange() { applyChange(); }

void AppDelegate::OnOpenHelp() {
  const QString manual = BookSession::manualPath();
  if (!QFileInfo::exists(manual)) {
    qCWarning(lcApp).noquote() << "the manual is missing:" << manual;
    QMessageBox::warning(m_window.get(), tr("Folivox Manual"), tr("The manual is missing: %1").arg(manual));
    return;
  }
  // Always here: the desktop's default for PDFs may be this very program,
  // which would open the manual in a second Folivox's import sheet.
  showDocumentInOwnView(manual, tr("Folivox Manual"));
}

bool AppDelegate::showsDocumentsItself(const QString& path) {
  const QString kind = QFileInfo(path).suffix().toLower();
  return kind == QLatin1String("pdf") || kind == QLatin1String("txt");
}

void AppDelegate::showDocumentInOwnView(const QString& path, const QString& title) {
  if (m_helpView == nullptr) {
    m_helpView = new QWebEngineView;
    m_helpView->setAttribute(Qt::WA_QuitOnClose, false);  // the main window's close still quits
    m_helpView->setWindowIcon(namedImage(QStringLiteral("folivox")));
    m_helpView->settings()->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    m_helpView->settings()->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
    WindowPlacement::restore(m_helpView, QStringLiteral("manual"), QSize(960, 1000));
  }
  m_helpView->setWindowTitle(title);
  m_helpView->load(QUrl::fromLocalFile(path));
  m_helpView->show();
  m_helpView->raise();
  m_helpView->activateWindow();
}

void AppDelegate::onOpenAbout() {
  AboutWindow about(m_window.get());
  about.exec();
}
