#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <cstdio>
#include <pugixml.hpp>

#include "cli/CliCommands.h"
#include "publish/BookBinReader.h"
#include "publish/BookTextReader.h"
#include "publish/BookTransaction.h"

namespace {

const char* const kUsage =
    QT_TRANSLATE_NOOP("PrintBookCommand", "usage: folivox-cli inspect BOOK_FOLDER|book.bin [--text [--page N]]\n");

// The page numbers of the book's pictures (./files/page/N.jpg), in book order.
QList<qint32> pageNumbers(const QByteArray& bookXml) {
  QList<qint32> numbers;
  pugi::xml_document doc;
  if (!doc.load_buffer(bookXml.constData(), static_cast<size_t>(bookXml.size()))) return numbers;
  static const QRegularExpression number(QStringLiteral("/(\\d+)\\.[^/.]*$"));
  for (pugi::xml_node page : doc.child("flipbook").child("pages").children("page")) {
    const QRegularExpressionMatch m = number.match(QString::fromUtf8(page.child_value("normalUrl")));
    if (m.hasMatch()) numbers << m.captured(1).toInt();
  }
  return numbers;
}

// Prints the text of a published book: every page with text under a
// "--- page N ---" line, or just page N's text.
int printText(const QString& book, const QByteArray& bookXml, std::optional<qint32> page) {
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (page && !pageNumbers(bookXml).contains(*page)) {
    err << "folivox-cli: " << QCoreApplication::translate("PrintBookCommand", "page %1 is not in the book").arg(*page)
        << "\n";
    return 1;
  }
  const BookTextReader::Result text = BookTextReader::read(book);
  if (!text.ok()) {
    err << "folivox-cli: " << text.error << "\n";
    return 1;
  }
  for (const BookTextReader::Page& p : text.pages) {
    if (page && p.number != *page) continue;
    if (!page) out << "--- page " << p.number << " ---\n";
    out << p.text << "\n";
  }
  return 0;
}

}  // namespace

// Decrypts a book's book.bin, checks the zip inside and prints book.xml, or
// the book's text.
int runPrintBookCommand(const QStringList& args) {
  QTextStream err(stderr);
  if (args == QStringList{QStringLiteral("--help")}) {
    QTextStream(stdout) << QCoreApplication::translate(
        "PrintBookCommand",
        "Usage: folivox-cli inspect BOOK [--text [--page N]]\n"
        "Decrypts a book's files/book.bin, checks the zip archive inside and prints its book.xml;\n"
        "with --text, prints the text of the book's pages from its files instead.\n"
        "\n"
        "Options:\n"
        "  --text      print the text of every page, each under a \"--- page N ---\" line\n"
        "  --page N    with --text: print only the text of page N (as in files/page/N.jpg)\n"
        "  -h, --help  show this help\n"
        "\n"
        "Arguments:\n"
        "  BOOK        a published book folder, or its files/book.bin\n");
    return 0;
  }
  QStringList rest = args;
  const bool text = rest.removeAll(QStringLiteral("--text")) > 0;
  std::optional<qint32> page;
  if (const qsizetype at = rest.indexOf(QStringLiteral("--page")); at >= 0) {
    bool ok = false;
    const qint32 n = at + 1 < rest.size() ? rest[at + 1].toInt(&ok) : 0;
    if (!text || !ok || n < 1) {
      err << QCoreApplication::translate("PrintBookCommand", kUsage);
      return 2;
    }
    page = n;
    rest.remove(at, 2);
  }
  if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
    err << QCoreApplication::translate("PrintBookCommand", kUsage);
    return 2;
  }
  // A publish killed between its swaps left a half-swapped book: finish it
  // first, in the book's folder or, for a bundle's, in the folder above it.
  const QFileInfo given(rest.first());
  const QString bookFolder = given.isDir() ? given.absoluteFilePath() : QDir::cleanPath(given.absolutePath() + "/..");
  BookTransaction::finishInterrupted(bookFolder);
  if (bookFolder.endsWith(QLatin1String(".app/Contents/Resources")))
    BookTransaction::finishInterrupted(QDir::cleanPath(bookFolder + "/../../.."));
  const BookBinReader::Result result = BookBinReader::inspect(rest.first());
  if (!result.ok()) {
    err << "folivox-cli: " << result.error << "\n";
    return 1;
  }
  if (text) {
    // The text lives beside book.bin, in the book folder.
    const QFileInfo info(rest.first());
    const QString folder =
        info.isDir() ? info.filePath() : QDir::cleanPath(info.absolutePath() + QStringLiteral("/.."));
    return printText(folder, result.bookXml, page);
  }
  // The bytes as they are: no copy through a QString for a large book.
  std::fwrite(result.bookXml.constData(), 1, static_cast<size_t>(result.bookXml.size()), stdout);
  if (!result.bookXml.endsWith('\n')) std::fputc('\n', stdout);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
