#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "base/AppSettings.h"
#include "base/HXCUtility.h"
#include "base/LanguageTag.h"
#include "base/NotificationCenter.h"
#include "base/TerminationSignals.h"
#include "cli/CliCommands.h"
#include "import/FlashOutlinePDF.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotationsPDF.h"
#include "import/ImportPDFOperation.h"
#include "import/MuPdfDocument.h"
#include "import/OperationQueue.h"
#include "import/PictureFormat.h"
#include "publish/BookWeight.h"
#include "session/BookSession.h"
#include "templates/FlashTemplate.h"

namespace {

QTextStream& err() {
  static QTextStream s(stderr);
  return s;
}

int fail(const QString& message) {
  err() << "folivox-cli: " << message << "\n";
  err().flush();
  return 1;
}

// A publish that stopped before writing anything, with what --force would do.
int failUnconfirmed(const PublishResult& result) {
  return fail(
      result.error +
      (result.sharedFolder
           ? QCoreApplication::translate("PublishCommand",
                                         " Nothing was written; add --force to publish there all the same.")
           : QCoreApplication::translate("PublishCommand", " Nothing was written; add --force to replace them.")));
}

// What an input turns into: the pages, their links and bookmarks, and the
// size of the first page (the book's proportions).
struct Book {
  BookContent content;  // the template is added once the pages are in
  QSize pageSize;
  QString error;
};

struct ImportOptions {
  QString range = QStringLiteral("ALL");
  qint32 quality = 85;
  bool links = false;
  bool bookmarks = false;
  bool text = true;
  bool zoomPictures = true;
  PictureFormat pictureFormat = PictureFormat::Auto;
  int jobs = 0;
  std::chrono::milliseconds pageTimeLimit = FlashPageSourcePDF::kDefaultPageTimeLimit;
};

// A bar on stderr while a document is converted and its pages rendered, when
// stderr is a terminal.
class ProgressBar : public QObject {
 public:
  ProgressBar() : m_tty(::isatty(STDERR_FILENO) != 0) {
    if (!m_tty) return;
    NotificationCenter::defaultCenter().addObserver(this, ImportProgressInfoMSG, [this](const Notification& n) {
      const QString type = n.userInfo.value(QStringLiteral("type")).toString();
      const bool converting = type == ImportPDFOperation::kConvertProgressType;
      if (!converting && type != QLatin1String("geneatePage")) return;
      draw(converting ? QT_TRANSLATE_NOOP("PublishCommand", "Converting")
                      : QT_TRANSLATE_NOOP("PublishCommand", "Importing"),
           n.userInfo.value(QStringLiteral("pageIndex")).toInt(),
           n.userInfo.value(QStringLiteral("totalPage")).toInt());
    });
  }
  ~ProgressBar() override {
    NotificationCenter::defaultCenter().removeObserver(this);
    if (m_drawn) std::fputs("\n", stderr);
  }
  void draw(const char* what, int done, int total) {
    if (total <= 0) return;
    if (m_drawn && what != m_what) std::fputs("\n", stderr);  // each stage keeps its last line
    m_what = what;
    const int width = 30;
    const int filled = static_cast<int>(static_cast<qint64>(width) * done / total);
    std::fprintf(stderr, "\r%s: %d/%d [%s%s]",
                 QCoreApplication::translate("PublishCommand", what).toLocal8Bit().constData(), done, total,
                 QByteArray(filled, '#').constData(), QByteArray(width - filled, ' ').constData());
    std::fflush(stderr);
    m_drawn = true;
  }

 private:
  bool m_tty;
  bool m_drawn = false;
  const char* m_what = nullptr;
};

Book importPictures(const QString& folder) {
  Book book;
  QStringList skipped;
  auto pages = BookSession::picturePageSource(folder, &skipped);
  for (const QString& s : skipped) err() << "folivox-cli: warning: " << s << "\n";
  err().flush();
  if (pages->pages().empty()) {
    book.error =
        skipped.isEmpty()
            ? QCoreApplication::translate("PublishCommand", "%1 holds no .jpg, .png or .webp pictures").arg(folder)
            : QCoreApplication::translate("PublishCommand", "%1 holds no picture that can be a page").arg(folder);
    return book;
  }
  // The first picture that is a page gives the book its proportions.
  book.pageSize = pages->pictureSize(pages->pages().front()->pageIndex());
  book.content.pages = pages;
  return book;
}

Book importDocument(const QString& input, const ImportOptions& options) {
  Book book;
  OperationQueue queue;
  // A text or RTF document is converted by the operation, into a work folder of its own.
  auto op = std::make_shared<ImportPDFOperation>(input, options.range, 144, options.quality);
  op->setImportLinks(options.links);
  op->setImportBookmarks(options.bookmarks);
  op->setImportText(options.text);
  op->setZoomPictures(options.zoomPictures);
  op->setPictureFormat(options.pictureFormat);
  op->setJobs(options.jobs);
  op->setPageTimeLimit(options.pageTimeLimit);
  QEventLoop loop;
  QObject::connect(op.get(), &Operation::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  if (TerminationSignals* signals = TerminationSignals::instance())
    QObject::connect(signals, &TerminationSignals::terminationRequested, op.get(), [raw = op.get()] { raw->cancel(); });
  if (TerminationSignals::received() != 0) op->cancel();
  {
    ProgressBar bar;
    queue.addOperation(op);
    if (!op->isFinished()) loop.exec();
    op->waitForFinished();
    QCoreApplication::processEvents();  // the last progress posts
  }
  for (const QString& w : op->warnings())
    err() << "folivox-cli: " << QCoreApplication::translate("PublishCommand", "warning: %1").arg(w) << "\n";
  err().flush();
  const std::shared_ptr<FlashPageSourcePDF> pages = op->flashPageSource();
  if (!pages) {
    book.error = op->errorString().isEmpty()
                     ? QCoreApplication::translate("PublishCommand", "cannot import %1").arg(input)
                     : op->errorString();
    return book;
  }
  if (pages->PDFDoc()) {
    const QSizeF size = pages->PDFDoc()->pageSize(0);
    book.pageSize = QSize(static_cast<int>(size.width()), static_cast<int>(size.height()));
  }
  book.content.pages = pages;
  book.content.annotations = op->flashPagesAnnotation();
  book.content.outline = op->flashOutline();
  return book;
}

}  // namespace

int runPublishCommand(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QCoreApplication::translate(
      "PublishCommand", "Publishes a book folder (or an application bundle) from a document or a folder of pictures."));
  parser.addPositionalArgument(
      QStringLiteral("INPUT"),
      QCoreApplication::translate("PublishCommand",
                                  "a PDF, text or RTF document, or a folder of .jpg, .png or .webp pictures"));
  const QCommandLineOption outOpt({QStringLiteral("o"), QStringLiteral("output")},
                                  QCoreApplication::translate("PublishCommand", "book folder"), QStringLiteral("DIR"));
  const QCommandLineOption nameOpt(QStringLiteral("name"),
                                   QCoreApplication::translate("PublishCommand", "HTML page name (empty: index)"),
                                   QStringLiteral("NAME"), QStringLiteral("index"));
  const QCommandLineOption titleOpt(
      QStringLiteral("title"),
      QCoreApplication::translate(
          "PublishCommand",
          "the title the book and its page show (default: the document's own title, else the input's name)"),
      QStringLiteral("TEXT"));
  const QCommandLineOption rangeOpt(QStringLiteral("range"), QCoreApplication::translate("PublishCommand", "pages"),
                                    QStringLiteral("RANGE"), QStringLiteral("ALL"));
  const QCommandLineOption qualityOpt(QStringLiteral("quality"), QStringLiteral("0..4"), QStringLiteral("LEVEL"),
                                      QStringLiteral("1"));
  const QCommandLineOption linksOpt(QStringLiteral("links"),
                                    QCoreApplication::translate("PublishCommand", "keep the links"));
  const QCommandLineOption bookmarksOpt(QStringLiteral("bookmarks"),
                                        QCoreApplication::translate("PublishCommand", "keep the bookmarks"));
  const QCommandLineOption templateOpt(QStringLiteral("template"),
                                       QCoreApplication::translate("PublishCommand", "template"),
                                       QStringLiteral("NAME"), QStringLiteral("float"));
  const QCommandLineOption styleOpt(QStringLiteral("style"), QCoreApplication::translate("PublishCommand", "style"),
                                    QStringLiteral("NAME"));
  const QCommandLineOption settingsOpt(QStringLiteral("settings"),
                                       QCoreApplication::translate("PublishCommand", "settings file"),
                                       QStringLiteral("FILE"));
  const QCommandLineOption appOpt(QStringLiteral("app"),
                                  QCoreApplication::translate("PublishCommand", "application bundle"));
  const QCommandLineOption jobsOpt(QStringLiteral("jobs"),
                                   QCoreApplication::translate("PublishCommand", "rendering threads"),
                                   QStringLiteral("N"), QStringLiteral("0"));
  const QCommandLineOption forceOpt(
      QStringLiteral("force"),
      QCoreApplication::translate("PublishCommand",
                                  "replace files in the way that are not part of a book, and publish "
                                  "into a folder that other users may write to"));
  const QCommandLineOption noTextOpt(QStringLiteral("no-text"),
                                     QCoreApplication::translate("PublishCommand", "leave the text out: no search"));
  const QCommandLineOption noZoomOpt(QStringLiteral("no-zoom-pictures"),
                                     QCoreApplication::translate("PublishCommand", "no sharper pictures for zooming"));
  const QCommandLineOption formatOpt(
      QStringLiteral("picture-format"),
      QCoreApplication::translate("PublishCommand",
                                  "page pictures: auto (each page as WebP or JPEG, whichever suits it), "
                                  "webp, jpeg (as books were before), or png (text pages PNG, photographs JPEG: "
                                  "the default of --format epub)"),
      QStringLiteral("FORMAT"), QStringLiteral("auto"));
  const QCommandLineOption bookFormatOpt(
      QStringLiteral("format"),
      QCoreApplication::translate("PublishCommand",
                                  "web (a book folder, the default) or epub (-o names the "
                                  "EPUB 3 file)"),
      QStringLiteral("FORMAT"), QStringLiteral("web"));
  const QCommandLineOption authorOpt(
      QStringLiteral("author"),
      QCoreApplication::translate("PublishCommand", "the EPUB's author (default: the document's own)"),
      QStringLiteral("TEXT"));
  const QCommandLineOption languageOpt(
      QStringLiteral("language"),
      QCoreApplication::translate("PublishCommand",
                                  "the EPUB's language tag, such as en or de-CH (default: the "
                                  "document's own, else und)"),
      QStringLiteral("TAG"));
  const QCommandLineOption pageTimeoutOpt(
      QStringLiteral("page-timeout"),
      QCoreApplication::translate("PublishCommand",
                                  "seconds one page may take to draw; a slower page is left blank (0: no limit)"),
      QStringLiteral("SECONDS"), QString::number(FlashPageSourcePDF::kDefaultPageTimeLimit.count() / 1000));
  const QCommandLineOption helpOpt({QStringLiteral("h"), QStringLiteral("help")},
                                   QCoreApplication::translate("PublishCommand", "show this help"));
  parser.addOptions({outOpt,      nameOpt,   titleOpt,       rangeOpt,      qualityOpt, linksOpt,    bookmarksOpt,
                     templateOpt, styleOpt,  settingsOpt,    appOpt,        jobsOpt,    forceOpt,    noTextOpt,
                     noZoomOpt,   formatOpt, pageTimeoutOpt, bookFormatOpt, authorOpt,  languageOpt, helpOpt});
  if (!parser.parse(QStringList{QStringLiteral("folivox-cli publish")} + args)) return fail(parser.errorText());
  if (parser.isSet(helpOpt)) return printCommandHelp(parser, QStringLiteral("publish"));
  if (parser.positionalArguments().size() != 1)
    return fail(QCoreApplication::translate("PublishCommand", "publish needs exactly one INPUT"));
  if (!parser.isSet(outOpt)) return fail(QCoreApplication::translate("PublishCommand", "publish needs -o DIR"));
  const QString input = parser.positionalArguments().first();
  const QString bookFormat = parser.value(bookFormatOpt).toLower();
  if (bookFormat != QLatin1String("web") && bookFormat != QLatin1String("epub"))
    return fail(QCoreApplication::translate("PublishCommand", "--format takes web or epub"));
  const bool epub = bookFormat == QLatin1String("epub");
  if (epub && (parser.isSet(appOpt) || parser.isSet(nameOpt)))
    return fail(QCoreApplication::translate(
        "PublishCommand", "--app and --name are for web books; with --format epub, -o names the file"));
  if (!epub && (parser.isSet(authorOpt) || parser.isSet(languageOpt)))
    return fail(QCoreApplication::translate("PublishCommand", "--author and --language are for --format epub"));
  if (parser.isSet(languageOpt) && !LanguageTag::isWellFormed(parser.value(languageOpt)))
    return fail(
        QCoreApplication::translate("PublishCommand", "--language takes a language tag such as en, de-CH or pt-BR"));

  // Where the book goes, checked before any work is done.
  PublishOptions publish;
  publish.folder = parser.value(outOpt).isEmpty() ? QString() : QDir(parser.value(outOpt)).absolutePath();
  publish.name = parser.value(nameOpt);
  if (epub && !publish.folder.isEmpty()) {
    // -o names the file itself.
    const QFileInfo file(publish.folder);
    publish.folder = file.absolutePath();
    publish.name = file.fileName();
    publish.outputType = PublishOptions::kEpubOutput;
    publish.author = parser.value(authorOpt);
    publish.language = parser.value(languageOpt);
  }
  // The page title until the document shows its own (below).
  publish.title = parser.isSet(titleOpt) ? parser.value(titleOpt) : QFileInfo(input).completeBaseName();
  publish.document = input;
  if (!epub) publish.outputType = parser.isSet(appOpt) ? 1 : 0;
  publish.replaceForeignFiles = parser.isSet(forceOpt);
  publish.allowSharedFolder = parser.isSet(forceOpt);
  if (const QString problem = publish.problem(); !problem.isEmpty()) return fail(problem);
  // A folder that cannot take the book (read-only, locked by another publish,
  // open to other users) is told now, not after a long import.
  if (const PublishResult check = publish.folderProblem(); !check.error.isEmpty())
    return check.sharedFolder ? failUnconfirmed(check) : fail(check.error);

  ImportOptions options;
  options.range = parser.value(rangeOpt);
  bool ok = false;
  const int level = parser.value(qualityOpt).toInt(&ok);
  if (!ok || level < 0 || level > 4)
    return fail(QCoreApplication::translate("PublishCommand", "--quality takes a level from 0 (best) to 4 (smallest)"));
  options.quality = AppSettings::qualityForLevel(level);
  options.jobs = parser.value(jobsOpt).toInt(&ok);
  if (!ok || options.jobs < 0 || options.jobs > 256)
    return fail(QCoreApplication::translate("PublishCommand", "--jobs takes a number of threads (0: one per core)"));
  const double pageTimeout = parser.value(pageTimeoutOpt).toDouble(&ok);
  if (!ok || !(pageTimeout >= 0 && pageTimeout <= 86400))
    return fail(
        QCoreApplication::translate("PublishCommand", "--page-timeout takes a number of seconds (0: no limit)"));
  options.pageTimeLimit = std::chrono::milliseconds(std::llround(pageTimeout * 1000));
  options.links = parser.isSet(linksOpt);
  options.bookmarks = parser.isSet(bookmarksOpt);
  options.text = !parser.isSet(noTextOpt);
  // An EPUB has no use for zoom pictures: readers zoom the page picture.
  options.zoomPictures = !parser.isSet(noZoomOpt) && !epub;
  const std::optional<PictureFormat> format = PictureFormats::fromName(parser.value(formatOpt));
  if (!format)
    return fail(QCoreApplication::translate("PublishCommand", "--picture-format takes auto, webp, jpeg or png"));
  options.pictureFormat = *format;
  // WebP is not for every e-book reader: an EPUB gets PNG and JPEG pages,
  // unless asked otherwise (then the writer converts them).
  if (epub && !parser.isSet(formatOpt)) options.pictureFormat = PictureFormat::Png;

  // The template first: a wrong name should not cost an import.
  const QString tmplName = parser.value(templateOpt);
  if (!QFileInfo::exists(FlashTemplate::tmplMetaPathForName(tmplName)))
    return fail(QCoreApplication::translate("PublishCommand", "there is no template \"%1\" (see folivox-cli templates)")
                    .arg(tmplName));
  auto tmpl = std::make_shared<FlashTemplate>(tmplName);
  if (!tmpl->loadError().isEmpty())
    return fail(QCoreApplication::translate("PublishCommand", "template \"%1\" cannot be loaded: %2")
                    .arg(tmplName, tmpl->loadError()));
  const QString style = parser.isSet(styleOpt) ? parser.value(styleOpt) : tmpl->defaultSytleName();
  const QString stylePath = FlashTemplate::stylePathFor(tmplName, style);
  if (!QFileInfo::exists(stylePath + QStringLiteral("/tmplSetting.txt")))
    return fail(
        QCoreApplication::translate("PublishCommand", "template \"%1\" has no style \"%2\" (see folivox-cli templates)")
            .arg(tmplName, style));
  for (const QString& refused : tmpl->loadStyleByStylePath(stylePath).refused)
    err() << "folivox-cli: " << QCoreApplication::translate("PublishCommand", "warning: %1").arg(refused) << "\n";
  if (parser.isSet(settingsOpt)) {
    const QString file = parser.value(settingsOpt);
    if (!QFileInfo::exists(file))
      return fail(QCoreApplication::translate("PublishCommand", "the settings file %1 does not exist").arg(file));
    const SettingsFileResult applied = tmpl->importPropertiesSettingsFrom(file);
    if (!applied.ok()) return fail(applied.error);
    for (const QString& refused : applied.refused)
      err() << "folivox-cli: "
            << QCoreApplication::translate("PublishCommand", "warning: %1").arg(file + QStringLiteral(": ") + refused)
            << "\n";
  }
  err().flush();

  // The pages.
  if (!QFileInfo::exists(input))
    return fail(QCoreApplication::translate("PublishCommand", "%1 does not exist").arg(input));
  Book book = QFileInfo(input).isDir() ? importPictures(input) : importDocument(input, options);
  if (!book.content.pages) return fail(book.error);
  book.content.tmpl = tmpl;
  if (TerminationSignals::received() != 0)
    return fail(QCoreApplication::translate("PublishCommand", "stopped before publishing"));
  if (book.pageSize.isValid()) {
    tmpl->setPropertyValue(QStringLiteral("pageWidth"), QString::number(book.pageSize.width()));
    tmpl->setPropertyValue(QStringLiteral("pageHeight"), QString::number(book.pageSize.height()));
  }

  // The book.
  // The title shows in the book and names the page: the one given, else the
  // document's own, else the input's name. A title that a style or settings
  // file put into the book stays, unless --title says otherwise.
  if (parser.isSet(titleOpt)) {
    tmpl->setPropertyValue(BookSession::kBookTitleKey, publish.title);
  } else {
    publish.title = BookSession::defaultBookTitle(*book.content.pages, input);
    BookSession::applyBookTitle(*tmpl, publish.title);
  }
  if (QString why; !HXCUtility::makeFolders(publish.folder, &why))
    return fail(
        QCoreApplication::translate("PublishCommand", "cannot create the folder %1: %2").arg(publish.folder, why));
  // A signal while the book is written stops it before it takes the place of
  // the earlier one; once the swap has begun, it is finished first.
  const auto noSignal = [](qsizetype, qsizetype) { return TerminationSignals::received() == 0; };
  const PublishResult result = BookSession::publishBook(publish, book.content, noSignal);
  if (result.needsConfirmation()) return failUnconfirmed(result);
  if (result.cancelled && TerminationSignals::received() != 0)
    return fail(
        QCoreApplication::translate("PublishCommand",
                                    "stopped by signal %1 before the book was put in place; nothing in %2 was changed")
            .arg(TerminationSignals::received())
            .arg(publish.folder));
  if (!result.error.isEmpty()) return fail(result.error);
  if (!result.failures.empty()) {
    err() << "folivox-cli: "
          << QCoreApplication::translate("PublishCommand", "publishing failed; these files could not be written:")
          << "\n";
    for (const PublishFailure& f : result.failures) err() << "  " << f.target << ": " << f.reason << "\n";
    err() << "folivox-cli: "
          << QCoreApplication::translate("PublishCommand", "nothing in %1 was changed").arg(publish.folder) << "\n";
    err().flush();
    return 1;
  }
  // Every file from outside that the book now carries, so that nothing goes
  // out unseen.
  for (const PublishedFile& f : result.externalFiles)
    err() << "folivox-cli: "
          << QCoreApplication::translate("PublishCommand", "copied into the book: %1 (as %2)").arg(f.source, f.target)
          << "\n";
  if (const int sig = TerminationSignals::received(); sig != 0)
    err() << "folivox-cli: "
          << QCoreApplication::translate("PublishCommand",
                                         "signal %1 came while the book was put in place; it was put in place first")
                 .arg(sig)
          << "\n";
  if (result.weight.known()) err() << "folivox-cli: " << result.weight.sentence() << "\n";
  if (epub)
    err() << "folivox-cli: the EPUB takes " << BookWeight::size(QFileInfo(result.outputFileName).size()) << "\n";
  err().flush();
  QTextStream(stdout) << result.outputFileName << "\n";
  return 0;
}
