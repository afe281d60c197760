#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <pugixml.hpp>

#include "cli/CliCommands.h"
#include "publish/BookBinReader.h"

// Decrypts a book's book.bin, checks the zip inside and prints book.xml.
int runPrintBookCommand(const QStringList& args) {
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (args == QStringList{QStringLiteral("--help")}) {
    out << "Usage: folivox-cli inspect BOOK\n"
           "Decrypts a book's files/book.bin, checks the zip archive inside and prints its book.xml.\n"
           "\n"
           "Options:\n"
           "  -h, --help  show this help\n"
           "\n"
           "Arguments:\n"
           "  BOOK        a published book folder, or its files/book.bin\n";
    return 0;
  }
  if (args.size() != 1) {
    err << "usage: folivox-cli inspect BOOK_FOLDER|book.bin\n";
    return 2;
  }
  const BookBinReader::Result result = BookBinReader::inspect(args.first());
  if (!result.ok()) {
    err << "folivox-cli: " << result.error << "\n";
    return 1;
  }
  // The bytes as they are: no copy through a QString for a large book.
  std::fwrite(result.bookXml.constData(), 1, static_cast<size_t>(result.bookXml.size()), stdout);
  if (!result.bookXml.endsWith('\n')) std::fputc('\n', stdout);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
