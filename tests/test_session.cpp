// The desktop program's non-widget side: the book session (demonstration
// pages, preview folder, import adoption, template switch, settings files,
// publishing), the property model's editing rules and the colour texts.
#include <QImage>
#include <QStringDecoder>

#include "TestEnv.h"
#include "base/AppSettings.h"
#include "session/BookSession.h"
#include "base/HXCUtility.h"
#include "base/NotificationCenter.h"
#include "import/FlashPageSource.h"
#include "publish/BookBinReader.h"
#include "templates/FlashTemplate.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/MyColorOper.h"

namespace {

void writeJpeg(const QString& path, QColor colour) {
  QImage img(40, 60, QImage::Format_RGB32);
  img.fill(colour);
  QVERIFY(img.save(path, "JPG"));
}

QString readText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
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

// The value a style's settings file gives a key ("" when it gives none).
QString styleValue(const QString& tmplName, const QString& style, const QString& key) {
  QFile f(FlashTemplate::stylePathFor(tmplName, style) + QStringLiteral("/tmplSetting.txt"));
  if (!f.open(QIODevice::ReadOnly)) return QString();
  QString found;
  for (const auto& [k, v] : FlashTemplate::parseSettings(f.readAll()))
    if (k == key) found = v;
  return found;
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
    for (const char* name : {"b.jpg", "10.jpg", "2.JPG", "note.png"}) writeJpeg(dir.filePath(name), Qt::red);
    const QStringList files = BookSession::demonstrationImages(dir.path());
    QCOMPARE(files, QStringList({dir.filePath("2.JPG"), dir.filePath("10.jpg"), dir.filePath("b.jpg")}));
    const auto source = BookSession::demonstrationPageSource(dir.path());
    QCOMPARE(source->normalPages().size(), size_t(3));
    QCOMPARE(source->normalPages()[1]->pageIndex(), 2);

    QTemporaryDir pngOnly;
    writeJpeg(pngOnly.filePath("a.png"), Qt::blue);
    QVERIFY(BookSession::demonstrationPageSource(pngOnly.path())->normalPages().empty());
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
    const QString folder = PlatformPaths::current().userAppSupport + "/Folivox/preview";
    QCOMPARE(session.flashPreviewFolder(), folder);
    QVERIFY2(first.succeeded(), qPrintable(first.alertDetail()));
    QCOMPARE(first.outputFileName, folder + "/index.html");
    QVERIFY(readText(first.outputFileName).contains("<title>Preview</title>"));
    QVERIFY(BookBinReader::inspect(folder).ok());
    QCOMPARE(QDir(folder + "/files/page").entryList(QDir::Files).size(), qsizetype(demoPages));

    // The preview folder is registered once in the trust file.
    QFile trust(HXCUtility::trustFilePath());
    QVERIFY(trust.open(QIODevice::ReadOnly));
    QCOMPARE(QStringDecoder(QStringDecoder::Utf16).decode(trust.readAll()), folder);
    trust.close();

    // A rebuild reuses the folder and writes over the old book.
    QVERIFY(session.buildPreview().succeeded());
    QCOMPARE(session.flashPreviewFolder(), folder);
    QFile again(HXCUtility::trustFilePath());
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(QStringDecoder(QStringDecoder::Utf16).decode(again.readAll()), folder);

    session.removeFlashPreviewFolder();
    QVERIFY(!QFileInfo::exists(folder));
  }

  void adoptImportAndSwitchTemplate() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    writeJpeg(dir.filePath("1.jpg"), Qt::green);
    writeJpeg(dir.filePath("2.jpg"), Qt::yellow);
    auto pages = BookSession::demonstrationPageSource(dir.path());
    session.adoptImport(pages, nullptr, nullptr, 595, 841);
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
    QVERIFY(!session.changeToChosenStyle(QString()));

    QCOMPARE(BookSession::capitalizedName("float"), QString("Float"));
    QCOMPARE(BookSession::capitalizedName("mAGAZINE two-page"), QString("Magazine Two-Page"));
  }

  void settingsFiles() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    session.flashTmpl()->setPropertyValue("bookTitle", "Exported");
    const QString written = session.exportTmplSettings(dir.filePath("mine"));
    QCOMPARE(written, dir.filePath("mine.txt"));
    QCOMPARE(session.exportTmplSettings(dir.filePath("mine.cfg")), dir.filePath("mine.cfg"));
    QVERIFY(session.exportTmplSettings(dir.filePath("missing/folder/x")).isEmpty());

    session.flashTmpl()->setPropertyValue("bookTitle", "Changed");
    session.importTmplSettings(written);
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Exported"));
    session.importTmplSettings(QString());  // a cancelled panel changes nothing
    QCOMPARE(session.flashTmpl()->propertyValueFor("bookTitle", ""), QString("Exported"));
  }

  void publishing() {
    BookSession session;
    session.start();
    QTemporaryDir dir;
    AppSettings& settings = AppSettings::shareInstance();

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

    PublishResult r = BookSession::publishBook(o, session.flashPageSource(), session.flashTmpl(), nullptr, nullptr);
    QVERIFY2(r.succeeded(), qPrintable(r.alertDetail()));
    QCOMPARE(r.outputFileName, dir.filePath("book/Book.html"));
    QVERIFY(readText(r.outputFileName).contains("Tom &amp; Jerry"));
    QVERIFY(BookBinReader::inspect(dir.filePath("book")).ok());
    QCOMPARE(r.alertMessage(), QString("Open the result files?"));
    QCOMPARE(r.alertDetail(), QString("Publish finished! Open the it?"));

    // The application bundle.
    o.outputType = 1;
    o.folder = dir.path();
    r = BookSession::publishBook(o, session.flashPageSource(), session.flashTmpl(), nullptr, nullptr);
    QVERIFY2(r.succeeded(), qPrintable(r.alertDetail()));
    QVERIFY(r.outputFileName.endsWith("Book.app"));
    QVERIFY(QFileInfo(r.outputFileName).isDir());

    // A folder that cannot be made: the failure is reported, not "finished".
    QFile blocker(dir.filePath("plain-file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    o.outputType = 0;
    o.folder = dir.filePath("plain-file/book");
    r = BookSession::publishBook(o, session.flashPageSource(), session.flashTmpl(), nullptr, nullptr);
    QVERIFY(!r.succeeded());
    QCOMPARE(r.alertMessage(), QString("Publishing failed."));
    QVERIFY(r.alertDetail().startsWith("These files could not be written:\n"));
    QVERIFY(r.alertDetail().contains(o.folder));

    // No folder at all would mean the working directory: refused.
    o.folder = "  ";
    r = BookSession::publishBook(o, session.flashPageSource(), session.flashTmpl(), nullptr, nullptr);
    QVERIFY(!r.succeeded() && !r.error.isEmpty());
    QVERIFY(!QFileInfo::exists("Book.html"));
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
    // Colours and text are stored as typed, no validation; the key column is read-only.
    QVERIFY(model.setData(model.index(2, 1), "not a colour"));
    QCOMPARE(model.index(2, 1).data(Qt::DecorationRole).value<QColor>(), QColor(Qt::black));
    QVERIFY(model.setData(model.index(3, 1), ""));  // absent -> "" is a change
    QVERIFY(!model.setData(model.index(3, 1), ""));
    QVERIFY(!model.setData(model.index(3, 0), "title"));
    QCOMPARE(changes.count, 5);

    QCOMPARE(FlashTemplatePropertyModel::fileExtensions("Pictures|*.jpg;*.png"), QStringList({"", "jpg", "png"}));
    QCOMPARE(FlashTemplatePropertyModel::fileExtensions("*.mp3"), QStringList({"", "mp3"}));
    QVERIFY(FlashTemplatePropertyModel::fileExtensions(QString()).isEmpty());

    model.setFlashTmpl(nullptr);
    QCOMPARE(model.rowCount(), 0);
  }

  void colourTexts() {
    auto rgb = [](const char* text) {
      return MyColorOper::colorFromHexRGB(QString::fromLatin1(text)).rgb() & 0xFFFFFF;
    };
    QCOMPARE(rgb("0x336699"), 0x336699u);
    QCOMPARE(rgb("  0Xff0000"), 0xff0000u);
    QCOMPARE(rgb("12zz"), 0x12u);
    QCOMPARE(rgb("zz"), 0u);
    QCOMPARE(rgb("0x1ffffffffff"), 0xffffffu);  // saturates
    QCOMPARE(MyColorOper::colorFromHexRGB(std::nullopt), QColor(Qt::black));
    QCOMPARE(MyColorOper::colorToHexRGB(QColor(255, 0, 0)), std::optional<QString>("0xff0000"));
    QCOMPARE(MyColorOper::colorToHexRGB(QColor(127, 51, 255)), std::optional<QString>("0x7f33ff"));
    QCOMPARE(MyColorOper::colorToHexRGB(QColor()), std::nullopt);
  }
};

FOLIVOX_TEST_MAIN(TestSession)
#include "test_session.moc"
