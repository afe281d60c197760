// Publishing: RC4, the placeholder engine, book.xml, book.bin, the book folder,
// the application bundle and a batch's record of what a book was made from.
#include <fcntl.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QtEndian>
#include <cstdio>
#include <pugixml.hpp>
#include <sstream>

#include "PdfFixture.h"
#include "TemplateFixture.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPageSourcePDF.h"
#include "import/FlashPagesAnnotations.h"
#include "import/ImportPDFOperation.h"
#include "publish/BookBinReader.h"
#include "publish/BookSourceRecord.h"
#include "publish/BookTextReader.h"
#include "publish/BookTransaction.h"
#include "publish/FlashBookOutput.h"
#include "publish/FlashBookOutputApp.h"
#include "publish/HTMLConfigInfo.h"
#include "publish/RC4.h"
#include "publish/TextTemplate.h"
#include "templates/FlashTemplate.h"
#include "zip/ZKDataArchive.h"

namespace {

qulonglong inode(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

QString elementText(const pugi::xml_node& n) {
  std::ostringstream s;
  n.print(s, "", pugi::format_raw);
  return QString::fromStdString(s.str());
}

}  // namespace

class TestPublish : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;
  QString m_res;

  std::shared_ptr<FlashPageSourceImg> imagePages(int count) {
    auto src = std::make_shared<FlashPageSourceImg>();
    for (int i = 1; i <= count; ++i) {
      const QString path = m_dir.path() + QStringLiteral("/pics/p%1.jpg").arg(i);
      writeFile(path, QByteArray("jpeg ") + QByteArray::number(i));
      src->addImgPageFromFile(path);
    }
    src->generateNormalPages();
    return src;
  }

 private Q_SLOTS:
  void initTestCase() {
    m_res = m_dir.path() + "/res";
    PlatformPaths p = PlatformPaths::current();
    p.resourceFolder = m_res;
    PlatformPaths::setCurrent(p);
    writeFile(m_res + "/AppFiles/TmplData/mac.app/Contents/Info.plist", "<plist/>");
    writeFile(m_res + "/AppFiles/TmplData/mac.app/Contents/MacOS/launcher", "#!/bin/sh\n");
    QFile::setPermissions(m_res + "/AppFiles/TmplData/mac.app/Contents/MacOS/launcher",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }

  void rc4Vectors() {
    const auto enc = [](const char* key, const char* text) {
      return RC4::RC4EncryptedDataUsingKey(QByteArray(text), QByteArray(key))->toHex().toUpper();
    };
    QCOMPARE(enc("Key", "Plaintext"), QByteArray("BBF316E8D940AF0AD3"));
    QCOMPARE(enc("Wiki", "pedia"), QByteArray("1021BF0420"));
    QCOMPARE(enc("Secret", "Attack at dawn"), QByteArray("45A01F645FC35B383552544B9BF5"));
    QVERIFY(!RC4::RC4EncryptedDataUsingKey("x", QByteArray()));
    // Keys beyond 512 bytes are cut to 512.
    const QByteArray longKey(600, 'k');
    QCOMPARE(RC4::RC4EncryptedDataUsingKey("data", longKey), RC4::RC4EncryptedDataUsingKey("data", longKey.left(512)));
  }

  void placeholders_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* text, const char* expected) {
      QTest::newRow(name) << QString(text) << QString(expected);
    };
    row("blank after placeholder dropped", "a ${index.title} b", "a Tb");
    row("unknown key removed", "x${nope}y", "xy");
    row("empty", "", "");
    row("blanks only", " \n\t ", "");
    row("leading blanks dropped, trailing text kept", "\n  <p>${index.title}</p>\n", "<p>T</p>\n");
    row("trailing blanks dropped", "<p>${index.title}  \n", "<p>T");
    row("space before key", "<${ index.title}>", "<T>");
    row("space after key", "<${index.title }>", "<>");
    row("unclosed opener eats the rest", "a${index.title b c", "a");
    row("placeholder first", " ${index.title} x", "Tx");
    row("adjacent placeholders", "<${index.title} ${index.title}>", "<TT>");
    row("only placeholders", "${index.title}${nope}${index.title}", "TT");
  }
  void placeholders() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    TextTemplate t(text);
    t.setItem(QStringLiteral("index.title"), QStringLiteral("T"));
    QCOMPARE(t.parse(), expected);
    QCOMPARE(t.parse(), expected);  // parse leaves the object as it was
  }

  void htmlPageEscapesValues() {
    const QString src = m_dir.path() + "/page.html";
    const QString dst = m_dir.path() + "/out.html";
    writeFile(src,
              "<title>${index.title}</title><meta content=\"${meta.keywords}\"><meta content=\"${meta.description}\">");
    HTMLConfigInfo info;
    info.setHTMLTitle(QStringLiteral("Tom & Jerry <2>"));
    info.setHTMLKeywords(QStringLiteral("a\"b"));
    QVERIFY(info.generateHTMLFrom(src, dst));
    QCOMPARE(readFile(dst), QByteArray("<title>Tom &amp; Jerry &lt;2&gt;</title><meta content=\"a&quot;b\">"
                                       "<meta content=\"folivox.org\">"));
    // UTF-16 source with a byte-order mark comes out as UTF-8.
    QByteArray utf16("\xFF\xFE");
    const QString text = QStringLiteral("<b>\u00e9${index.title}</b>");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    writeFile(src, utf16);
    QVERIFY(info.generateHTMLFrom(src, dst));
    QCOMPARE(QString::fromUtf8(readFile(dst)), QStringLiteral("<b>\u00e9Tom &amp; Jerry &lt;2&gt;</b>"));
    QVERIFY(!info.generateHTMLFrom(m_dir.path() + "/missing.html", dst));
    // A page that ends in a cut-off UTF-8 sequence is read as Latin-1, whole.
    writeFile(src, "<p>caf\xc3");
    QCOMPARE(*HTMLConfigInfo::readTemplateText(src), QStringLiteral("<p>caf\u00c3"));
  }

  void bookXmlWorkedExample() {
    auto tmpl = tmplOf("w", prop("bgColor", "red"));
    FlashBookOutput out(imagePages(2), tmpl, m_dir.path(), std::nullopt);
    const auto doc = out.bookXML();
    QCOMPARE(
        elementText(doc->document_element()),
        QStringLiteral("<flipbook count=\"2\" appAppShortName=\"pt\" appAppName=\"Folivox for Mac\" "
                       "appAppVersion=\"1.0.0\" appWebsite=\"%1\" e=\"noext\"><extConfig><item name=\"bgColor\">red"
                       "</item></extConfig><pages><page isHardPage=\"false\" isEncrypted=\"false\"><normalUrl>"
                       "./files/page/1.jpg</normalUrl><largeUrl>./files/page/1.jpg</largeUrl><thumbUrl>./files/page/"
                       "1.jpg</thumbUrl></page><page isHardPage=\"false\" isEncrypted=\"false\"><normalUrl>./files/"
                       "page/2.jpg</normalUrl><largeUrl>./files/page/2.jpg</largeUrl><thumbUrl>./files/page/2.jpg"
                       "</thumbUrl></page></pages></flipbook>")
            .arg(FlashBookOutput::kAppWebsite));
  }

  void bookXmlItemsAndCovers() {
    auto tmpl =
        tmplOf("x", prop("A", "a", "pt_text", prop("A1", "", "pt_text", prop("A1a", "z")) + prop("A2", "\x01ok")) +
                        prop("logo", "/data/images/logo.png", "pt_file") + prop("none", "", "pt_file") +
                        prop("../evil", "/etc/passwd", "pt_file") + prop("isHardCover", "Yes"));
    FlashBookOutput out(imagePages(4), tmpl, m_dir.path(), std::nullopt);
    const auto doc = out.bookXML();
    const pugi::xml_node root = doc->document_element();
    QStringList names, texts;
    for (pugi::xml_node item : root.child("extConfig").children("item")) {
      names << item.attribute("name").value();
      texts << item.text().get();
    }
    QCOMPARE(names,
             QStringList({"A", "A1", "A1a", "A2", "logo", "none", "isHardCover"}));  // the unsafe key is left out
    QCOMPARE(texts[3], QStringLiteral("ok"));  // a control character cannot travel in XML
    QCOMPARE(texts[4], QStringLiteral("./files/extfiles/logo.png"));
    QCOMPARE(texts[5], QStringLiteral("./files/extfiles/none."));
    QStringList hard;
    for (pugi::xml_node page : root.child("pages").children("page")) hard << page.attribute("isHardPage").value();
    QCOMPARE(hard, QStringList({"true", "false", "false", "true"}));
    QVERIFY(!root.child("ols") && !root.child("pagesAnnos"));

    // No pages, no properties: both elements present and empty.
    FlashBookOutput empty(std::make_shared<FlashPageSourceImg>(), nullptr, m_dir.path(), std::nullopt);
    const auto doc2 = empty.bookXML();
    QCOMPARE(QString(doc2->document_element().attribute("count").value()), QStringLiteral("0"));
    QVERIFY(doc2->document_element().child("extConfig") && !doc2->document_element().child("extConfig").first_child());
  }

  void outlineAndLinksInEveryBuild() {
    auto annos = std::make_shared<FlashPagesAnnotations>();
    pugi::xml_document d;
    QVERIFY(d.load_string("<pagesAnnos><pageAnnos pageIndex=\"1\"><anno/></pageAnnos></pagesAnnos>"));
    annos->setPagesAnnotationsNode(d.document_element());
    auto outline = std::make_shared<FlashOutline>();
    FlashOutlineItems items;
    items.push_back(std::make_unique<FlashOutlineItem>());
    items.back()->setCaption(QStringLiteral("Intro"));
    items.back()->setPageIndex(1);
    items.back()->setLevel(1);
    outline->setItems(std::move(items));
    FlashBookOutput out(imagePages(1), tmplOf("o", prop("x", "1")), m_dir.path(), std::nullopt);
    out.setFlashOutline(outline);
    out.setFlashPagesAnnotations(annos);
    for (int build = 0; build < 2; ++build) {  // the preview rebuilds the same book again and again
      const auto doc = out.bookXML();
      QStringList children;
      for (pugi::xml_node c : doc->document_element().children()) children << c.name();
      QCOMPARE(children, QStringList({"extConfig", "pages", "ols", "pagesAnnos"}));
      QCOMPARE(QString(doc->document_element().child("ols").child("o").child("c").text().get()),
               QStringLiteral("Intro"));
      QVERIFY(doc->document_element().child("pagesAnnos").child("pageAnnos").child("anno"));
    }
    QVERIFY(annos->pagesAnnotationsNode().child("pageAnnos"));
  }

  void bookBinLayout() {
    const QString book = m_dir.path() + "/binbook";
    QDir().mkpath(book + "/files");
    FlashBookOutput out(imagePages(3), tmplOf("b", prop("bgColor", "red")), book, std::nullopt);
    QVERIFY(out.ouputBookXML(book + "/files/book.bin"));
    const QByteArray enc = readFile(book + "/files/book.bin");
    const QByteArray zip = *RC4::RC4EncryptedDataUsingKey(enc, QByteArray(RC4::kBookKey));
    const QByteArray xml = FlashBookOutput::serializeBookXML(*out.bookXML());
    const auto archive = ZKDataArchive::archiveWithArchiveData(zip);
    QVERIFY(archive);
    const qsizetype c = qsizetype(archive->centralDirectory().front().compressedSize());
    QCOMPARE(archive->centralDirectory().size(), size_t(1));
    QCOMPARE(*archive->inflateFile(archive->centralDirectory().front(), nullptr), xml);
    // The script twin carries the same encrypted bytes.
    const QByteArray js = readFile(book + "/files/book.bin.js");
    QVERIFY(js.startsWith("window.folivoxBookBin = \""));
    QCOMPARE(QByteArray::fromBase64(js.mid(25, js.indexOf('"', 25) - 25)), enc);
    QCOMPARE(BookBinReader::inspect(book).bookXml, xml);
    // Damage is reported, not printed as a book.
    QByteArray broken = enc;
    broken[60] = char(broken[60] ^ 0x55);
    QVERIFY(!BookBinReader::inspectBytes(broken).ok());
    QVERIFY(!BookBinReader::inspectBytes(enc.left(enc.size() / 2)).ok());
    QVERIFY(!BookBinReader::inspectBytes(QByteArray()).ok());
    // An entry that claims more than any book holds (as the player counts) is
    // refused before it is inflated.
    QByteArray bomb = zip;
    const quint32 huge = quint32(BookBinReader::kMaxBookXmlSize + 1);
    qToLittleEndian(huge, bomb.data() + 22);
    qToLittleEndian(huge, bomb.data() + 38 + c + 24);
    const BookBinReader::Result refused =
        BookBinReader::inspectBytes(*RC4::RC4EncryptedDataUsingKey(bomb, QByteArray(RC4::kBookKey)));
    QVERIFY2(refused.error.contains("larger than any book"), qPrintable(refused.error));
    // So is one whose few bytes inflate to millions of empty elements.
    ZKDataArchive elements;
    QVERIFY(elements.deflateData(
                "<flipbook>" + QByteArray("<a/>").repeated(int(BookBinReader::kMaxBookXmlTags)) + "</flipbook>",
                QStringLiteral("book.xml")) == 1);
    const BookBinReader::Result tags =
        BookBinReader::inspectBytes(*RC4::RC4EncryptedDataUsingKey(elements.data(), QByteArray(RC4::kBookKey)));
    QVERIFY2(tags.error.contains("more markup than any book"), qPrintable(tags.error));
  }

  void bookFolderAndRepublish() {
    const QString logo = m_dir.path() + "/logo.png";
    writeFile(logo, "png-1");
    QFile::setPermissions(logo, QFileDevice::Permissions(0x7777));
    const QString gone = "/no/such.jpg";
    auto tmpl =
        tmplOf("f", prop("logo", logo, "pt_file") +
                        prop("grp", "", "pt_composite", prop("bg", logo, "pt_file") + prop("gone", gone, "pt_file")) +
                        prop("a/b", logo, "pt_file") + prop("", logo, "pt_file"));
    const QString book = m_dir.path() + "/book";

    // A folder that does not exist: nothing is written, nothing created.
    FlashBookOutput missing(imagePages(2), tmpl, book, std::nullopt);
    missing.ouputTheBook();
    QVERIFY(!QFileInfo::exists(book));
    QVERIFY(!missing.succeeded());

    // A missing picture is reported, and the book is not put in place.
    QDir().mkpath(book);
    writeFile(book + "/mine.txt", "the user's own file");
    FlashBookOutput incomplete(imagePages(2), tmpl, book, std::nullopt);
    incomplete.ouputTheBook();
    QCOMPARE(incomplete.failures().size(), size_t(1));
    QVERIFY(incomplete.failures()[0].reason.contains(gone));
    // Named where it would have been: the staging folder is gone by now.
    QCOMPARE(incomplete.failures()[0].target, book + "/files/extfiles/gone.jpg");
    QCOMPARE(QDir(book).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList({"mine.txt"}));

    tmpl->propertyForKey("gone")->setValue(QString());
    FlashBookOutput out(imagePages(3), tmpl, book, std::nullopt);
    auto html = std::make_shared<HTMLConfigInfo>();
    html->setHTMLTitle(QStringLiteral("My book"));
    out.setHTMLConfig(html);
    out.ouputTheBook();
    QVERIFY(out.succeeded());
    for (const char* f : {"index.html", "files/book.bin", "files/book.bin.js", "files/page/1.jpg", "files/page/3.jpg",
                          "files/extfiles/logo.png", "files/extfiles/bg.png"})
      QVERIFY2(QFileInfo::exists(book + "/" + f), f);
    QCOMPARE(readFile(book + "/index.html"), QByteArray("<title>My book</title>"));
    QVERIFY(!QFileInfo::exists(book + "/files/pageConfig"));
    QVERIFY(!QFileInfo::exists(book + "/a"));  // unsafe keys write nothing
    QCOMPARE(QDir(book + "/files/extfiles").entryList(QDir::Files).size(), 2);
    // The files from outside the book are listed, and their copies are as
    // readable as the book's own files, no more (the logo was executable).
    QCOMPARE(QFileInfo(book + "/files/extfiles/logo.png").permissions(),
             QFileInfo(book + "/files/book.bin").permissions());
    QCOMPARE(out.externalFiles().size(), size_t(2));
    QCOMPARE(out.externalFiles()[0].source, logo);
    QCOMPARE(out.externalFiles()[0].target, QStringLiteral("files/extfiles/logo.png"));

    // Again, shorter and with new content: the whole book is the new one (the
    // third page is gone), the user's file stays, nothing of the work remains.
    writeFile(logo, "png-2");
    FlashBookOutput again(imagePages(2), tmpl, book, QStringLiteral("other.html"));
    again.ouputTheBook();
    QVERIFY(again.succeeded());
    QCOMPARE(readFile(book + "/files/extfiles/logo.png"), QByteArray("png-2"));
    QCOMPARE(readFile(book + "/other.html"), QByteArray("<title>${index.title}</title>"));  // no config: plain copy
    QVERIFY(!QFileInfo::exists(book + "/files/page/3.jpg"));
    QCOMPARE(readFile(book + "/mine.txt"), QByteArray("the user's own file"));
    QCOMPARE(QDir(book).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"files", "index.html", "mine.txt", "other.html"}));
    QCOMPARE(BookBinReader::inspect(book).ok(), true);
  }

  void foreignFilesAreNeverReplacedUnasked() {
    auto tmpl = tmplOf("fo", prop("x", "1"));
    const QString folder = m_dir.path() + "/site";
    writeFile(folder + "/index.html", "<h1>my own home page</h1>");
    writeFile(folder + "/files/report.pdf", "%PDF");
    FlashBookOutput out(imagePages(1), tmpl, folder, std::nullopt);
    out.ouputTheBook();
    QVERIFY(!out.succeeded() && out.failures().empty());
    QCOMPARE(out.foreignEntries(), QStringList({"files/report.pdf", "index.html"}));
    QCOMPARE(readFile(folder + "/index.html"), QByteArray("<h1>my own home page</h1>"));

    // Told to, it replaces files/ whole.
    FlashBookOutput named(imagePages(1), tmpl, folder, QStringLiteral("book.html"));
    named.setReplaceForeignFiles(true);
    named.ouputTheBook();
    QVERIFY(named.succeeded());
    QVERIFY(!QFileInfo::exists(folder + "/files/report.pdf"));
    QCOMPARE(readFile(folder + "/index.html"), QByteArray("<h1>my own home page</h1>"));  // not in the way
    QCOMPARE(readFile(folder + "/files/.folivox-entries"), QByteArray("book.html\n"));

    // Now a book stands beside the user's page; a publish under the page's
    // name still stops at it: the book did not write it.
    FlashBookOutput again(imagePages(1), tmpl, folder, std::nullopt);
    again.ouputTheBook();
    QVERIFY(!again.succeeded());
    QCOMPARE(again.foreignEntries(), QStringList({"index.html"}));
    QCOMPARE(readFile(folder + "/index.html"), QByteArray("<h1>my own home page</h1>"));
    // The book's own page is replaced, though this template's page does not
    // show itself as ours (its entry record names it); so is a page that does.
    FlashBookOutput own(imagePages(2), tmpl, folder, QStringLiteral("book.html"));
    own.ouputTheBook();
    QVERIFY2(own.succeeded(), qPrintable(own.error()));
    writeFile(folder + "/old.html", "<meta name=\"generator\" content=\"Folivox\">");
    FlashBookOutput older(imagePages(1), tmpl, folder, QStringLiteral("old.html"));
    older.ouputTheBook();
    QVERIFY2(older.succeeded(), qPrintable(older.error()));
  }

  // The record a batch keeps in a book: what the book was made from, with
  // no path or time, counted as one of the book's files by a republish.
  void sourceRecord() {
    auto tmpl = tmplOf("sr", prop("x", "1"));
    const QString root = m_dir.path() + "/record";
    writeFile(root + "/in/doc.pdf", "%PDF-1.7 the bytes");
    QString error;
    QCOMPARE(
        BookSourceRecord::inputDigest(root + "/in/doc.pdf", &error),
        std::optional<QByteArray>(QCryptographicHash::hash("%PDF-1.7 the bytes", QCryptographicHash::Sha256).toHex()));
    // A folder by its files' names and bytes: a byte moved from a name into a file shows.
    writeFile(root + "/pics/ab", "c");
    const auto folder = BookSourceRecord::inputDigest(root + "/pics", &error);
    QVERIFY(folder);
    QVERIFY(QFile::remove(root + "/pics/ab"));
    writeFile(root + "/pics/a", "bc");
    QVERIFY(BookSourceRecord::inputDigest(root + "/pics", &error) != folder);
    // A pipe is never opened (it would wait for a writer).
    QVERIFY(::mkfifo(QFile::encodeName(root + "/in/fifo").constData(), 0600) == 0);
    QVERIFY(!BookSourceRecord::inputDigest(root + "/in/fifo", &error) && !error.isEmpty());

    const QByteArray record = BookSourceRecord::recordFor("doc.pdf", "ab12", {"--title", "T \"q\""});
    QCOMPARE(record, QByteArray("{\"input\":\"doc.pdf\",\"options\":[\"--title\",\"T \\\"q\\\"\"],"
                                "\"sha256\":\"ab12\",\"v\":1}\n"));
    const QString book = root + "/book";
    QVERIFY(QDir().mkpath(book));
    QVERIFY(!BookSourceRecord::matches(book, record));
    FlashBookOutput out(imagePages(1), tmpl, book, std::nullopt);
    out.ouputTheBook();
    QVERIFY(out.succeeded());
    QVERIFY(!BookSourceRecord::matches(book, record));  // a book, but no record
    QVERIFY(BookSourceRecord::write(book, record, &error));
    QVERIFY(BookSourceRecord::matches(book, record));
    QVERIFY(!BookSourceRecord::matches(book, BookSourceRecord::recordFor("doc.pdf", "ab13", {})));

    // A republish takes the record for the book's own, and leaves it behind.
    FlashBookOutput again(imagePages(2), tmpl, book, std::nullopt);
    again.ouputTheBook();
    QVERIFY2(again.succeeded(), qPrintable(again.foreignEntries().join(", ")));
    QVERIFY(!QFileInfo::exists(book + "/files/source.json"));
  }

  void transactionLeftoversAndLock() {
    auto tmpl = tmplOf("tx", prop("x", "1"));
    const QString book = m_dir.path() + "/tx";
    QDir().mkpath(book);
    FlashBookOutput(imagePages(3), tmpl, book, std::nullopt).ouputTheBook();
    const QByteArray oldBin = readFile(book + "/files/book.bin");

    // Another publish holds the lock: this one stops at once and says why.
    {
      BookTransaction other(book);
      QVERIFY(other.begin());
      FlashBookOutput blocked(imagePages(1), tmpl, book, std::nullopt);
      blocked.ouputTheBook();
      QVERIFY2(blocked.error().contains("Another publish"), qPrintable(blocked.error()));
      QCOMPARE(readFile(book + "/files/book.bin"), oldBin);
    }

    // What killed publishes leave: one was writing (no list), one was killed
    // after it swapped files/ but before the page. The next transaction
    // removes the first and finishes the second.
    const QString writing = book + "/" + BookTransaction::kStagingPrefix + "dead01";
    writeFile(writing + "/files/page/1.jpg", "half");
    const QString swapping = book + "/" + BookTransaction::kStagingPrefix + "dead02";
    writeFile(swapping + "/files/book.bin", "new bin");
    writeFile(swapping + "/index.html", "new page for files/book.bin");
    QVERIFY(::renameat2(AT_FDCWD, QFile::encodeName(swapping + "/files").constData(), AT_FDCWD,
                        QFile::encodeName(book + "/files").constData(), RENAME_EXCHANGE) == 0);
    writeFile(swapping + "/" + BookTransaction::kSwapListName,
              QByteArray::number(inode(book + "/files")) + "\tfiles\n" +
                  QByteArray::number(inode(swapping + "/index.html")) + "\tindex.html\n");
    // Another publish holds the folder (its lock, as another process takes
    // it): the leftovers are its business, and the folder is busy.
    {
      const int held = ::open(QFile::encodeName(book + "/" + BookTransaction::kLockName).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC, 0666);
      struct flock whole {};
      whole.l_type = F_WRLCK;
      QCOMPARE(::fcntl(held, F_OFD_SETLK, &whole), 0);
      BookTransaction::finishInterrupted(book);
      QVERIFY(QFileInfo::exists(writing) && QFileInfo::exists(swapping));
      QVERIFY2(BookTransaction::folderProblem(book, false).contains("Another publish"),
               qPrintable(BookTransaction::folderProblem(book, false)));
      ::close(held);
    }
    QCOMPARE(BookTransaction::folderProblem(book, false), QString());
    // Any command that opens the folder finishes the swaps: no publish is needed.
    BookTransaction::finishInterrupted(book);
    QCOMPARE(readFile(book + "/files/book.bin"), QByteArray("new bin"));
    QCOMPARE(readFile(book + "/index.html"), QByteArray("new page for files/book.bin"));
    QVERIFY(!QFileInfo::exists(writing) && !QFileInfo::exists(swapping));
    QCOMPARE(QDir(book).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"files", "index.html"}));

    // Where the file system cannot exchange two folders, a republish still
    // replaces the whole book.
    FlashBookOutput(imagePages(3), tmpl, book, std::nullopt).ouputTheBook();
    BookTransaction::setExchangeAllowed(false);
    FlashBookOutput plain(imagePages(1), tmpl, book, std::nullopt);
    plain.ouputTheBook();
    BookTransaction::setExchangeAllowed(true);
    QVERIFY2(plain.succeeded(), qPrintable(plain.error()));
    QCOMPARE(QDir(book + "/files/page").entryList(QDir::Files), QStringList({"1.jpg"}));
    QVERIFY(BookBinReader::inspect(book).bookXml.contains("count=\"1\""));
    QCOMPARE(QDir(book).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"files", "index.html"}));
  }

  void pagesAreNeverReadThroughLinksOrDevices() {
    auto tmpl = tmplOf("ln", prop("logo", "", "pt_file"));
    const QString secret = m_dir.path() + "/secret.txt";
    writeFile(secret, "secret");
    auto pages = std::make_shared<FlashPageSourceImg>();
    writeFile(m_dir.path() + "/linkpics/1.jpg", "jpeg");
    QVERIFY(QFile::link(secret, m_dir.path() + "/linkpics/2.jpg"));
    for (const char* name : {"/linkpics/1.jpg", "/linkpics/2.jpg"}) pages->addImgPageFromFile(m_dir.path() + name);
    pages->generateNormalPages();
    const QString book = m_dir.path() + "/links";
    QDir().mkpath(book);
    FlashBookOutput out(pages, tmpl, book, std::nullopt);
    out.ouputTheBook();
    QCOMPARE(out.failures().size(), size_t(1));
    QVERIFY2(out.failures()[0].reason.contains("symbolic link"), qPrintable(out.failures()[0].reason));
    QVERIFY(QDir(book).isEmpty());

    // A pipe named as a logo is refused at once, not read for ever.
    const QString fifo = m_dir.path() + "/pipe.png";
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    tmpl->propertyForKey("logo")->setValue(fifo);
    FlashBookOutput pipe(imagePages(1), tmpl, book, std::nullopt);
    pipe.ouputTheBook();
    QCOMPARE(pipe.failures().size(), size_t(1));
    QVERIFY(pipe.failures()[0].reason.contains("not a regular file"));
  }

  void documentBooksCarryZoomPicturesThumbnailsAndText() {
    PdfFixture pdf(3);
    pdf.catalogExtra = "/PageLabels << /Nums [0 << /S /r >>] >>";
    QVERIFY(pdf.write(m_dir.path() + "/doc.pdf"));
    auto import = [&](const QString& range, bool extras) {
      auto op = std::make_shared<ImportPDFOperation>(m_dir.path() + "/doc.pdf", range, 144, 85);
      op->setZoomPictures(extras);
      op->setImportText(extras);
      op->start();
      return std::shared_ptr<FlashPageSource>(op->flashPageSource());
    };
    auto tmpl =
        tmplOf("t", prop("bookTitle", "Doc &amp; &lt;Co&gt;"), "<title>${index.title}</title><div>${book.text}</div>");
    const QString book = m_dir.path() + "/docbook";
    QDir().mkpath(book);
    auto publish = [&](std::shared_ptr<FlashPageSource> pages) {
      FlashBookOutput out(std::move(pages), tmpl, book, std::nullopt);
      out.setHTMLConfig(std::make_shared<HTMLConfigInfo>());
      out.ouputTheBook();
      QVERIFY2(out.succeeded(), qPrintable(out.failures().empty() ? QString() : out.failures()[0].reason));
    };
    auto urls = [&](int position) {
      pugi::xml_document doc;
      const QByteArray xml = BookBinReader::inspect(book).bookXml;
      doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()));
      pugi::xml_node page = doc.child("flipbook").child("pages").first_child();
      for (int i = 0; i < position; ++i) page = page.next_sibling();
      return QStringList{page.child_value("normalUrl"), page.child_value("largeUrl"), page.child_value("thumbUrl")};
    };

    publish(import("ALL", true));
    QCOMPARE(urls(1), (QStringList{"./files/page/2.jpg", "./files/large/2.jpg", "./files/thumb/2.jpg"}));
    for (const char* f : {"files/large/3.jpg", "files/thumb/3.jpg", "files/text/1.js", "files/text/3.js",
                          "files/text/all.js", "files/pages.js"})
      QVERIFY2(QFileInfo::exists(book + "/" + f), f);
    QCOMPARE(readFile(book + "/files/pages.js"),
             QByteArray("folivoxData(\"pages\", 0, {\"v\":1,\"labels\":[\"i\",\"ii\",\"iii\"]});\n"));
    const BookTextReader::Result text = BookTextReader::read(book);
    QVERIFY2(text.ok(), qPrintable(text.error));
    QCOMPARE(text.pages.size(), 3);
    QCOMPARE(text.pages[2].number, 3);
    QCOMPARE(text.pages[2].text, QStringLiteral("Page 3"));
    // The page names the book in its hidden section, escaped, then its pages.
    QCOMPARE(readFile(book + "/index.html"),
             QByteArray("<title>PDF to Flashbook</title><div><h1>Doc &amp; &lt;Co&gt;</h1><h2>Page i</h2><p>Page 1</p>"
                        "<h2>Page ii</h2><p>Page 2</p><h2>Page iii</h2><p>Page 3</p></div>"));

    // Fewer pages: the text of the pages that left goes with them.
    publish(import("2", true));
    QCOMPARE(QDir(book + "/files/text").entryList(QDir::Files), (QStringList{"2.js", "all.js"}));
    // Without zoom pictures and text: no stale ones stay, thumbnails remain.
    publish(import("ALL", false));
    QCOMPARE(urls(0), (QStringList{"./files/page/1.jpg", "./files/page/1.jpg", "./files/thumb/1.jpg"}));
    for (const char* f : {"files/large", "files/text"}) QVERIFY2(!QFileInfo::exists(book + "/" + f), f);
    QVERIFY(QFileInfo::exists(book + "/files/thumb/3.jpg"));
    QVERIFY(QFileInfo::exists(book + "/files/pages.js"));  // the printed numbers are no text
    QCOMPARE(readFile(book + "/index.html"),
             QByteArray("<title>PDF to Flashbook</title><div><h1>Doc &amp; &lt;Co&gt;</h1></div>"));
    // Picture books have one file per page.
    publish(imagePages(2));
    QCOMPARE(urls(1), (QStringList{"./files/page/2.jpg", "./files/page/2.jpg", "./files/page/2.jpg"}));
    QVERIFY(!QFileInfo::exists(book + "/files/thumb"));
    QVERIFY(!QFileInfo::exists(book + "/files/pages.js"));
  }

  void appBundle() {
    QCOMPARE(FlashBookOutputApp::bundleNameFor("Report.html"), QStringLiteral("Report.app"));
    QCOMPARE(FlashBookOutputApp::bundleNameFor("Report"), QStringLiteral("Report.app"));
    QCOMPARE(FlashBookOutputApp::bundleNameFor("a.b.html"), QStringLiteral("a.b.app"));
    auto tmpl = tmplOf("app", prop("x", "1"));
    const QString target = m_dir.path() + "/apps";
    QDir().mkpath(target);
    FlashBookOutputApp out(imagePages(2), tmpl, target, QStringLiteral("Report.html"));
    QCOMPARE(out.outputFileName(), target + "/Report.app");
    out.ouputTheBook();
    QVERIFY2(out.succeeded(), out.failures().empty() ? "" : qPrintable(out.failures()[0].reason));
    const QString contents = target + "/Report.app/Contents";
    QVERIFY(QFileInfo(contents + "/MacOS/launcher").isExecutable());
    QVERIFY(QFileInfo::exists(contents + "/Info.plist"));
    QVERIFY(QFileInfo::exists(contents + "/Resources/index.html"));
    QVERIFY(QFileInfo::exists(contents + "/Resources/files/book.bin"));
    // A missing skeleton is reported, and no bundle is put in place.
    PlatformPaths paths = PlatformPaths::current();
    PlatformPaths noSkeleton = paths;
    noSkeleton.resourceFolder = m_dir.path() + "/nores";
    PlatformPaths::setCurrent(noSkeleton);
    FlashBookOutputApp bare(imagePages(1), tmplOf("app", prop("x", "1")), target + "/new/deeper",
                            QStringLiteral("Bare"));
    bare.ouputTheBook();
    PlatformPaths::setCurrent(paths);
    QCOMPARE(bare.failures().size(), size_t(1));
    QVERIFY(bare.failures()[0].reason.contains("skeleton"));
    QVERIFY(QDir(target + "/new/deeper").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // A second publish replaces the whole bundle.
    writeFile(contents + "/Resources/stale.txt", "old");
    FlashBookOutputApp again(imagePages(1), tmpl, target, QStringLiteral("Report.html"));
    again.ouputTheBook();
    QVERIFY(again.succeeded());
    QVERIFY(!QFileInfo::exists(contents + "/Resources/stale.txt"));
    QVERIFY(!QFileInfo::exists(contents + "/Resources/files/page/2.jpg"));
    // A folder of that name that is no bundle of ours is left alone unless asked.
    writeFile(target + "/Mine.app/notes.txt", "mine");
    FlashBookOutputApp mine(imagePages(1), tmpl, target, QStringLiteral("Mine"));
    mine.ouputTheBook();
    QCOMPARE(mine.foreignEntries(), QStringList({"Mine.app"}));
    QCOMPARE(readFile(target + "/Mine.app/notes.txt"), QByteArray("mine"));
  }
};

FOLIVOX_TEST_MAIN(TestPublish)
#include "test_publish.moc"
