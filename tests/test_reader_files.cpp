// What a book carries for its readers beyond the pages: which pages are
// photographs (files/pages.js, for night mode), the document offered for
// download, and the origins a host page may be told about.
#include <pugixml.hpp>

#include "PdfFixture.h"
#include "TemplateFixture.h"
#include "import/FlashPage.h"
#include "import/FlashPageSource.h"
#include "import/FlashPageSourcePDF.h"
#include "import/ImportPDFOperation.h"
#include "publish/BookBinReader.h"
#include "publish/BookTextWriter.h"
#include "publish/FlashBookOutput.h"
#include "templates/FlashTemplate.h"

class TestReaderFiles : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;

  // The text of each extConfig item of the book in `folder`, by name.
  static QMap<QString, QString> settings(const QString& folder) {
    const QByteArray xml = BookBinReader::inspect(folder).bookXml;
    pugi::xml_document doc;
    doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()));
    QMap<QString, QString> out;
    for (pugi::xml_node item : doc.child("flipbook").child("extConfig").children("item"))
      out.insert(QString::fromUtf8(item.attribute("name").value()), QString::fromUtf8(item.child_value()));
    return out;
  }

 private Q_SLOTS:
  void initTestCase() {
    PlatformPaths p = PlatformPaths::current();
    p.resourceFolder = m_dir.path() + "/res";
    PlatformPaths::setCurrent(p);
  }

  void pageFactsListThePhotographs() {
    FlashPageSource pages;
    FlashPageList list;
    const PageKind kinds[] = {PageKind::Text, PageKind::Photo, PageKind::Unknown, PageKind::Photo};
    for (int i = 0; i < 4; ++i) {
      auto page = std::make_shared<FlashPage>(QStringLiteral("/nowhere/%1.webp").arg(i + 7), i + 7);
      page->setPictureKind(kinds[i]);
      list.push_back(page);
    }
    pages.setPages(list);
    const QString files = m_dir.path() + "/facts";
    QDir().mkpath(files);
    QStringList failed;
    const auto fail = [&](const QString& target, const QString&) { failed << target; };
    BookTextWriter::write(pages, files, fail);
    QVERIFY(failed.isEmpty());
    // Positions in the book, not page numbers of the document.
    QCOMPARE(readFile(files + "/pages.js"), QByteArray("folivoxData(\"pages\", 0, {\"v\":1,\"photos\":[1,3]});\n"));

    // Neither labels nor photographs: no file, as before.
    for (const FlashPagePtr& page : pages.pages()) page->setPictureKind(PageKind::Text);
    QFile::remove(files + "/pages.js");
    BookTextWriter::write(pages, files, fail);
    QVERIFY(!QFileInfo::exists(files + "/pages.js"));
  }

  void theDocumentGoesIntoTheBookOnlyWhenAsked() {
    PdfFixture pdf(2);
    const QString source = m_dir.path() + "/report.pdf";
    QVERIFY(pdf.write(source));
    auto op = std::make_shared<ImportPDFOperation>(source, QStringLiteral("ALL"), 144, 85);
    op->start();
    std::shared_ptr<FlashPageSource> pages(op->flashPageSource());
    QVERIFY(pages && pages->pages().size() == 2);
    auto tmpl = tmplOf("dl", prop("downloadDocument", "NO", "pt_bool") + prop("hostOrigins", "https://a.example"));
    const QString book = m_dir.path() + "/book";
    QDir().mkpath(book);
    QString why;
    // The number of files taken from outside the book; why says what failed.
    const auto publish = [&](std::shared_ptr<FlashPageSource> from) {
      FlashBookOutput out(std::move(from), tmpl, book, std::nullopt);
      out.ouputTheBook();
      why = out.error() + (out.failures().empty() ? QString() : out.failures()[0].reason);
      return out.externalFiles().size();
    };

    QCOMPARE(publish(pages), size_t(0));
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QVERIFY(!QFileInfo::exists(book + "/files/document.pdf"));
    QCOMPARE(settings(book).value("downloadDocument"), QStringLiteral("NO"));
    QCOMPARE(settings(book).value("hostOrigins"), QStringLiteral("https://a.example"));

    tmpl->propertyForKey("downloadDocument")->setValue(QStringLiteral("YES"));
    QCOMPARE(publish(pages), size_t(1));  // listed among the files taken from outside the book
    QCOMPARE(readFile(book + "/files/document.pdf"), readFile(source));
    QCOMPARE(settings(book).value("downloadDocument"), QStringLiteral("YES"));
    // A republish over it takes the document for the book's own file.
    publish(pages);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QVERIFY(QFileInfo::exists(book + "/files/document.pdf"));

    // A book of pictures has no document: the button stays hidden.
    auto pictures = std::make_shared<FlashPageSourceImg>();
    writeFile(m_dir.path() + "/pics/1.jpg", "jpeg");
    pictures->addImgPageFromFile(m_dir.path() + "/pics/1.jpg");
    pictures->generateNormalPages();
    publish(pictures);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QVERIFY(!QFileInfo::exists(book + "/files/document.pdf"));
    QCOMPARE(settings(book).value("downloadDocument"), QStringLiteral("NO"));
  }
};

FOLIVOX_TEST_MAIN(TestReaderFiles)
#include "test_reader_files.moc"
