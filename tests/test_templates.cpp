// Template properties, package loading, value lookup, styles and settings files.
#include <pugixml.hpp>

#include "TemplateFixture.h"
#include "templates/FlashTemplate.h"
#include "templates/MyColorOper.h"
#include "templates/StringUtil.h"

namespace {

std::unique_ptr<FlashTemplateProperty> loadProperty(const QString& xml) {
  pugi::xml_document doc;
  const QByteArray utf8 = xml.toUtf8();
  if (!doc.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default | pugi::parse_ws_pcdata))
    return nullptr;
  auto p = std::make_unique<FlashTemplateProperty>();
  p->loadFromNode(doc.document_element());
  return p;
}

}  // namespace

class TestTemplates : public QObject {
  Q_OBJECT
  QTemporaryDir m_res;
  void writePackage(const QString& name, const QString& xml) {
    writeFile(templateFolder(name) + "flashTemplate.xml", xml.toUtf8());
  }

 private Q_SLOTS:
  void initTestCase() {
    PlatformPaths p = PlatformPaths::current();
    p.resourceFolder = m_res.path();
    PlatformPaths::setCurrent(p);
  }

  void stringUtil() {
    for (const char* yes : {"yes", "Show", "enable", "TRUE"}) QVERIFY(StringUtil::valueAsBool(QLatin1String(yes)));
    for (const char* no : {"true ", "1", "on", "", "NO"}) QVERIFY(!StringUtil::valueAsBool(QLatin1String(no)));
    QCOMPARE(StringUtil::flashTemplatePropertyTypeFromString(QStringLiteral("PT_BOOL")), 0);
    QCOMPARE(StringUtil::flashTemplatePropertyTypeFromString(QStringLiteral("bool")), 0);
  }

  void propertyReading() {
    auto p =
        loadProperty(QStringLiteral("<property type=\"pt_color\" aType=\"\"><key>c</key><title/><desc/>"
                                    "<value> 0x00ff00 </value><valueSource/><defaultValue/></property>"));
    QCOMPARE(p->propertyType(), 10);                     // aType wins over type
    QCOMPARE(p->value(), QStringLiteral(" 0x00ff00 "));  // blanks kept
    QCOMPARE(p->aTitle(), QString());
    QVERIFY(p->keyOpt().has_value());

    // Two values: the first counts; aTitle read; nested text concatenated.
    p = loadProperty(
        QStringLiteral("<property type=\"pt_bool\"><key>k</key><title>a<b>b</b>c</title><aTitle>Check</aTitle>"
                       "<desc/><value>1</value><value>2</value><valueSource/><defaultValue/></property>"));
    QCOMPARE(p->value(), QStringLiteral("1"));
    QCOMPARE(p->title(), QStringLiteral("abc"));
    QCOMPARE(p->aTitle(), QStringLiteral("Check"));
    QCOMPARE(p->desc(), QString());

    // Children: only <property> elements count, parents set, any depth; a
    // key of a nested property never fills the parent's.
    p = loadProperty(
        prop("A", "1", "pt_text",
             prop("A1", "x", "pt_text", prop("A1a", "y")) + "<other/>" + prop("A2", "z") + prop("A3", "w")));
    QCOMPARE(p->key(), QStringLiteral("A"));
    QCOMPARE(p->childCount(), 3);
    QCOMPARE(p->childProperties()[0]->parent(), p.get());
    QCOMPARE(p->childProperties()[0]->childProperties()[0]->key(), QStringLiteral("A1a"));
    QCOMPARE(p->childProperties()[0]->childProperties()[0]->parent(), p->childProperties()[0].get());

    // A second load replaces the children.
    pugi::xml_document doc;
    const QByteArray other = prop("B", "2", "pt_text", prop("B1", "3")).toUtf8();
    QVERIFY(doc.load_buffer(other.constData(), size_t(other.size())));
    p->loadFromNode(doc.document_element());
    QCOMPARE(p->childCount(), 1);
    QCOMPARE(p->childProperties()[0]->key(), QStringLiteral("B1"));

    // Not a property element: nothing changes.
    QVERIFY(doc.load_string("<prop><key>zz</key></prop>"));
    p->loadFromNode(doc.document_element());
    QCOMPARE(p->key(), QStringLiteral("B"));

    // A missing required child throws and leaves the node as it was.
    QVERIFY(doc.load_string("<property><key>q</key><title/><desc/><value/><valueSource/></property>"));
    QVERIFY_THROWS_EXCEPTION(FlashTemplateLoadError, p->loadFromNode(doc.document_element()));
    QCOMPARE(p->key(), QStringLiteral("B"));
  }

  void packageLoadingAndLookup() {
    writePackage("t1",
                 package(prop("pageWidth", "800") + prop("G", "", "pt_text", prop("dup", "") + prop("inner", "deep")) +
                             prop("dup", "second") + prop("inner", "later"),
                         "html\\index.html"));
    writeFile(templateFolder("t1") + "html/index.html", "<html/>");
    QDir().mkpath(templateFolder("t2") + "sub");
    writePackage("t2", package(QString(), "html\\index.html"));

    QStringList names = FlashTemplate::tmplNames();
    names.sort();
    QCOMPARE(names,
             QStringList({m_res.path() + "/AppFiles/Templates/t1", m_res.path() + "/AppFiles/Templates/t1/html",
                          m_res.path() + "/AppFiles/Templates/t2", m_res.path() + "/AppFiles/Templates/t2/sub"}));

    FlashTemplate t(QStringLiteral("t1"));
    QVERIFY2(t.loadError().isEmpty(), qPrintable(t.loadError()));
    QCOMPARE(t.properties().size(), size_t(4));
    QCOMPARE(t.defaultSytleName(), QStringLiteral("Blank"));
    QCOMPARE(*t.tmplHTMLFilePath(), templateFolder("t1") + "html/index.html");
    QCOMPARE(t.propertyValueFor("pageWidth", "0"), QStringLiteral("800"));
    QCOMPARE(t.propertyValueFor("nothing", "dflt"), QStringLiteral("dflt"));
    // A nested match with an empty value still ends the search; the first in
    // depth-first order wins over a later top-level property.
    QCOMPARE(t.propertyValueFor("inner", "x"), QStringLiteral("deep"));
    QCOMPARE(t.propertyValueFor("dup", "x"), QString());

    // HTML falls back to AppFiles/ when the package has no such file.
    t.loadTemplate(QStringLiteral("t2"));
    QVERIFY(!t.tmplHTMLFilePath());
    writeFile(m_res.path() + "/AppFiles/html/index.html", "<html/>");
    QCOMPARE(*t.tmplHTMLFilePath(), m_res.path() + "/AppFiles/html/index.html");

    // A missing package empties the tree; every lookup gives the default.
    t.loadTemplate(QStringLiteral("missing"));
    QVERIFY(t.properties().empty());
    QCOMPARE(t.tmplName(), QStringLiteral("missing"));
    QCOMPARE(t.propertyValueFor("pageWidth", "600"), QStringLiteral("600"));
    QVERIFY(!t.loadError().isEmpty());
  }

  void malformedPackages() {
    // Missing <desc> in a nested property: the load fails as a whole and the
    // reason names the file and the element's line.
    writePackage("bad", package(prop("a", "1") +
                                "\n\n<property><key>b</key><title/><value/><valueSource/><defaultValue/></property>"));
    FlashTemplate t(QStringLiteral("bad"));
    QVERIFY(t.properties().empty());
    QVERIFY2(t.loadError().contains("line 3") && t.loadError().contains("desc"), qPrintable(t.loadError()));

    // Repairable markup (an unclosed element) is read in repair mode.
    writePackage("repair", package(prop("a", "1")).replace("</properties>", "<junk></properties>"));
    t.loadTemplate(QStringLiteral("repair"));
    QCOMPARE(t.propertyValueFor("a", "0"), QStringLiteral("1"));

    // Missing <info> child and a deep nesting fail cleanly (random bytes are
    // the template fuzzer's job; its corpus replays with the tests).
    writePackage("noinfo", package(prop("a", "1")).replace("<swfPath>book.swf</swfPath>", ""));
    t.loadTemplate(QStringLiteral("noinfo"));
    QVERIFY(t.properties().empty());
    QString deep;
    for (int i = 0; i < 2000; ++i)
      deep += "<property><key>k</key><title/><desc/><value/><valueSource/><defaultValue/><childProperties>";
    writePackage("deep", package(deep));
    t.loadTemplate(QStringLiteral("deep"));
    QVERIFY(t.properties().empty());
  }

  void settingsRoundTrip() {
    writePackage("s",
                 package(prop("A", "1", "pt_text", prop("A1", "2")) + prop("B", "x=y") + prop("img", "", "pt_file") +
                         prop("txt", "", "pt_text") + prop("pageWidth", "1000") + prop("pageHeight", "700")));
    FlashTemplate t(QStringLiteral("s"));
    const QString file = m_res.path() + "/export.txt";
    QVERIFY(t.exportPropertiesSettingsTo(file));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\n\rA=1\n\rA1=2\n\rB=x=y\n\rimg=\n\rtxt=\n\rpageWidth=1000\n\rpageHeight=700"));
    f.close();

    // CR LF, LF CR and LF read alike; CR alone is one line; page size ignored;
    // a blank before a key is part of the key; last line wins.
    writeFile(file, "A=9\r\nB=a=b\n\rA1=8\n pageWidth=1\npageWidth=1024\rB=zz\nunknown=1\nnoequals\n");
    t.importPropertiesSettingsFrom(file);
    QCOMPARE(t.propertyValueFor("A", ""), QStringLiteral("9"));
    QCOMPARE(t.propertyValueFor("A1", ""), QStringLiteral("8"));
    QCOMPARE(t.propertyValueFor("B", ""), QStringLiteral("a=b"));
    QCOMPARE(t.propertyValueFor("pageWidth", ""), QStringLiteral("1000"));

    // UTF-16 with BOM, and bytes that are not UTF-8 (kept as Latin-1), also a
    // last byte that starts a sequence and is cut off (once dropped).
    const QByteArray utf16 = QByteArray::fromRawData(reinterpret_cast<const char*>(u"B=\u00e9t\u00e9"), 10);
    for (const auto& [bytes, value] : {std::pair{"\xFF\xFE" + utf16, QStringLiteral("\u00e9t\u00e9")},
                                       {QByteArray("B=caf\xe9"), QStringLiteral("caf\u00e9")},
                                       {QByteArray("B=caf\xc3"), QStringLiteral("caf\u00c3")}}) {
      writeFile(file, bytes);
      t.importPropertiesSettingsFrom(file);
      QCOMPARE(t.propertyValueFor("B", ""), value);
    }

    // STYLE_RESOURCE: resolves for file properties only, against the style.
    const QString style = FlashTemplate::stylePathFor("s", "Blue");
    writeFile(style + "/tmplSetting.txt",
              "\n\rimg=STYLE_RESOURCE:images/bg.jpg\n\rtxt=STYLE_RESOURCE:images/bg.jpg\n\rpageWidth=600");
    t.loadStyleByStyleName(QStringLiteral("Blue"));
    QCOMPARE(*t.styleName(), QStringLiteral("Blue"));
    QCOMPARE(t.propertyValueFor("img", ""), style + "/images/bg.jpg");
    QCOMPARE(t.propertyValueFor("txt", ""), QStringLiteral("STYLE_RESOURCE:images/bg.jpg"));
    QCOMPARE(t.propertyValueFor("pageWidth", ""), QStringLiteral("1000"));

    // Changing template keeps page size and language.
    writePackage("s2",
                 package(prop("pageWidth", "600") + prop("pageHeight", "800") + prop("languageSetting", "English")));
    writeFile(FlashTemplate::stylePathFor("s2", "Plain") + "/tmplSetting.txt",
              "\n\rpageWidth=600\n\rlanguageSetting=Deutsch");
    t.changeTmplTo(QStringLiteral("s2"), FlashTemplate::stylePathFor("s2", "Plain"));
    QCOMPARE(t.tmplName(), QStringLiteral("s2"));
    QCOMPARE(t.propertyValueFor("pageWidth", ""), QStringLiteral("1000"));
    QCOMPARE(t.propertyValueFor("pageHeight", ""), QStringLiteral("700"));
    QCOMPARE(t.propertyValueFor("languageSetting", ""), QString());  // the old template had none

    // An empty tree exports an empty file; a missing file changes nothing.
    t.loadTemplate(QStringLiteral("missing"));
    QVERIFY(t.exportPropertiesSettingsTo(file));
    QCOMPARE(QFileInfo(file).size(), 0);
    QVERIFY(!t.exportPropertiesSettingsTo(m_res.path() + "/no/such/dir/x.txt"));
  }

  void unusableSettingsFilesChangeNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    QTest::newRow("binary") << QByteArray("B=a\0b\n\rA=2", 11) << "binary";
    QTest::newRow("control characters") << QByteArray(
                                               "\x7f"
                                               "ELF\x02\x01\x01B=x")
                                        << "binary";
    QTest::newRow("no KEY=VALUE line") << QByteArray("just some words\nand more") << "no KEY=VALUE";
    QTest::newRow("keys of another program") << QByteArray("\n\rcolor=red\n\rsize=3") << "names a property";
  }
  void unusableSettingsFilesChangeNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    writePackage("u", package(prop("A", "1") + prop("B", "b")));
    FlashTemplate t(QStringLiteral("u"));
    const QString file = m_res.path() + "/unusable.txt";
    writeFile(file, bytes);
    const SettingsFileResult r = t.importPropertiesSettingsFrom(file);
    QVERIFY2(!r.ok() && r.error.contains(why), qPrintable(r.error));
    QCOMPARE(t.propertyValueFor("A", ""), QStringLiteral("1"));
    QCOMPARE(t.propertyValueFor("B", ""), QStringLiteral("b"));
  }

  void settingsFilesTakeOnlyTheirOwnFiles() {
    // A settings file from someone else names files of ours; it gets only the
    // files beside it, in the style's folder and in the program's resources.
    writePackage("p", package(prop("logo", "", "pt_file") + prop("sound", "", "pt_file") + prop("bg", "", "pt_file") +
                              prop("title", "")));
    QTemporaryDir home;
    const QString secret = home.filePath(".ssh/id_ed25519");
    writeFile(secret, "PRIVATE KEY");
    const QString shared = home.filePath("Downloads/shared");
    writeFile(shared + "/logo.png", "png");
    QVERIFY(QFile::link(secret, shared + "/sound.mp3"));  // a link inside that leads out
    const QString style = FlashTemplate::stylePathFor("p", "Blue");
    writeFile(style + "/images/bg.jpg", "jpg");

    FlashTemplate t(QStringLiteral("p"));
    t.loadStyleByStyleName(QStringLiteral("Blue"));
    writeFile(shared + "/settings.txt", ("\n\rlogo=" + secret + "\n\rsound=" + shared + "/sound.mp3" +
                                         "\n\rbg=STYLE_RESOURCE:../../../../../" + secret + "\n\rtitle=Shared")
                                            .toUtf8());
    SettingsFileResult r = t.importPropertiesSettingsFrom(shared + "/settings.txt");
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.refused.size(), 3);
    QCOMPARE(t.propertyValueFor("logo", "x"), QString());
    QCOMPARE(t.propertyValueFor("sound", "x"), QString());
    QCOMPARE(t.propertyValueFor("bg", "x"), QString());
    QCOMPARE(t.propertyValueFor("title", ""), QStringLiteral("Shared"));  // the rest of the file applies

    writeFile(shared + "/settings.txt",
              ("\n\rlogo=" + shared + "/logo.png\n\rbg=STYLE_RESOURCE:images/bg.jpg").toUtf8());
    r = t.importPropertiesSettingsFrom(shared + "/settings.txt");
    QVERIFY(r.ok() && r.refused.isEmpty());
    QCOMPARE(t.propertyValueFor("logo", ""), shared + "/logo.png");
    QCOMPARE(t.propertyValueFor("bg", ""), style + "/images/bg.jpg");
    // An absolute STYLE_RESOURCE path leaves the style folder too.
    QCOMPARE(t.valueAsFilePath("STYLE_RESOURCE:/etc/shadow"), QString());
    QCOMPARE(t.valueAsFilePath("STYLE_RESOURCE:images/../../Blue/images/bg.jpg"), style + "/images/bg.jpg");
  }

  void shippedTemplate() {
    // The real resource folder: "float" loads and its styles resolve.
    PlatformPaths saved = PlatformPaths::current();
    PlatformPaths real = PlatformPaths::systemDefaults();
    PlatformPaths::setCurrent(real);
    FlashTemplate t;
    QVERIFY2(t.loadError().isEmpty(), qPrintable(t.loadError()));
    QCOMPARE(t.tmplName(), QStringLiteral("float"));
    QVERIFY(t.properties().size() >= 8);
    QCOMPARE(t.propertyValueFor("pageWidth", ""), QStringLiteral("600"));
    QStringList styles;
    for (const QString& s : FlashTemplate::tmplStyleNamesForTmpl("float"))
      if (QFile::exists(s + "/tmplSetting.txt")) styles << QFileInfo(s).fileName();
    QVERIFY(styles.contains("Blank") && styles.size() >= 3);
    t.loadStyleByStyleName(QStringLiteral("Ocean"));
    QVERIFY(QFile::exists(t.propertyValueFor("innerMainbgImgUrl", "")));
    PlatformPaths::setCurrent(saved);
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
    // Shown as people write colours; typed either way.
    QCOMPARE(MyColorOper::displayText("0x3366AA"), QString("#3366aa"));
    QCOMPARE(MyColorOper::displayText("red"), QString("red"));
    QCOMPARE(rgb("#102030"), 0x102030u);
  }
};

FOLIVOX_TEST_MAIN(TestTemplates)
#include "test_templates.moc"
