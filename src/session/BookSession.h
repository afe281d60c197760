// The running program's book: the one template, the current pages with their
// link areas and bookmarks, and the preview folder. Everything the desktop
// program does to them that is not interaction lives here (building the
// preview, adopting an import, switching template and style, settings files,
// publishing), so tests and the command-line tool can drive it without widgets.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "publish/FlashBookOutput.h"

class AppSettings;
class FlashTemplate;
class FlashPageSource;
class FlashPageSourceImg;
class FlashPagesAnnotations;
class FlashOutline;

// What a publish (or a preview build) came to.
struct PublishResult {
  QString outputFileName;                // the HTML page, or the bundle
  std::vector<PublishFailure> failures;  // files that could not be written
  QString error;                         // why the publisher stopped, if it did

  bool succeeded() const { return error.isEmpty() && failures.empty(); }
  // The texts of the alert that ends a publish: on success the question
  // whether to open the result, otherwise what went wrong.
  QString alertMessage() const;
  QString alertDetail() const;
};

// The choices of the publish dialog.
struct PublishOptions {
  QString folder;
  QString name;           // the HTML page's name without ".html"
  QString title;          // the HTML page's title
  qint32 outputType = 0;  // 1: application bundle, otherwise web folder

  static PublishOptions fromSettings(const AppSettings& settings);
  // Stores the choices and saves the settings, before a publish starts, so
  // they survive a failed one.
  void store(AppSettings& settings) const;
};

class BookSession {
 public:
  static inline const QString APP_NAME = QStringLiteral("Folivox");
  static inline const QString kPreviewHTMLName = QStringLiteral("index.html");
  static inline const QString kPreviewTitle = QStringLiteral("Preview");
  static inline const QString kManualName = QStringLiteral("Folivox Manual.pdf");

  BookSession();
  ~BookSession();
  BookSession(const BookSession&) = delete;
  BookSession& operator=(const BookSession&) = delete;

  // Start-up: the demonstration pages and the default template "float".
  void start();

  // ---- state ----
  const std::shared_ptr<FlashTemplate>& flashTmpl() const { return iFlashTmpl; }
  void setFlashTmpl(std::shared_ptr<FlashTemplate> t) { iFlashTmpl = std::move(t); }
  const std::shared_ptr<FlashPageSource>& flashPageSource() const { return iFlashPageSource; }
  void setFlashPageSource(std::shared_ptr<FlashPageSource> s) { iFlashPageSource = std::move(s); }
  const std::shared_ptr<FlashPagesAnnotations>& flashPagesAnnotations() const { return iFlashPagesAnnotations; }
  void setFlashPagesAnnotations(std::shared_ptr<FlashPagesAnnotations> a) { iFlashPagesAnnotations = std::move(a); }
  const std::shared_ptr<FlashOutline>& flashOutline() const { return iFlashOutline; }
  void setFlashOutline(std::shared_ptr<FlashOutline> o) { iFlashOutline = std::move(o); }
  // "" until the first preview was built.
  const QString& flashPreviewFolder() const { return iFlashPreviewFolder; }

  // ---- demonstration pages ----
  // The ".jpg" files of `folder` in natural name order (2.jpg before 10.jpg).
  static QStringList demonstrationImages(const QString& folder);
  // An image page source of those files; `folder` "" is the resource folder's DemoImgs.
  static std::shared_ptr<FlashPageSourceImg> demonstrationPageSource(const QString& folder = QString());

  // ---- preview ----
  // <user app support>/Folivox/preview, made and registered in the trust file.
  void makeFlashPreviewFolder();
  // Deletes the preview folder with everything in it; nothing before the first preview.
  void removeFlashPreviewFolder();
  // Writes the whole book into the preview folder as index.html, titled
  // "Preview", making the folder first when needed.
  PublishResult buildPreview();

  // ---- commands ----
  // Takes over an import: the first page's size into pageWidth/pageHeight,
  // then pages, link areas and bookmarks (the last two may be absent).
  void adoptImport(std::shared_ptr<FlashPageSource> pages, std::shared_ptr<FlashPagesAnnotations> annotations,
                   std::shared_ptr<FlashOutline> outline, qint32 pageWidth, qint32 pageHeight);
  // Applies the style whose preview picture the template chooser returned
  // (.../Styles/<template>/<style>/shot.jpg): switches to that template and
  // style, keeping page size and language. Returns the template's name, or
  // nullopt when the path names no style.
  std::optional<QString> changeToChosenStyle(const QString& styleShotPath);
  // The name as the template button shows it: every word capitalised.
  static QString capitalizedName(const QString& name);
  // Writes the settings file; a path without extension gets ".txt". Returns
  // the path written, or "" when it could not be written.
  QString exportTmplSettings(const QString& path) const;
  void importTmplSettings(const QString& path);
  static QString manualPath();

  // ---- publishing ----
  // Publishes a book as the publish dialog asks: a web folder (made, one
  // level, when missing) or an application bundle.
  static PublishResult publishBook(const PublishOptions& options, std::shared_ptr<FlashPageSource> pages,
                                   std::shared_ptr<FlashTemplate> tmpl, std::shared_ptr<FlashOutline> outline,
                                   std::shared_ptr<FlashPagesAnnotations> annotations);

 private:
  std::shared_ptr<FlashTemplate> iFlashTmpl;
  std::shared_ptr<FlashPageSource> iFlashPageSource;
  std::shared_ptr<FlashPagesAnnotations> iFlashPagesAnnotations;
  std::shared_ptr<FlashOutline> iFlashOutline;
  QString iFlashPreviewFolder;
};
