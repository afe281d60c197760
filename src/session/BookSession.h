// The running program's book: the one template, the current pages with their
// link areas and bookmarks, and the preview folder. Everything the desktop
// program does to them that is not interaction lives here (building the
// preview, adopting an import, switching template and style, settings files,
// publishing), so tests and the command-line tool can drive it without widgets.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "publish/BookContent.h"
#include "publish/BookWeight.h"
#include "publish/FlashBookOutput.h"
#include "templates/FlashTemplate.h"
#include "templates/TemplateEditHistory.h"

class AppSettings;
class FlashTemplate;
class FlashPageSource;
class FlashPageSourceImg;
class FlashPagesAnnotations;
class FlashOutline;
class PrivateFolder;

// What a publish (or a preview build) came to. Unless it succeeded, nothing
// in the output folder was changed.
struct PublishResult {
  QString outputFileName;                // the HTML page, the bundle or the EPUB file
  std::vector<PublishFailure> failures;  // files that could not be written
  QString error;                         // why the publisher stopped, if it did
  bool cancelled = false;                // stopped by the user before the end
  // Files in the way that are not part of a book (relative to the folder that
  // holds the book): publishing again with replaceForeignFiles replaces them.
  QStringList foreignEntries;
  // Other users may change the folder (error says how): publishing again
  // with allowSharedFolder publishes there all the same.
  bool sharedFolder = false;
  std::vector<PublishedFile> externalFiles;  // files from outside copied into the book
  BookWeight weight;                         // of a published book (not measured for the preview)

  bool succeeded() const { return error.isEmpty() && failures.empty() && !cancelled; }
  // The folder that holds the HTML page or the bundle.
  QString outputFolder() const;
  // The publish stopped only because of foreign files or a folder that
  // others may change: ask the user.
  bool needsConfirmation() const { return !foreignEntries.isEmpty() || sharedFolder; }
  // The texts of the alert that ends a publish: on success where the book
  // is and the question whether to open it (with the book's weight and the
  // files copied from outside the book), otherwise what went wrong.
  QString alertMessage() const;
  QString alertDetail() const;
};

// The choices of the publish dialog.
struct PublishOptions {
  QString folder;
  QString name;           // the HTML page's name without ".html"
  QString title;          // the HTML page's title; see pageTitle() when blank
  qint32 outputType = 0;  // 1: application bundle, kEpubOutput: an EPUB file, otherwise web folder
  static constexpr qint32 kEpubOutput = 2;
  // For an EPUB: its author and language tag ("": the document's own, if any).
  QString author;
  QString language;
  // The document the pages came from ("" for none). Not remembered.
  QString document;
  // Replace files in the way that are not part of a book (the user agreed).
  // Not remembered.
  bool replaceForeignFiles = false;
  // Publish into a folder that other users may change (the user agreed).
  // Not remembered.
  bool allowSharedFolder = false;

  // The HTML page's file name: the name (an empty one means "index") + ".html".
  QString pageName() const;
  // The EPUB file's name: the name (an empty one means "book") with ".epub"
  // added unless it ends so.
  QString epubName() const;
  // The HTML page's title, the same rule for the desktop program and the
  // command line: `title` unless it is blank, else the document's own title,
  // else the document's file name without extension, else the book's title
  // (the template's bookTitle).
  QString pageTitle(const FlashPageSource* pages, const FlashTemplate* tmpl) const;
  // Why these choices cannot be published, or "": no folder, the root
  // folder, a page name with "/", "\", "..", NUL or another control character.
  QString problem() const;
  // Why the folder cannot take the book now (BookTransaction::folderProblem):
  // a result that failed, or succeeded() when all is well. Checked before
  // long work, so that an import is not spent on a folder that refuses it.
  PublishResult folderProblem() const;

  static PublishOptions fromSettings(const AppSettings& settings);
  // Stores the choices and saves the settings, before a publish starts, so
  // they survive a failed one.
  void store(AppSettings& settings) const;
};

// The outcome of writing the template's settings file.
struct ExportResult {
  QString path;   // the file written or tried (".txt" added when the name had no extension)
  QString error;  // why it could not be written; "" on success
  // The files copied beside it, and those that could not be (the settings
  // name their own paths, which Import Settings will not take).
  ExportedFiles files;
  bool succeeded() const { return error.isEmpty(); }
};

class BookSession {
 public:
  static inline const QString APP_NAME = QStringLiteral("Folivox");
  static inline const QString kPreviewHTMLName = QStringLiteral("index.html");
  static inline const QString kPreviewTitle = QStringLiteral("Preview");
  static inline const QString kManualName = QStringLiteral("Folivox Manual.pdf");
  // The names of the preview folders of running programs begin with this.
  static inline const QString kPreviewPrefix = QStringLiteral("preview-");

  BookSession();
  ~BookSession();
  BookSession(const BookSession&) = delete;
  BookSession& operator=(const BookSession&) = delete;

  // Start-up: sweeps what killed runs left (removeLeftovers()), then the
  // demonstration pages and the default template "float". A window sweeps on
  // a worker thread: a killed import can leave thousands of files.
  enum class Sweep { Now, OnAWorker };
  void start(Sweep sweep = Sweep::Now);

  // ---- state ----
  const std::shared_ptr<FlashTemplate>& flashTmpl() const { return iFlashTmpl; }
  void setFlashTmpl(std::shared_ptr<FlashTemplate> t) { iFlashTmpl = std::move(t); }
  const std::shared_ptr<FlashPageSource>& flashPageSource() const { return iFlashPageSource; }
  void setFlashPageSource(std::shared_ptr<FlashPageSource> s) { iFlashPageSource = std::move(s); }
  const std::shared_ptr<FlashPagesAnnotations>& flashPagesAnnotations() const { return iFlashPagesAnnotations; }
  void setFlashPagesAnnotations(std::shared_ptr<FlashPagesAnnotations> a) { iFlashPagesAnnotations = std::move(a); }
  const std::shared_ptr<FlashOutline>& flashOutline() const { return iFlashOutline; }
  void setFlashOutline(std::shared_ptr<FlashOutline> o) { iFlashOutline = std::move(o); }
  // "" until the first preview was built (or while no folder can be made).
  const QString& flashPreviewFolder() const { return iFlashPreviewFolder; }

  // ---- demonstration pages ----
  // The ".jpg", ".png" and ".webp" files of `folder` in natural name order
  // (2.jpg before 10.jpg).
  static QStringList demonstrationImages(const QString& folder);
  // An image page source of those files; `folder` "" is the resource folder's DemoImgs.
  static std::shared_ptr<FlashPageSourceImg> demonstrationPageSource(const QString& folder = QString());
  // The same for a folder of the user's: each picture's header is checked
  // first, and a picture that cannot be a page is left out, with a line in
  // `skipped` that names it and says why.
  static std::shared_ptr<FlashPageSourceImg> picturePageSource(const QString& folder, QStringList* skipped);

  // ---- preview ----
  // Where the preview folders of running programs live, each its own:
  // <user app support>/Folivox/preview. This folder is the one registered in
  // the trust file, once.
  static QString previewParentFolder();
  // A preview folder of this session alone, <previewParentFolder>/preview-<pid>-XXXXXX
  // (a PrivateFolder, so a second running program never shares or removes it).
  // On failure flashPreviewFolder() is "" and the reason is logged.
  void makeFlashPreviewFolder();
  // Deletes the preview folder with everything in it; nothing before the first preview.
  void removeFlashPreviewFolder();
  // Writes the whole book into the preview folder as index.html, titled
  // "Preview", making the folder first when needed, or anew when it vanished.
  PublishResult buildPreview();
  // The same build for a worker (BookBuilder): the work writes a copy of the
  // book as it is now. The preview folder is made here, on this thread; when
  // none can be made, the work only reports why.
  std::function<PublishResult(const FlashBookOutput::Progress& progress)> previewBuild();
  // The book as it is now, for a build on another thread: its template is a copy.
  BookContent snapshot() const;
  // Writes `book` into `folder` as the preview; safe on any thread.
  static PublishResult buildPreviewInto(const BookContent& book, const QString& folder,
                                        const FlashBookOutput::Progress& progress = {});
  // What the window says, in one line, about a rebuild that failed; "" when
  // it succeeded. (The log lists every file.)
  static QString previewProblem(const PublishResult& result);
  // At start-up: removes the work folders and preview folders that killed
  // runs of either program left behind. Returns how many.
  static int removeLeftovers();
  // On a forced exit: removes this process's own work and preview folders,
  // in use or not.
  static int removeOwnFolders();

  // ---- commands ----
  // Takes over an import: the first page's size into pageWidth/pageHeight,
  // then pages, link areas and bookmarks (the last two may be absent).
  // `document` is the file the user imported; it becomes documentPath() and
  // the newest of the recent documents. The book shows the document's title
  // (see applyBookTitle()). Neither the new page size nor the title is an
  // undo step. The pages it replaces are let go of on a worker thread.
  void adoptImport(std::shared_ptr<FlashPageSource> pages, std::shared_ptr<FlashPagesAnnotations> annotations,
                   std::shared_ptr<FlashOutline> outline, qint32 pageWidth, qint32 pageHeight,
                   const QString& document = QString());
  // The document the pages came from; "" for the demonstration pages.
  const QString& documentPath() const { return m_documentPath; }
  // The name the window shows for the book.
  QString documentTitle() const;

  // ---- the title the book shows ----
  static inline const QString kBookTitleKey = QStringLiteral("bookTitle");
  // The title of a book made from `pages` when the user gave none: the
  // document's own title, else the name of `inputPath` without its extension.
  static QString defaultBookTitle(const FlashPageSource& pages, const QString& inputPath);
  // Shows `title` in the book (the template's bookTitle) unless the user chose
  // another: only the template's default value, or `previous` (what an
  // earlier call put there), is replaced. True when it was set.
  static bool applyBookTitle(FlashTemplate& tmpl, const QString& title, const QString& previous = QString());
  // Applies the style whose preview picture the template chooser returned
  // (.../Styles/<template>/<style>/shot.jpg): switches to that template and
  // style, keeping page size, language and what the user set or imported
  // (see FlashTemplate::changeTmplTo, which fills `change`). Returns the
  // template's name, or nullopt when the path names no style. One undo step.
  std::optional<QString> changeToChosenStyle(const QString& styleShotPath, TemplateChange* change = nullptr);
  // Switches to the template `name` with its default style, keeping the same:
  // what the chooser's OK means when no style is picked. One undo step. False
  // when there is no such template.
  bool changeToTemplate(const QString& name, TemplateChange* change = nullptr);
  // Writes the settings file; a path without extension gets ".txt". A
  // written file counts as saving the values (see hasUnsavedChanges).
  ExportResult exportTmplSettings(const QString& path);
  // Reads a settings file into the template; one undo step. The result says
  // why a file was not used, and which file references were not taken.
  SettingsFileResult importTmplSettings(const QString& path);

  // ---- undo, and what is not saved ----
  // Makes one undo step of what changed in the template since the last one
  // (the editor calls it after each committed edit). False when nothing changed.
  bool recordTemplateEdit(const QString& label);
  const TemplateEditHistory& history() const { return m_history; }
  // Undo and redo of template steps; false when there is none. A switch of
  // template loads it anew, so the caller reloads the editor then.
  bool undo();
  bool redo();
  // True after edits or an import that were neither published nor exported
  // (an export saves the edits, not the imported pages).
  bool hasUnsavedChanges() const;
  // A publish saved everything.
  void markPublished();
  static QString manualPath();

  // ---- publishing ----
  // Publishes a book as the publish dialog asks: a web folder (made, one
  // level, when missing), an application bundle or an EPUB file (EpubWriter).
  // All or nothing: unless it succeeds, the folder keeps what it held.
  // `progress` is told of each page written and may stop the publish.
  static PublishResult publishBook(const PublishOptions& options, const BookContent& book,
                                   const FlashBookOutput::Progress& progress = {});

 private:
  static PublishResult publishEpub(const PublishOptions& options, const BookContent& book,
                                   const FlashBookOutput::Progress& progress);

  std::shared_ptr<FlashTemplate> iFlashTmpl;
  std::shared_ptr<FlashPageSource> iFlashPageSource;
  std::shared_ptr<FlashPagesAnnotations> iFlashPagesAnnotations;
  std::shared_ptr<FlashOutline> iFlashOutline;
  QString iFlashPreviewFolder;
  TemplateEditHistory m_history;
  QString m_documentPath;
  bool m_pagesUnsaved = false;
  std::unique_ptr<PrivateFolder> m_previewFolder;
  QString m_previewFolderError;
  QString m_importedTitle;  // the title the last import put into bookTitle
};
