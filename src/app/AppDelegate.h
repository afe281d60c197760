// The desktop program's controller: builds the main window (toolbar, menus,
// property editor with its description box, preview), starts and ends the
// session, runs the preview cycle and the window's commands. The preview is
// built on a worker thread from a snapshot of the book; a newer change
// supersedes a build under way.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "session/BookSession.h"

class FlashTemplateOutlineDelegate;
class ImportWindowDelegate;
class OutputWindowDelegate;
class SelectTemplateWindowDelegate;
class QAction;
class QGroupBox;
class QMainWindow;
class QPlainTextEdit;
class QTimer;
class QToolButton;
class QTreeView;
class QWebEngineView;

class BookBuilder;
class QLabel;
class QMenu;
class QProgressBar;

class AppDelegate : public QObject {
  Q_OBJECT
 public:
  static constexpr int kBlinkIntervalMs = 330;
  static constexpr int kBlinkFrames = 3;
  static constexpr int kBlinks = 9;        // frames shown before the button stays marked
  static constexpr int kMarkedFrame = 3;   // the frame it then shows
  static constexpr int kNoticeMs = 20000;  // how long a notice stays in the status bar

  explicit AppDelegate(QObject* parent = nullptr);
  ~AppDelegate() override;

  // Start-up: window to the screen, demonstration pages, template "float",
  // property editor, first preview (which makes the preview folder).
  void applicationDidFinishLaunching();
  // Shutdown: releases the book and deletes the preview folder. Runs once.
  void applicationWillTerminate();

  // ---- preview cycle ----
  // An edit was stored: one undo step (labelled with the property's title)
  // and the apply button blinks.
  void tmplPpertyValueChanged(const QString& label = QString());
  void onTimerEvent();
  void applyChange();
  void updateTmplPropertyTip();

  // ---- commands ----
  void OnImportPDF();
  void importWindowDidEnd(int returnCode);
  void OnExportFlipBook();
  // The publish sheet with the EPUB output chosen.
  void OnExportEpub();
  void OnExportTmplSettings();
  void OnImportTmplSettings();
  // What the two settings commands do once the file is chosen.
  ExportResult exportTmplSettingsTo(const QString& path);
  SettingsFileResult importTmplSettingsFrom(const QString& path);
  void onSelectTemplate();
  void selectTmplWindowDidEnd(int returnCode);
  void OnApplyChange();
  void OnOpenHelp();
  void onOpenAbout();
  void onUndo();
  void onRedo();
  // Opens the import sheet with `path` (command line, drop, Open Recent).
  // False, and nothing shown, while an import runs.
  bool openDocument(const QString& path);
  // Whether a file of this name can be imported (by its extension).
  static bool isImportable(const QString& path);

  // ---- questions the window asks, replaceable in tests ----
  // Asked before quitting with unsaved changes; true to quit.
  using QuitQuestion = std::function<bool(QWidget* parent)>;
  void setQuitQuestion(QuitQuestion q) { m_quitQuestion = std::move(q); }
  // Whether the window may close now (asks when there are unsaved changes).
  bool maySafelyClose();

  // ---- parts ----
  BookSession& session() { return m_session; }
  QMainWindow* window() const { return m_window.get(); }
  QWebEngineView* webView() const { return m_webView; }
  QTreeView* outlineView() const { return m_outlineView; }
  QToolButton* btnFloat() const { return m_btnFloat; }
  QPlainTextEdit* toolTip() const { return m_toolTip; }
  QGroupBox* toolTipBox() const { return m_toolTipBox; }
  QAction* toolBarItemApplyChange() const { return m_toolBarItemApplyChange; }
  QAction* undoAction() const { return m_undoAct; }
  QAction* redoAction() const { return m_redoAct; }
  QMenu* recentMenu() const { return m_recentMenu; }
  // The window that shows the manual and the documents the import sheet
  // opens (null before the first).
  QWebEngineView* helpView() const { return m_helpView; }
  QAction* quitAction() const { return m_quitAct; }
  // The text of the notice shown after the last import ("" when it had no warnings).
  const QString& importNotice() const { return m_importNotice; }
  // What the last change of template or style replaced or left out of the
  // user's values ("" when nothing); shown in the status bar.
  const QString& templateNotice() const { return m_templateNotice; }
  bool isBuildingPreview() const;
  QProgressBar* previewProgress() const { return m_previewProgress; }
  FlashTemplateOutlineDelegate* tmplDelegate() const { return m_tmplDelegate; }
  ImportWindowDelegate* importWindow() const { return m_importWindow; }
  OutputWindowDelegate* ouputWindow() const { return m_ouputWindow; }
  SelectTemplateWindowDelegate* selecteTmplWindow() const { return m_selecteTmplWindow; }
  // Exists while template changes wait for Apply (it blinks the button a
  // few times, then stops); null while the preview is up to date.
  QTimer* applyChangeTimer() const { return m_iApplyChangeTimer; }
  int applyChangeTag() const { return m_applyChangeTag; }
  const QString& applyChangeImageName() const { return m_applyChangeImageName; }
  const PublishResult& lastPreview() const { return m_lastPreview; }

  // A picture of the resource folder's Images/ by name ("apply", "import" ...).
  static QIcon namedImage(const QString& name);

 Q_SIGNALS:
  // After every rebuild of the preview book (loaded or not).
  void previewBuilt(const QString& htmlFile);
  // When the web view has finished loading the preview.
  void previewLoaded(bool ok);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildWindow();
  void previewFinished(const PublishResult& result);
  void startBlinking();
  void reloadEditor(bool treeReplaced);
  void updateWindowState();
  void fillRecentMenu();
  void showImportNotice(const QStringList& warnings);
  // PDF and text: shown in the program's own window (see OnOpenHelp).
  static bool showsDocumentsItself(const QString& path);
  void showDocumentInOwnView(const QString& path, const QString& title);
  void setApplyChangeImage(const QString& name);
  void showTemplateName();

  BookSession m_session;
  std::unique_ptr<QMainWindow> m_window;
  QWebEngineView* m_webView = nullptr;
  QTreeView* m_outlineView = nullptr;
  QToolButton* m_btnFloat = nullptr;
  QPlainTextEdit* m_toolTip = nullptr;
  QGroupBox* m_toolTipBox = nullptr;
  QAction* m_toolBarItemApplyChange = nullptr;
  FlashTemplateOutlineDelegate* m_tmplDelegate = nullptr;
  ImportWindowDelegate* m_importWindow = nullptr;
  OutputWindowDelegate* m_ouputWindow = nullptr;
  SelectTemplateWindowDelegate* m_selecteTmplWindow = nullptr;
  QAction* m_undoAct = nullptr;
  QAction* m_redoAct = nullptr;
  QAction* m_quitAct = nullptr;
  QMenu* m_recentMenu = nullptr;
  QWebEngineView* m_helpView = nullptr;
  QLabel* m_previewStatus = nullptr;
  QProgressBar* m_previewProgress = nullptr;
  BookBuilder* m_previewBuilder = nullptr;
  QuitQuestion m_quitQuestion;
  QString m_importNotice;
  QString m_templateNotice;
  bool m_showingPreviewProblem = false;
  QTimer* m_iApplyChangeTimer = nullptr;
  int m_applyChangeTag = 0;
  int m_blinksLeft = 0;
  QString m_applyChangeImageName;
  PublishResult m_lastPreview;
  bool m_launched = false;
  bool m_terminated = false;
};
