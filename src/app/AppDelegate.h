// The desktop program's controller: builds the main window (toolbar, menus,
// property editor with its description box, preview), starts and ends the
// session, runs the preview cycle and the window's commands.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
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

class AppDelegate : public QObject {
  Q_OBJECT
 public:
  static constexpr int kBlinkIntervalMs = 330;
  static constexpr int kBlinkFrames = 3;

  explicit AppDelegate(QObject* parent = nullptr);
  ~AppDelegate() override;

  // Start-up: window to the screen, demonstration pages, template "float",
  // property editor, first preview (which makes the preview folder).
  void applicationDidFinishLaunching();
  // Shutdown: releases the book and deletes the preview folder. Runs once.
  void applicationWillTerminate();

  // ---- preview cycle ----
  void tmplPpertyValueChanged();
  void onTimerEvent();
  void applyChange();
  void updateTmplPropertyTip();

  // ---- commands ----
  void OnImportPDF();
  void importWindowDidEnd(int returnCode);
  void OnExportFlipBook();
  void OnExportTmplSettings();
  void OnImportTmplSettings();
  // What the two settings commands do once the file is chosen.
  QString exportTmplSettingsTo(const QString& path);
  void importTmplSettingsFrom(const QString& path);
  void onSelectTemplate();
  void selectTmplWindowDidEnd(int returnCode);
  void OnApplyChange();
  void OnOpenHelp();
  void onOpenAbout();

  // ---- parts ----
  BookSession& session() { return m_session; }
  QMainWindow* window() const { return m_window.get(); }
  QWebEngineView* webView() const { return m_webView; }
  QTreeView* outlineView() const { return m_outlineView; }
  QToolButton* btnFloat() const { return m_btnFloat; }
  QPlainTextEdit* toolTip() const { return m_toolTip; }
  QGroupBox* toolTipBox() const { return m_toolTipBox; }
  QAction* toolBarItemApplyChange() const { return m_toolBarItemApplyChange; }
  FlashTemplateOutlineDelegate* tmplDelegate() const { return m_tmplDelegate; }
  ImportWindowDelegate* importWindow() const { return m_importWindow; }
  OutputWindowDelegate* ouputWindow() const { return m_ouputWindow; }
  SelectTemplateWindowDelegate* selecteTmplWindow() const { return m_selecteTmplWindow; }
  // Runs while template changes wait for Apply; null while the preview is up to date.
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

 private:
  void buildWindow();
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
  QTimer* m_iApplyChangeTimer = nullptr;
  int m_applyChangeTag = 0;
  QString m_applyChangeImageName;
  PublishResult m_lastPreview;
  bool m_launched = false;
  bool m_terminated = false;
};
