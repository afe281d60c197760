// The publish sheet: output folder, page name, title and the kind of output
// (web folder, application or EPUB file). Publishing remembers the choices, writes the
// book on a worker thread while a bar shows the pages written, says how it
// went (and where the book is) and offers to open the result or show its
// folder; the sheet then ends with 1. Cancel (or
// Escape) stops a publish under way and leaves the sheet open; otherwise it
// ends the sheet with 0. Showing the sheet, or choosing a folder in it,
// finishes a publish that was killed in that folder.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "session/BookSession.h"

class BookBuilder;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QUrl;

class OutputWindowDelegate : public QDialog {
  Q_OBJECT
 public:
  // What the user answers the alert that ends a publish.
  enum class AlertAnswer { Close, Open, ShowFolder };
  // Shows the outcome and returns the answer.
  using AlertPresenter = std::function<AlertAnswer(const PublishResult& result, QWidget* parent)>;
  // Opens a file or folder; by default in the user's programs (DesktopOpener),
  // and a failure to open is reported over the main window.
  using UrlOpener = std::function<void(const QUrl& url)>;
  // Asked when the folder holds files that are not part of a book where the
  // book would go (true replaces them), or when other users may change the
  // folder (result.sharedFolder; true publishes there all the same).
  using ReplaceQuestion = std::function<bool(const PublishResult& result, QWidget* parent)>;

  explicit OutputWindowDelegate(QWidget* parent = nullptr);

  const std::shared_ptr<FlashPageSource>& flashPageSource() const { return iFlashPageSource; }
  void setFlashPageSource(std::shared_ptr<FlashPageSource> s) { iFlashPageSource = std::move(s); }
  const std::shared_ptr<FlashTemplate>& flashTmpl() const { return iFlashTmpl; }
  void setFlashTmpl(std::shared_ptr<FlashTemplate> t) { iFlashTmpl = std::move(t); }
  const std::shared_ptr<FlashOutline>& flashOutline() const { return iFlashOutline; }
  void setFlashOutline(std::shared_ptr<FlashOutline> o) { iFlashOutline = std::move(o); }
  const std::shared_ptr<FlashPagesAnnotations>& flashPagesAnnotations() const { return iFlashPagesAnnotations; }
  void setFlashPagesAnnotations(std::shared_ptr<FlashPagesAnnotations> a) { iFlashPagesAnnotations = std::move(a); }
  // The document the pages came from: its title stands in for an empty title.
  void setDocumentPath(const QString& path) { m_documentPath = path; }

  void setAlertPresenter(AlertPresenter presenter) { m_alert = std::move(presenter); }
  void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
  void setReplaceQuestion(ReplaceQuestion question) { m_askReplace = std::move(question); }

  void onSelectFolder();
  void onOpenFolder();
  void onCancel();
  void onPublish();
  void reject() override;
  bool isPublishing() const;

  // Checks the kind of output (PublishOptions::outputType); an unknown one is the web folder.
  void setOutputType(qint32 type);
  // The choices as the controls hold them.
  PublishOptions options() const;
  // The outcome of the last publish.
  const PublishResult& lastResult() const { return m_lastResult; }

  QLineEdit* txtOutputFolder() const { return m_txtOutputFolder; }
  QLineEdit* txtOutputName() const { return m_txtOutputName; }
  QLineEdit* txtTitle() const { return m_txtTitle; }
  QButtonGroup* mOutputType() const { return m_mOutputType; }
  QProgressBar* prgBar() const { return m_prgBar; }
  QLabel* lblInfo() const { return m_lblInfo; }

  static AlertAnswer defaultAlert(const PublishResult& result, QWidget* parent);
  static bool defaultReplaceQuestion(const PublishResult& result, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;

 Q_SIGNALS:
  // A publish has ended (also when it failed or was cancelled), before the alert.
  void publishEnded(const PublishResult& result);

 private:
  void releaseBook();
  void setPublishing(bool on);
  void startPublish();
  void publishFinished(const PublishResult& result);
  void openPath(const QString& path);
  // Finishes a publish that was killed in the folder the sheet names.
  void finishInterruptedPublish() const;

  QLineEdit* m_txtOutputFolder = nullptr;
  QLineEdit* m_txtOutputName = nullptr;
  QLineEdit* m_txtTitle = nullptr;
  QButtonGroup* m_mOutputType = nullptr;
  QList<QWidget*> m_controls;  // disabled while a publish runs
  QPushButton* m_btnPublish = nullptr;
  QProgressBar* m_prgBar = nullptr;
  QLabel* m_lblInfo = nullptr;
  BookBuilder* m_builder = nullptr;
  std::shared_ptr<FlashPageSource> iFlashPageSource;
  std::shared_ptr<FlashTemplate> iFlashTmpl;
  std::shared_ptr<FlashOutline> iFlashOutline;
  std::shared_ptr<FlashPagesAnnotations> iFlashPagesAnnotations;
  AlertPresenter m_alert;
  UrlOpener m_openUrl;
  ReplaceQuestion m_askReplace;
  PublishResult m_lastResult;
  QString m_documentPath;
  // What the user agreed to for the publish under way (see ReplaceQuestion).
  bool m_replaceForeignFiles = false;
  bool m_allowSharedFolder = false;
};
