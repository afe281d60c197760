// Settings files (tmplSetting.txt and exported settings) read into a
// template, and the book.xml those values then go into.
#include "FuzzSupport.h"
#include "FuzzXml.h"
#include "publish/FlashBookOutput.h"
#include "templates/FlashTemplate.h"

namespace {

// A small template with the kinds of property a settings file can reach:
// text, nested, file-type (whose values become paths), the page size.
const QByteArray kTemplate = R"(<t><info><htmlPath>index.html</htmlPath><swfPath>book.swf</swfPath>
<defaultStyle>Blank</defaultStyle><macAppFilesFolder/><mobileTmplFilesPath/></info><properties>
<property><key>bookTitle</key><title/><desc/><value>Book</value><valueSource/><defaultValue/></property>
<property type="pt_composite"><key>group</key><title/><desc/><value/><valueSource/><defaultValue/><childProperties>
<property type="pt_file"><key>bgImage</key><title/><desc/><value/><valueSource/><defaultValue/></property>
<property type="pt_color"><key>bgColor</key><title/><desc/><value>0xffffff</value><valueSource/><defaultValue/></property>
</childProperties></property>
<property type="pt_file"><key>logoFile</key><title/><desc/><value/><valueSource/><defaultValue/></property>
<property type="pt_bool"><key>isHardCover</key><title/><desc/><value>NO</value><valueSource/><defaultValue/></property>
<property type="pt_number"><key>pageWidth</key><title/><desc/><value>600</value><valueSource/><defaultValue/></property>
<property type="pt_number"><key>pageHeight</key><title/><desc/><value>800</value><valueSource/><defaultValue/></property>
</properties></t>)";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QString file = fuzz::scratch().filePath(QStringLiteral("tmplSetting.txt"));
  auto tmpl = std::make_shared<FlashTemplate>(QStringLiteral("fuzz"));
  tmpl->loadTemplateData(QStringLiteral("fuzz"), kTemplate);
  FUZZ_CHECK(tmpl->loadError().isEmpty());

  // Every line the reader returns came from one line of the file.
  const QByteArray bytes = fuzz::bytes(data, size);
  for (const auto& [key, value] : FlashTemplate::parseSettings(bytes)) {
    FUZZ_CHECK(!key.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\n')));
    FUZZ_CHECK(!key.contains(QLatin1Char('=')));
  }

  fuzz::writeScratch(QStringLiteral("tmplSetting.txt"), data, size);
  tmpl->importPropertiesSettingsFrom(file);
  // The page size never comes from a settings file.
  FUZZ_CHECK(tmpl->propertyValueFor(QStringLiteral("pageWidth"), QString()) == QLatin1String("600"));
  FUZZ_CHECK(tmpl->propertyValueFor(QStringLiteral("pageHeight"), QString()) == QLatin1String("800"));

  // Whatever the values, book.xml stays well-formed for the player's parser.
  FlashBookOutput out(nullptr, tmpl, fuzz::scratch().path(), std::nullopt);
  const QByteArray xml = FlashBookOutput::serializeBookXML(*out.bookXML());
  FUZZ_CHECK(fuzz::wellFormedXml(xml));
  return 0;
}
