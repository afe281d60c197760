// The desktop program's non-widget side: the book session (demonstration
// pages, preview folder, import adoption, template switch, settings files,
// publishing), the property model's editing rules and the colour texts.
#include <sys/stat.h>

#include <QDirIterator>
#include <QImage>
#include <QStringDecoder>

#include "TemplateFixture.h"
#include "TestEnv.h"
#include "base/AppSettings.h"
#include "base/HXCUtility.h"
#include "base/LastFolders.h"
#include "base/NotificationCenter.h"
#include "base/RecentDocuments.h"
#include "import/FlashPageSource.h"
#include "publish/BookBinReader.h"
#include "session/BookBuilder.h"
#include "session/BookSession.h"
#include "session/PreviewPictures.h"
#include "templates/FlashTemplate.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/PropertyValueCheck.h"

namespace {

void writeJpeg(const QString& path, QColor colour) {
  QImage img(40, 60, QImage::Format_RGB32);
  img.fill(colour);
  QVERIFY(img.save(path, "JPG"));
}

std::unique_ptr<FlashTemplateProperty> makeProperty(qint32 type, const QString& key, std::optional<QString> value,
                                                    const QString& source = QString()) {
  auto p = std::make_unique<FlashTemplateProperty>();
  p->setPropertyType(type);
  p->setKey(key);
  p->setTitle(key);
  p->setValue(std::move(value));
  p->setValueSource(source);
  return p;
}

// Imports pictures of `colours` (1.jpg, 2.jpg ... in `dir`) into `session` as
// the pages of a document titled `title`.
std::shared_ptr<FlashPageSourceImg> importPictures(BookSession& session, const QTemporaryDir& dir, const QString& title,
                                                   const QList<QColor>& colours, qint32 width, qint32 height) {
  for (qsizetype i = 0; i < colours.size(); ++i)
    writeJpeg(dir.filePath(QStringLiteral("%1.jpg").arg(i + 1)), colours[i]);
  auto pages = BookSession::demonstrationPageSource(dir.path());
  pages->setDocumentTitle(title);
  session.adoptImport(pages, nullptr, nullptr, width, height);
  return pages;
}

// Counts the value-change notifications posted while it lives.
struct ChangeCounter {
  QObject observer;
  int count = 0;
  const void* last = nullptr;
  ChangeCounter() {
    NotificationCenter::defaultCenter().addObserver(&observer, FlashTmplProValueChangedNotification,
                                                    [this](const Notification& n) {
                                                      ++count;
                                                      last = n.object;
                                                    });
  }
};

}  // namespace

class TestSession : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void demonstrationPages() {
    QTemporaryDir dir;
    // Pictures every browser shows are taken as they are; anything else is not a page.
    for (const char* name : {"b.jpg", "10.jpg", "2.JPG", "3.png", "4.webp", "note.gif", "text.txt"})
      writeJpeg(dir.filePath(name), Qt::red);
    const QStringList files = BookSession::demonstrationImages(dir.path());
    QCOMPARE(files, QStringList({dir.filePath("2.JPG"), dir.filePath("3.png"), dir.filePath("4.webp"),
                                 dir.filePath("10.jpg"), dir.filePath("b.jpg")}));
    const auto source = BookSession::demonstrationPageSource(dir.path());
    QCOMPARE(source->normalPages().size(), size_t(5));
    QCOMPARE(source->normalPages()[1]->pageIndex(), 2);
    QVERIFY(source->normalPages()[1]->pageFilePath().endsWith("/3.png"));

    QTemporaryDir gifOnly;
    writeJpeg(gifOnly.filePath("a.gif"), Qt::blue);
    QVERIFY(BookSession::demonstrationPageSource(gifOnly.path())->normalPages().empty());
  }

  void previewFolderLifecycle() {
    BookSession session;
    session.start();
    QVERIFY(session.flashTmpl() && session.flashTmpl()->loadError().isEmpty());
    const size_t demoPages = session.flashPageSource()->normalPages().size();
    QVERIFY(demoPages > 0);

    session.removeFlashPreviewFolder();  // before any preview: nothing to remove
    QVERIFY(session.flashPreviewFolder().isEmpty());

    const PublishResult first = session.buildPreview();
    const QString parent = PlatformPaths::current().userAppSupport + "/Folivox/preview";
    QCOMPARE(BookSession::previewParentFolder(), parent);
    const QString folder = session.flashPreviewFolder();
    QCOMPARE(QFileInfo(folder).absolutePath(), parent);
    QVERIFY(
        QFileInfo(folder).fileName().startsWith(QStringLiteral("preview-%1-").arg(QCoreApplication::applicationPid())));
    QVERIFY2(first.succeeded(), qPrintable(first.alertDetail()));
    QVERIFY(BookSession::previewProblem(first).isEmpty());
    QCOMPARE(first.outputFileName, folder + "/index.html");
    QVERIFY(readFile(first.outputFileName).contains("<title>Preview</title>"));
    QVERIFY(BookBinReader::inspect(folder).ok());
    QCOMPARE(QDir(folder + "/files/page").entryList(QDir::Files).size(), qsizetype(demoPages));

    // The folder that holds the previews is registered once in the trust file.
    const auto trusted = [] {
      QFile trust(HXCUtility::trustFilePath());
      return trust.open(QIODevice::ReadOnly) ? QString(QStringDecoder(QStringDecoder::Utf16).decode(trust.readAll()))
                                             : QString();
    };
    QCOMPARE(trusted(), parent);

    // A rebuild reuses the folder and writes over the old book.
    QVERIFY(session.buildPreview().succeeded());
    QCOMPARE(session.flashPreviewFolder(), folder);
    QCOMPARE(trusted(), parent);

    session.removeFlashPreviewFolder();
    QVERIFY(!QFileInfo::exists(folder));
  }

  // Two programs running at once: each its own preview, and one quitting
  // leaves the other's alone. A folder that vanished is made again; one that
  // cannot be made is reported.
  void eachRunningProgramHasItsOwnPreview() {
    BookSession one, two;
    one.start();
    two.start();
    QVERIFY(one.buildPreview().succeeded());
    QVERIFY(two.buildPreview().succeeded());
    QVERIFY(one.flashPreviewFolder() != two.flashPreviewFolder());
    const QString kept = two.flashPreviewFolder();
    one.removeFlashPreviewFolder();
    QVERIFY(QFileInfo::exists(kept + "/index.html"));
    QVERIFY(two.buildPreview().succeeded());
    QCOMPARE(two.flashPreviewFolder(), kept);

    // Swept by a cleaner, or by hand: the next rebuild makes a new one.
    QVERIFY(QDir(kept).removeRecursively());
    const PublishResult again = two.buildPreview();
    QVERIFY2(again.succeeded(), qPrintable(again.alertDetail()));
    QVERIFY(two.flashPreviewFolder() != kept);
    QVERIFY(QFileInfo::exists(two.flashPreviewFolder() + "/index.html"));
    QVERIFY(!QFileInfo::exists(kept));
    // The sweep at start-up leaves a running program's preview alone.
    QCOMPARE(BookSession::removeLeftovers(), 0);
    QVERIFY(QFileInfo::exists(two.flashPreviewFolder() + "/index.html"));
    two.removeFlashPreviewFolder();

    // Where no preview folder can be made, the rebuild says why.
    const QString parent = BookSession::previewParentFolder();
    QVERIFY(QDir(parent).removeRecursively());
    QVERIFY(QFile(parent).open(QIODevice::WriteOnly));
    const PublishResult failed = two.buildPreview();
    QVERIFY(!failed.succeeded());
    QVERIFY2(BookSession::previewProblem(failed).contains(parent + " is not a folder"),
             qPrintable(BookSession::previewProblem(failed)));
    QVERIFY(QFile::remove(parent));
    QVERIFY(two.buildPreview().succeeded());
    two.removeFlashPreviewFolder();
  }

  void adoptImportAndSwitchTemplate() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    auto pages = importPictures(session, dir, "Annual Report", {Qt::green, Qt::yellow}, 595, 841);
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Annual Report"));
    QCOMPARE(session.flashTmpl()->propertyValueFor("pageWidth", ""), QString("595"));
    QCOMPARE(session.flashTmpl()->propertyValueFor("pageHeight", ""), QString("841"));
    QCOMPARE(session.flashPageSource().get(), static_cast<FlashPageSource*>(pages.get()));
    QVERIFY(!session.flashPagesAnnotations() && !session.flashOutline());
    const PublishResult preview = session.buildPreview();
    QVERIFY(preview.succeeded());
    QVERIFY(QFileInfo::exists(session.flashPreviewFolder() + "/files/page/2.jpg"));
    session.removeFlashPreviewFolder();

    // Choosing a style switches template and style but keeps page size and language.
    session.flashTmpl()->setPropertyValue("languageSetting", "Deutsch");
    const QString ocean = FlashTemplate::stylePathFor("float", "Ocean");
    const auto name = session.changeToChosenStyle(QDir(ocean).filePath("shot.jpg"));
    QCOMPARE(name, std::optional<QString>("float"));
    QCOMPARE(session.flashTmpl()->styleName(), std::optional<QString>("Ocean"));
    QCOMPARE(session.flashTmpl()->propertyValueFor("bgColor", ""), styleValue("float", "Ocean", "bgColor"));
    QCOMPARE(session.flashTmpl()->propertyValueFor("pageWidth", ""), QString("595"));
    QCOMPARE(session.flashTmpl()->propertyValueFor("languageSetting", ""), QString("Deutsch"));
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Annual Report"));
    QVERIFY(!session.changeToChosenStyle(QString()));

    // The next import's title replaces the last one's, but never a title the user typed.
    auto next = BookSession::demonstrationPageSource(dir.path());
    next->setDocumentTitle(QStringLiteral("Second"));
    session.adoptImport(next, nullptr, nullptr, 595, 841);
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Second"));
    session.flashTmpl()->setPropertyValue("bookTitle", "Mine");
    session.adoptImport(pages, nullptr, nullptr, 595, 841);
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Mine"));

    QCOMPARE(FlashTemplate::displayName("mAGAZINE two-page"), QString("Magazine Two-Page"));
  }

  // A change of template or style keeps what the user set or imported, and
  // says which of it the new style set anew or the new template has no room for.
  void styleChangesKeepWhatTheUserSet() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    importPictures(session, dir, "Imported Title", {Qt::green}, 500, 700);
    writeJpeg(dir.filePath("logo.jpg"), Qt::blue);
    FlashTemplate& t = *session.flashTmpl();
    t.setPropertyValue("logoFile", dir.filePath("logo.jpg"));
    t.setPropertyValue("rightToLeft", "YES");
    t.setPropertyValue("isHardCover", "YES");
    t.setPropertyValue("showZoom", "NO");

    // The chooser's OK with a template and no style: its default style.
    TemplateChange change;
    QVERIFY(session.changeToTemplate("slate", &change));
    QCOMPARE(t.tmplName(), QString("slate"));
    QCOMPARE(t.propertyValueFor("bookTitle", ""), QString("Imported Title"));
    QCOMPARE(t.propertyValueFor("logoFile", ""), dir.filePath("logo.jpg"));
    QCOMPARE(t.propertyValueFor("rightToLeft", ""), QString("YES"));
    QCOMPARE(t.propertyValueFor("showZoom", ""), QString("NO"));
    QCOMPARE(t.propertyValueFor("pageWidth", ""), QString("500"));
    // Every style sets its own hard cover: that is said, not done silently.
    const QString slateStyle = FlashTemplate("slate").defaultSytleName();
    QCOMPARE(t.propertyValueFor("isHardCover", ""), styleValue("slate", slateStyle, "isHardCover"));
    QCOMPARE(change.replaced, QStringList{t.propertyForKey("isHardCover")->title()});

    // Values that only the old style gave are not the user's: the new style's
    // own apply, and nothing is reported for them.
    QVERIFY(session.changeToChosenStyle(FlashTemplate::stylePathFor("float", "Ocean") + "/shot.jpg", &change));
    QVERIFY(session.changeToChosenStyle(FlashTemplate::stylePathFor("float", "Night") + "/shot.jpg", &change));
    QCOMPARE(t.propertyValueFor("bgColor", ""), styleValue("float", "Night", "bgColor"));
    QCOMPARE(t.propertyValueFor("innerMainbgImgUrl", ""),
             FlashTemplate::stylePathFor("float", "Night") + "/" +
                 styleValue("float", "Night", "innerMainbgImgUrl").section(':', 1));
    QVERIFY2(change.replaced.isEmpty(), qPrintable(change.replaced.join(", ")));
    QCOMPARE(t.propertyValueFor("bookTitle", ""), QString("Imported Title"));
    QCOMPARE(t.propertyValueFor("rightToLeft", ""), QString("YES"));

    // A colour the user chose that the style sets too: the style's, and said.
    t.setPropertyValue("bgColor", "0x010203");
    QVERIFY(session.changeToChosenStyle(FlashTemplate::stylePathFor("float", "Ocean") + "/shot.jpg", &change));
    QCOMPARE(t.propertyValueFor("bgColor", ""), styleValue("float", "Ocean", "bgColor"));
    QVERIFY(change.replaced.contains(t.propertyForKey("bgColor")->title()));
    QVERIFY(change.dropped.isEmpty());
  }

  void settingsFiles() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    session.flashTmpl()->setPropertyValue("bookTitle", "Exported");
    const QString written = session.exportTmplSettings(dir.filePath("mine")).path;
    QCOMPARE(written, dir.filePath("mine.txt"));
    QVERIFY(QFileInfo::exists(written));
    QCOMPARE(session.exportTmplSettings(dir.filePath("mine.cfg")).path, dir.filePath("mine.cfg"));
    // A failure names the file actually tried (with its ".txt") and why.
    const ExportResult failed = session.exportTmplSettings(dir.filePath("missing/folder/x"));
    QVERIFY(!failed.succeeded());
    QCOMPARE(failed.path, dir.filePath("missing/folder/x.txt"));
    QVERIFY2(!failed.error.isEmpty(), qPrintable(failed.error));

    session.flashTmpl()->setPropertyValue("bookTitle", "Changed");
    session.importTmplSettings(written);
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Exported"));
    session.importTmplSettings(QString());  // a cancelled panel changes nothing
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Exported"));

    // A logo from elsewhere goes beside the exported settings, so that
    // importing them again takes it back; the program's own files stay put.
    QVERIFY(QDir().mkpath(dir.filePath("pictures")) && QDir().mkpath(dir.filePath("elsewhere")));
    writeJpeg(dir.filePath("pictures/logo.jpg"), Qt::red);
    session.flashTmpl()->setPropertyValue("logoFile", dir.filePath("pictures/logo.jpg"));
    session.flashTmpl()->setPropertyValue("flipSound", dir.filePath("gone.mp3"));
    const QString style = FlashTemplate::stylePathFor("float", "Ocean");
    session.changeToChosenStyle(style + "/shot.jpg");
    const QString background = session.flashTmpl()->propertyValueFor("innerMainbgImgUrl", "");
    QVERIFY(background.startsWith(style));
    const ExportResult exported = session.exportTmplSettings(dir.filePath("elsewhere/look.txt"));
    QVERIFY2(exported.succeeded(), qPrintable(exported.error));
    const QString copy = dir.filePath("elsewhere/look-logoFile.jpg");
    QCOMPARE(exported.files.copied, QStringList{copy});
    QCOMPARE(readFile(copy), readFile(dir.filePath("pictures/logo.jpg")));
    QCOMPARE(exported.files.problems.size(), qsizetype(1));  // the sound that is not there
    QVERIFY2(exported.files.problems.first().contains("gone.mp3"), qPrintable(exported.files.problems.first()));
    session.flashTmpl()->setPropertyValue("logoFile", "");
    session.flashTmpl()->setPropertyValue("innerMainbgImgUrl", "");
    const SettingsFileResult back = session.importTmplSettings(dir.filePath("elsewhere/look.txt"));
    QCOMPARE(session.flashTmpl()->propertyValueFor("logoFile", ""), copy);
    QCOMPARE(session.flashTmpl()->propertyValueFor("innerMainbgImgUrl", ""), background);
    QCOMPARE(back.refused.size(), qsizetype(1));
    QVERIFY(back.refused.first().startsWith("flipSound"));
  }

  void publishing() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    AppSettings& settings = AppSettings::shareInstance();
    const auto publish = [&](const PublishOptions& options) {
      return BookSession::publishBook(options, {session.flashTmpl(), session.flashPageSource()});
    };

    // A web folder that does not exist yet is made (one level) and filled.
    PublishOptions o;
    o.folder = dir.filePath("book");
    o.name = "Book";
    o.title = "Tom & Jerry";
    o.store(settings);
    QSettings store(QStringLiteral("Folivox"), QStringLiteral("Folivox"));
    QCOMPARE(store.value("lastOutputFileFolder").toString(), o.folder);
    QCOMPARE(store.value("lastOutputFileTitle").toString(), o.title);
    QCOMPARE(PublishOptions::fromSettings(settings).name, QString("Book"));

    PublishResult r = publish(o);
    QVERIFY2(r.succeeded(), qPrintable(r.alertDetail()));
    QCOMPARE(r.outputFileName, dir.filePath("book/Book.html"));
    QVERIFY(readFile(r.outputFileName).contains("Tom &amp; Jerry"));
    QVERIFY(BookBinReader::inspect(dir.filePath("book")).ok());
    QCOMPARE(r.alertMessage(), QString("Open the result files?"));
    // The weight: every file of the book, and what opening it downloads (the
    // page, book.bin and the cover, whose thumbnail is its own picture here).
    qint64 all = 0;
    for (QDirIterator it(dir.filePath("book"), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
      all += QFileInfo(it.next()).size();
    QCOMPARE(r.weight.bookBytes, all);
    QCOMPARE(r.weight.openingBytes, QFileInfo(r.outputFileName).size() +
                                        QFileInfo(dir.filePath("book/files/book.bin")).size() +
                                        QFileInfo(dir.filePath("book/files/page/1.jpg")).size());
    QCOMPARE(r.alertDetail(),
             "Publish finished! The book is in " + dir.filePath("book") + ".\nOpen it?\n" + r.weight.sentence());
    QCOMPARE(BookWeight::size(900), QString("900 bytes"));
    QCOMPARE(BookWeight::size(317440), QString("310 KB"));
    QCOMPARE(BookWeight::size(4404019), QString("4.2 MB"));

    // An empty title is the document's, as on the command line: its own
    // title, else its file name, else the book's title.
    PublishOptions untitled = o;
    untitled.title = " ";
    untitled.document = dir.filePath("Quarterly Report.pdf");
    r = publish(untitled);
    QVERIFY2(readFile(r.outputFileName).contains("<title>Quarterly Report</title>"),
             readFile(r.outputFileName).constData());
    untitled.document.clear();
    QCOMPARE(untitled.pageTitle(session.flashPageSource().get(), session.flashTmpl().get()),
             session.flashTmpl()->propertyValueFor("bookTitle", ""));
    session.flashPageSource()->setDocumentTitle("Its Own Title");
    QCOMPARE(untitled.pageTitle(session.flashPageSource().get(), session.flashTmpl().get()), QString("Its Own Title"));
    session.flashPageSource()->setDocumentTitle(QString());
    // A file from outside the book is named in the alert.
    const QString logo = dir.filePath("logo.png");
    QVERIFY(writeFile(logo, {}));
    session.flashTmpl()->setPropertyValue("logoFile", logo);
    r = publish(o);
    QVERIFY2(r.alertDetail().endsWith("These files were copied into the book:\n" + logo +
                                      " (as files/extfiles/logoFile.png)"),
             qPrintable(r.alertDetail()));
    session.flashTmpl()->setPropertyValue("logoFile", "");

    // The application bundle.
    o.outputType = 1;
    o.folder = dir.path();
    r = publish(o);
    QVERIFY2(r.succeeded(), qPrintable(r.alertDetail()));
    QVERIFY(r.outputFileName.endsWith("Book.app"));
    QVERIFY(QFileInfo(r.outputFileName).isDir());

    // A folder that cannot be made: the failure is reported, not "finished".
    QVERIFY(writeFile(dir.filePath("plain-file"), {}));
    o.outputType = 0;
    o.folder = dir.filePath("plain-file/book");
    r = publish(o);
    QVERIFY(!r.succeeded());
    QCOMPARE(r.alertMessage(), QString("Publishing failed."));
    QVERIFY(r.alertDetail().contains(o.folder));

    // No folder at all would mean the working directory; "/" is no book's
    // folder; a page name must stay a name.
    const auto refused = [&](const QString& folder, const QString& name) {
      PublishOptions bad = o;
      bad.folder = folder;
      bad.name = name;
      const PublishResult result = publish(bad);
      return !result.succeeded() && result.failures.empty() && !result.error.isEmpty();
    };
    QVERIFY(refused("  ", "Book"));
    QVERIFY(refused("/", "Book"));
    QVERIFY(refused("//.", "Book"));
    for (const QString& name : {QString("../victim"), QString("a/b"), QString("a\\b"), QString("x..y"),
                                QString::fromLatin1("a\0b", 3), QString("line\nbreak")})
      QVERIFY2(refused(dir.path(), name), qPrintable(name));
    QVERIFY(!QFileInfo::exists("Book.html"));
    QVERIFY(!QFileInfo::exists(dir.filePath("victim.html")));

    // An empty name is "index", as the dialog's hint says; for a bundle too.
    o.folder = dir.filePath("unnamed");
    o.name = " ";
    r = publish(o);
    QVERIFY2(r.succeeded(), qPrintable(r.alertDetail()));
    QCOMPARE(r.outputFileName, dir.filePath("unnamed/index.html"));
    o.outputType = 1;
    o.name.clear();
    r = publish(o);
    QCOMPARE(r.outputFileName, dir.filePath("unnamed/index.app"));
    QVERIFY(QFileInfo::exists(dir.filePath("unnamed/index.app/Contents/Resources/index.html")));
  }

  void propertyModel() {
    auto tmpl = std::make_shared<FlashTemplate>("no-such-template");
    FlashTemplatePropertyList props;
    props.push_back(makeProperty(pt_list, "size", "medium", "small,medium,large"));
    props.push_back(makeProperty(pt_bool, "show", "Show"));
    props.push_back(makeProperty(pt_color, "colour", "0x336699"));
    props.push_back(makeProperty(pt_text, "note", std::nullopt));
    auto group = makeProperty(pt_composite, "group", "");
    group->setTitle(QString());
    group->addChild(makeProperty(pt_file, "picture", "/a.png", "Pictures|*.jpg;*.png"));
    props.push_back(std::move(group));
    tmpl->setProperties(std::move(props));

    FlashTemplatePropertyModel model;
    model.setFlashTmpl(tmpl);
    QCOMPARE(model.rowCount(), 5);
    const QModelIndex groupKey = model.index(4, 0);
    QCOMPARE(model.rowCount(groupKey), 1);
    QCOMPARE(groupKey.data().toString(), QString("(Untitled)"));
    const QModelIndex picture = model.index(0, 1, groupKey);
    QCOMPARE(model.parent(picture), groupKey);
    QCOMPARE(picture.data().toString(), QString("/a.png"));
    QCOMPARE(model.index(3, 1).data().toString(), QString("(Unknown)"));
    QCOMPARE(model.index(1, 1).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(model.index(1, 1).data(FlashTemplatePropertyModel::ObjectValueRole).toInt(), 1);
    const QColor swatch = model.index(2, 1).data(Qt::DecorationRole).value<QColor>();
    QCOMPARE(swatch.red(), 0x33);
    QCOMPARE(swatch.blue(), 0x99);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

    ChangeCounter changes;
    // List: the index of the chosen entry; the same entry again changes nothing.
    QVERIFY(model.setData(model.index(0, 1), 2));
    QCOMPARE(tmpl->properties()[0]->value(), QString("large"));
    QVERIFY(!model.setData(model.index(0, 1), 2));
    QVERIFY(!model.setData(model.index(0, 1), 7));  // out of range
    QCOMPARE(changes.count, 1);
    QCOMPARE(changes.last, static_cast<const void*>(tmpl->properties()[0].get()));
    // Switch: "Show" shows ticked; unticking stores NO, unticking again nothing.
    QVERIFY(model.setData(model.index(1, 1), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(tmpl->properties()[1]->value(), QString("NO"));
    QVERIFY(!model.setData(model.index(1, 1), Qt::Unchecked, Qt::CheckStateRole));
    QVERIFY(model.setData(model.index(1, 1), true));
    QCOMPARE(tmpl->properties()[1]->value(), QString("YES"));
    // Text is stored as typed (colours are checked, see typedNumbersAndColoursAreChecked);
    // the key column is read-only.
    QVERIFY(!model.setData(model.index(2, 1), "not a colour"));
    QVERIFY(model.setData(model.index(2, 1), "0x000000"));
    QCOMPARE(model.index(2, 1).data(Qt::DecorationRole).value<QColor>(), QColor(Qt::black));
    QVERIFY(model.setData(model.index(3, 1), ""));  // absent -> "" is a change
    QVERIFY(!model.setData(model.index(3, 1), ""));
    QVERIFY(!model.setData(model.index(3, 0), "title"));
    QCOMPARE(changes.count, 5);

    // Files: only existing files of the property's kind, or none.
    QTemporaryDir files;
    for (const char* name : {"photo.PNG", "id_ed25519", "song.mp3"}) QVERIFY(writeFile(files.filePath(name), {}));
    QVERIFY(model.setData(picture, files.filePath("photo.PNG")));
    QVERIFY(!model.setData(picture, files.filePath("id_ed25519")));
    QVERIFY(!model.setData(picture, files.filePath("song.mp3")));
    QVERIFY(!model.setData(picture, files.filePath("missing.png")));
    QCOMPARE(picture.data().toString(), files.filePath("photo.PNG"));
    QVERIFY(model.setData(picture, ""));
    QCOMPARE(changes.count, 7);

    QCOMPARE(FlashTemplatePropertyModel::fileExtensions("Pictures|*.jpg;*.png"), QStringList({"", "jpg", "png"}));
    QCOMPARE(FlashTemplatePropertyModel::fileExtensions("*.mp3"), QStringList({"", "mp3"}));
    QVERIFY(FlashTemplatePropertyModel::fileExtensions(QString()).isEmpty());

    model.setFlashTmpl(nullptr);
    QCOMPARE(model.rowCount(), 0);
  }

  void undoAndRedoOfTemplateSteps() {
    BookSession session;
    session.start();
    FlashTemplate& t = *session.flashTmpl();
    FlashTemplatePropertyModel model;
    model.setFlashTmpl(session.flashTmpl());
    auto edit = [&](const QString& key, const QString& value) {
      QVERIFY(model.setObjectValue(*t.propertyForKey(key), value));
      QVERIFY(session.recordTemplateEdit(t.propertyForKey(key)->title()));
    };
    const QString title0 = t.propertyValueFor("bookTitle", "");
    QVERIFY(!session.hasUnsavedChanges() && !session.history().canUndo());
    QVERIFY(!session.recordTemplateEdit("nothing changed"));

    edit("bookTitle", "One");
    edit("bookTitle", "Two");
    QVERIFY(session.hasUnsavedChanges());
    QCOMPARE(session.history().undoLabel(), t.propertyForKey("bookTitle")->title());
    QVERIFY(session.undo());
    QCOMPARE(t.propertyValueFor("bookTitle", ""), QString("One"));
    QVERIFY(session.undo());
    QCOMPARE(t.propertyValueFor("bookTitle", ""), title0);
    QVERIFY(!session.undo());
    QVERIFY(!session.hasUnsavedChanges());  // back at the saved state
    QVERIFY(session.redo());
    QCOMPARE(t.propertyValueFor("bookTitle", ""), QString("One"));
    edit("bookTitle", "Three");  // a new edit drops what was undone
    QVERIFY(!session.history().canRedo());

    // An export saves the values; an import of pages is unsaved until published.
    QTemporaryDir dir;
    QVERIFY(session.exportTmplSettings(dir.filePath("look")).succeeded());
    QVERIFY(!session.hasUnsavedChanges());
    writeJpeg(dir.filePath("1.jpg"), Qt::green);
    session.adoptImport(BookSession::demonstrationPageSource(dir.path()), nullptr, nullptr, 595, 841,
                        dir.filePath("1.jpg"));
    QVERIFY(session.hasUnsavedChanges());
    QCOMPARE(session.documentTitle(), QString("1.jpg"));
    // The page size of an import is no step: undoing the last edit keeps it.
    QVERIFY(session.undo());
    QCOMPARE(t.propertyValueFor("bookTitle", ""), QString("One"));
    QCOMPARE(t.propertyValueFor("pageWidth", ""), QString("595"));
    QVERIFY(session.redo());
    session.markPublished();
    QVERIFY(!session.hasUnsavedChanges());

    // A style is one step, whatever it changed; so is a switch of template,
    // whose undo loads the old template back and keeps the page size.
    const QString bg = t.propertyValueFor("bgColor", "");
    QVERIFY(session.changeToChosenStyle(FlashTemplate::stylePathFor("float", "Ocean") + "/shot.jpg"));
    QVERIFY(t.propertyValueFor("bgColor", "") != bg);
    QVERIFY(session.undo());
    QCOMPARE(t.propertyValueFor("bgColor", ""), bg);
    QCOMPARE(t.propertyValueFor("bookTitle", ""), QString("Three"));
    QVERIFY(session.changeToTemplate("slate"));
    QCOMPARE(t.tmplName(), QString("slate"));
    QCOMPARE(t.styleName(), std::optional<QString>(FlashTemplate("slate").defaultSytleName()));
    session.adoptImport(session.flashPageSource(), nullptr, nullptr, 300, 400);
    QVERIFY(session.undo());
    QCOMPARE(t.tmplName(), QString("float"));
    QCOMPARE(t.propertyValueFor("bookTitle", ""), QString("Three"));
    QCOMPARE(t.propertyValueFor("pageWidth", ""), QString("300"));
    QVERIFY(session.redo());
    QCOMPARE(t.tmplName(), QString("slate"));
    QVERIFY(!session.changeToTemplate("no-such-template"));

    // Imported settings are one step.
    session.importTmplSettings(dir.filePath("look.txt"));
    QCOMPARE(session.history().undoLabel(), QString("Import Settings"));
  }

  void typedNumbersAndColoursAreChecked() {
    QVERIFY(PropertyValueCheck::check(pt_number, " 600 ").ok);
    QCOMPARE(PropertyValueCheck::check(pt_number, " 600 ").value, QString("600"));
    QVERIFY(PropertyValueCheck::check(pt_number, "-2.5").ok);
    for (const char* bad : {"abc", "", "12px", "1.2.3", "--1"}) {
      const PropertyValueCheck r = PropertyValueCheck::check(pt_number, bad);
      QVERIFY2(!r.ok && !r.reason.isEmpty(), bad);
    }
    QCOMPARE(PropertyValueCheck::check(pt_color, "0X33AAff").value, QString("0x33aaff"));
    QCOMPARE(PropertyValueCheck::check(pt_color, "#336699").value, QString("0x336699"));
    for (const char* bad : {"red", "0x12345", "0x1234567", "", "0xgg0000"})
      QVERIFY2(!PropertyValueCheck::check(pt_color, bad).ok, bad);
    QVERIFY(PropertyValueCheck::check(pt_text, "anything at all").ok);
    // A number property's range from the template: whole numbers when its ends are.
    for (const char* bad : {"-5", "0", "600.5", "600.", "99999", "2e12", "61200"}) {
      const PropertyValueCheck r = PropertyValueCheck::check(pt_number, bad, "1..14400");
      QVERIFY2(!r.ok && !r.reason.isEmpty(), bad);
    }
    QVERIFY(PropertyValueCheck::check(pt_number, "14400", "1..14400").ok);
    QVERIFY(PropertyValueCheck::check(pt_number, "0.25", "0..1.5").ok);
    QVERIFY(!PropertyValueCheck::check(pt_number, "1.75", "0..1.5").ok);
    QVERIFY(PropertyValueCheck::check(pt_number, "-3", "no range").ok);

    // The model keeps the old value and announces nothing for a refused text.
    BookSession session;
    session.start();
    FlashTemplatePropertyModel model;
    model.setFlashTmpl(session.flashTmpl());
    FlashTemplate& t = *session.flashTmpl();
    ChangeCounter changes;
    const QString width = t.propertyValueFor("pageWidth", "");
    QVERIFY(!model.setObjectValue(*t.propertyForKey("pageWidth"), "abc"));
    QCOMPARE(t.propertyValueFor("pageWidth", ""), width);
    const QString colour = t.propertyValueFor("toolbarColor", "");
    QVERIFY(!model.setObjectValue(*t.propertyForKey("toolbarColor"), "red"));
    QCOMPARE(t.propertyValueFor("toolbarColor", ""), colour);
    QCOMPARE(changes.count, 0);
    QVERIFY(model.setObjectValue(*t.propertyForKey("toolbarColor"), "#102030"));
    QCOMPARE(t.propertyValueFor("toolbarColor", ""), QString("0x102030"));
    QCOMPARE(changes.count, 1);
    const QModelIndex colourValue =
        model.indexOf(t.propertyForKey("toolbarColor"), FlashTemplatePropertyModel::ValueColumn);
    QCOMPARE(colourValue.data(Qt::DisplayRole).toString(), QString("#102030"));
    QCOMPARE(colourValue.data(Qt::EditRole).toString(), QString("#102030"));
    // The shipped templates give the page size a range.
    for (const char* bad : {"-5", "0", "600.5", "99999", "2e12"})
      QVERIFY2(!model.setObjectValue(*t.propertyForKey("pageWidth"), QString::fromLatin1(bad)), bad);
    QVERIFY(model.setObjectValue(*t.propertyForKey("pageWidth"), "640"));
  }

  void recentDocumentsAndStartFolders() {
    RecentDocuments::clear();
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 12; ++i) {
      files << dir.filePath(QStringLiteral("doc%1.pdf").arg(i));
      QVERIFY(writeFile(files.last(), {}));
    }
    for (const QString& f : files) RecentDocuments::add(f);
    RecentDocuments::add(files[5]);  // again: moves to the top, no twin
    QStringList recent = RecentDocuments::list();
    QCOMPARE(recent.size(), RecentDocuments::kMaxCount);
    QCOMPARE(recent.first(), files[5]);
    QCOMPARE(recent.at(1), files[11]);
    QCOMPARE(recent.count(files[5]), qsizetype(1));
    QFile::remove(files[11]);  // gone files are dropped
    recent = RecentDocuments::list();
    QVERIFY(!recent.contains(files[11]));
    RecentDocuments::clear();
    QVERIFY(RecentDocuments::list().isEmpty());

    // Dialogs start in the documents or home folder, then where the user was;
    // never in the program's resource folder.
    const QString start = LastFolders::startFolder(LastFolders::Settings);
    QVERIFY(start == QDir::homePath() || start.startsWith(QDir::homePath() + "/"));
    LastFolders::remember(LastFolders::Settings, files[0]);
    QCOMPARE(LastFolders::startFolder(LastFolders::Settings), dir.path());
    QCOMPARE(LastFolders::startFolder(LastFolders::Document), start);  // each kind its own
    const QString logo = FlashTemplate::stylePathFor("float", "Ocean") + "/shot.jpg";
    QCOMPARE(LastFolders::startFolderFor(LastFolders::Settings, logo), dir.path());
    LastFolders::remember(LastFolders::Publish, FlashTemplate::appFilesFolder());
    QCOMPARE(LastFolders::startFolder(LastFolders::Publish), start);
    QCOMPARE(LastFolders::startFolderFor(LastFolders::Publish, dir.path()), dir.path());
  }

  void previewBuildsOnAWorkerFromASnapshot() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    importPictures(session, dir, "", QList<QColor>(30, Qt::cyan), 40, 60);
    session.flashTmpl()->setPropertyValue("bookTitle", "Snapshot title");

    BookBuilder builder;
    QSignalSpy finished(&builder, &BookBuilder::finished);
    QSignalSpy progress(&builder, &BookBuilder::progress);
    const QString a = dir.filePath("a");
    const QString b = dir.filePath("b");
    QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
    auto build = [&](const QString& folder) {
      return builder.request([book = session.snapshot(), folder](const FlashBookOutput::Progress& p) {
        return BookSession::buildPreviewInto(book, folder, p);
      });
    };
    build(a);
    const quint64 second = build(b);
    // Edits after the request do not reach the book being built.
    session.flashTmpl()->setPropertyValue("bookTitle", "Edited meanwhile");
    QVERIFY(builder.isBuilding());
    QVERIFY(finished.wait(60000));
    // One build runs at a time and reports in order: a report of the superseded one
    // would have come before this one.
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).toULongLong(), second);
    const auto result = finished.first().at(1).value<PublishResult>();
    QVERIFY2(result.succeeded(), qPrintable(result.alertDetail()));
    QVERIFY(!builder.isBuilding());
    const BookBinReader::Result book = BookBinReader::inspect(b);
    QVERIFY(book.ok());
    QVERIFY(book.bookXml.contains("Snapshot title"));
    QVERIFY(!progress.isEmpty());
    for (const QList<QVariant>& p : progress) QCOMPARE(p.at(0).toULongLong(), second);
    QCOMPARE(progress.last().at(1).toLongLong(), qlonglong(30));
    QCOMPARE(progress.last().at(2).toLongLong(), qlonglong(30));

    // A cancelled build stops between pages and changes nothing in the folder.
    const QString c = dir.filePath("c");
    QVERIFY(QDir().mkpath(c));
    finished.clear();
    builder.request([book = session.snapshot(), c](const FlashBookOutput::Progress& p) {
      return BookSession::buildPreviewInto(book, c, [&p](qsizetype done, qsizetype total) {
        return p(done, total) && done < 3;  // as if Cancel came after page 3
      });
    });
    QVERIFY(finished.wait(60000));
    const auto stopped = finished.first().at(1).value<PublishResult>();
    QVERIFY(stopped.cancelled && !stopped.succeeded());
    QVERIFY(QDir(c).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
  }

  // Apply rebuilds the preview: its pictures are links to the imported ones,
  // never copies, on the same file system and across file systems alike.
  void previewLinksItsPictures() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    importPictures(session, dir, "", QList<QColor>(3, Qt::cyan), 40, 60);
    const auto inode = [](const QString& path) {
      struct stat st {};
      return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    for (int build = 0; build < 2; ++build) {
      const PublishResult r = session.buildPreview();
      QVERIFY2(r.succeeded(), qPrintable(r.alertDetail()));
      for (int i = 1; i <= 3; ++i)
        QCOMPARE(inode(session.flashPreviewFolder() + QStringLiteral("/files/page/%1.jpg").arg(i)),
                 inode(dir.filePath(QStringLiteral("%1.jpg").arg(i))));
    }

    // From another file system: copied once into the preview's store, then
    // linked by every build; pruned once no book shows it.
    struct stat shm {};
    struct stat here {};
    if (::stat("/dev/shm", &shm) != 0 ||
        ::stat(QFile::encodeName(session.flashPreviewFolder()).constData(), &here) != 0 || shm.st_dev == here.st_dev)
      QSKIP("no second file system (/dev/shm) to take pictures from");
    QTemporaryDir other(QStringLiteral("/dev/shm/folivox-test-XXXXXX"));
    writeJpeg(other.filePath("page.jpg"), Qt::magenta);
    QVERIFY(QFile::link(other.filePath("page.jpg"), other.filePath("link.jpg")));
    int copies = 0;
    const PreviewPictures::Copy copy = [&copies](const QString& from, const QString& to) {
      ++copies;
      return QFileInfo(from).isFile() && !QFileInfo(from).isSymLink() && QFile::copy(from, to);
    };
    const QString preview = session.flashPreviewFolder();
    QVERIFY(PreviewPictures::place(preview, other.filePath("page.jpg"), preview + "/a.jpg", copy));
    QVERIFY(PreviewPictures::place(preview, other.filePath("page.jpg"), preview + "/b.jpg", copy));
    QCOMPARE(copies, 1);
    QCOMPARE(inode(preview + "/a.jpg"), inode(preview + "/b.jpg"));
    QCOMPARE(readFile(preview + "/b.jpg"), readFile(other.filePath("page.jpg")));
    QVERIFY(!(QFileInfo(preview + "/a.jpg").permissions() & QFileDevice::WriteOwner));  // shared: read-only
    // A link among the pictures is never followed: the copy refuses it.
    QVERIFY(!PreviewPictures::place(preview, other.filePath("link.jpg"), preview + "/c.jpg", copy));
    QVERIFY(!QFileInfo::exists(preview + "/c.jpg"));
    QCOMPARE(PreviewPictures::prune(preview), 0);
    QVERIFY(QFile::remove(preview + "/a.jpg") && QFile::remove(preview + "/b.jpg"));
    QCOMPARE(PreviewPictures::prune(preview), 1);
  }

  // The pages an import replaces, with their work folder of thousands of
  // files, are let go of away from the window's thread.
  void replacedPagesGoOnAWorker() {
    struct Pages : FlashPageSource {
      std::atomic<QThread*>* endedOn;
      explicit Pages(std::atomic<QThread*>* t) : endedOn(t) {}
      ~Pages() override { endedOn->store(QThread::currentThread()); }
    };
    std::atomic<QThread*> endedOn{nullptr};
    BookSession session;
    session.start();
    session.adoptImport(std::make_shared<Pages>(&endedOn), nullptr, nullptr, 40, 60);
    session.adoptImport(BookSession::demonstrationPageSource(), nullptr, nullptr, 40, 60);
    QTRY_VERIFY(endedOn.load() != nullptr);
    QVERIFY(endedOn.load() != QThread::currentThread());
  }

  // Thousands of pages report their progress a few times a second, not once
  // a page: each report repaints the window.
  void buildProgressIsReportedSparingly() {
    BookBuilder builder;
    QSignalSpy finished(&builder, &BookBuilder::finished);
    QSignalSpy progress(&builder, &BookBuilder::progress);
    builder.request([](const FlashBookOutput::Progress& p) {
      for (int page = 1; page <= 5000; ++page) p(page, 5000);
      return PublishResult{};
    });
    QVERIFY(finished.wait(60000));
    QVERIFY2(progress.size() >= 2 && progress.size() <= 10, qPrintable(QString::number(progress.size())));
    QCOMPARE(progress.first().at(1).toLongLong(), qlonglong(1));
    QCOMPARE(progress.last().at(1).toLongLong(), qlonglong(5000));
  }
};

FOLIVOX_TEST_MAIN(TestSession)
#include "test_session.moc"
