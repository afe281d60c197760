// The programs in the user's language: our translations and Qt's chosen from
// the locale, the template texts in that language, sizes as the locale writes
// them, and folivox-cli's output for scripts the same in every language.
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include "CliFixture.h"
#include "TestEnv.h"
#include "base/Translations.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "publish/BookWeight.h"
#include "templates/FlashTemplate.h"
#include "templates/FlashTemplateProperty.h"

namespace {

// folivox-cli with its messages in `language` (a LANGUAGE value, as a desktop sets it).
CliRun cli(const QStringList& args, const QString& language, const QByteArray& input = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LANGUAGE"), language);
  env.insert(QStringLiteral("LC_ALL"),
             language == QLatin1String("en") ? QStringLiteral("C.UTF-8") : language + ".UTF-8");
  return runCli(args, env, input);
}

// Why opening a missing PDF fails, in the language installed.
QString missingPdfReason() {
  try {
    MuPdfDocument::open(QStringLiteral("/nonexistent/report.pdf"));
  } catch (const ImportError& e) {
    return e.reason();
  }
  return QString();
}

}  // namespace

class TestTranslations : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void cleanup() { useLocale(QStringLiteral("C")); }

  void theLocaleChoosesOurTextsAndQts() {
    QCOMPARE(useLocale("de_DE"), QString("de"));
    QCOMPARE(Translations::language(), QString("de"));
    QCOMPARE(missingPdfReason(), QString("report.pdf kann nicht geöffnet werden: die Datei existiert nicht"));
    // Qt's own texts (standard buttons) come along.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
    QCOMPARE(BookWeight::size(4404019), QString("4,2 MB"));
    QCOMPARE(BookWeight::size(900), QString("900 Bytes"));

    QCOMPARE(useLocale("fr_CA"), QString("fr"));
    QCOMPARE(missingPdfReason(), QString("Impossible d’ouvrir report.pdf : le fichier n’existe pas"));
    QCOMPARE(BookWeight::size(317440), QString("310 Ko"));
    QCOMPARE(useLocale("es_MX"), QString("es"));
    QCOMPARE(missingPdfReason(), QString("No se puede abrir report.pdf: el archivo no existe"));

    // A language we do not speak, or English: English, with nothing left of the last one.
    for (const char* tag : {"pt_BR", "en_GB", "C"}) {
      QCOMPARE(useLocale(tag), QString("en"));
      QCOMPARE(missingPdfReason(), QString("Cannot open report.pdf: the file does not exist"));
    }
    QCOMPARE(BookWeight::size(4404019), QString("4.2 MB"));
    QCOMPARE(BookWeight::size(317440), QString("310 KB"));
  }

  void templateTextsFollowTheLanguage() {
    const auto texts = [](const QString& language) {
      Translations::setLanguage(language);
      const FlashTemplate tmpl(QStringLiteral("float"));
      const FlashTemplateProperty* cover = tmpl.propertyForKey(QStringLiteral("isHardCover"));
      return cover != nullptr ? QStringList{tmpl.propertyForKey(QStringLiteral("pageWidth"))->title(), cover->aTitle(),
                                            cover->desc()}
                              : QStringList();
    };
    QCOMPARE(
        texts("fr"),
        QStringList(
            {"Largeur de page", "Utiliser une couverture rigide",
             "La première et la dernière page tournent comme des plats rigides au lieu de se plier comme du papier."}));
    QCOMPARE(texts("de").first(), QString("Seitenbreite"));
    const QStringList english = {"Page width", "Use a hard cover",
                                 "The first and the last page turn as stiff boards instead of bending like paper."};
    QCOMPARE(texts("pt"), english);
    QCOMPARE(texts("en"), english);
  }

  // Each title, switch text and description of every shipped template in
  // every language the program speaks, so no property stays English.
  void everyTemplateTextHasEachLanguage() {
    const QStringList languages = {"de", "fr", "es"};
    const QStringList names =
        QDir(FlashTemplate::appFilesFolder() + "Templates").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QVERIFY(names.size() >= 3);
    for (const QString& name : names) {
      QFile file(FlashTemplate::appFilesFolder() + "Templates/" + name + "/flashTemplate.xml");
      QVERIFY(file.open(QIODevice::ReadOnly));
      QXmlStreamReader xml(&file);
      QString key;
      QMap<QString, QStringList> seen;  // "key/title" -> languages ("" for the plain text)
      while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QString tag = xml.name().toString();
        if (tag == QLatin1String("key")) {
          key = xml.readElementText();
        } else if (tag == QLatin1String("title") || tag == QLatin1String("aTitle") || tag == QLatin1String("desc")) {
          const QString lang = xml.attributes().value(QLatin1String("lang")).toString();
          if (!xml.readElementText().trimmed().isEmpty()) seen[key + '/' + tag] << lang;
        }
      }
      QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
      QVERIFY(!seen.isEmpty());
      for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        QVERIFY2(it.value().first().isEmpty(),
                 qPrintable(name + ": " + it.key() + " does not begin with the plain text"));
        for (const QString& lang : languages)
          QVERIFY2(it.value().contains(lang), qPrintable(name + ": " + it.key() + " has no " + lang + " text"));
      }
    }
  }

  void theCommandLineSpeaksButItsOutputForScriptsDoesNot() {
    const CliRun de = cli({"publish", "/nonexistent/report.pdf", "-o", QDir::tempPath() + "/out"}, "de");
    const CliRun en = cli({"publish", "/nonexistent/report.pdf", "-o", QDir::tempPath() + "/out"}, "en");
    QCOMPARE(de.err, QString("folivox-cli: /nonexistent/report.pdf existiert nicht\n"));
    QCOMPARE(en.err, QString("folivox-cli: /nonexistent/report.pdf does not exist\n"));
    QCOMPARE(de.code, en.code);
    QVERIFY(cli({"--help"}, "fr").out.startsWith("Usage : folivox-cli COMMANDE"));

    // What scripts read: the template list and the batch's JSON lines.
    QCOMPARE(cli({"templates"}, "es").out, cli({"templates"}, "en").out);
    const auto record = [](const QString& language) {
      const CliRun r = cli({"batch", "-", "--json", "-o", QDir::tempPath() + "/batch-" + language}, language,
                           "/nonexistent/a.pdf\n");
      QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
      o.insert("keys", QJsonValue::fromVariant(o.keys()));
      for (const char* varies : {"error", "seconds", "output", "peak_memory_kb"})
        o.remove(varies);  // error: for people, in their language
      return std::make_pair(r.code, o);
    };
    const auto [deCode, deRecord] = record("de");
    const auto [enCode, enRecord] = record("en");
    QCOMPARE(deCode, enCode);
    QVERIFY(!enRecord.isEmpty());
    QCOMPARE(enRecord.value("status").toString(), QString("failed"));
    QCOMPARE(deRecord, enRecord);
  }
};

FOLIVOX_TEST_MAIN(TestTranslations)

#include "test_translations.moc"
