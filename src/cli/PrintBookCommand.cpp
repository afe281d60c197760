#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <pugixml.hpp>

#include "cli/CliCommands.h"
#include "publish/BookBinReader.h"

// Decrypts a book's book.bin, checks the zip inside and prints book.xml.
int runPrintBookCommand(const QStringList& args) {
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (args.size() != 1) {
    err << "usage: folivox-cli inspect BOOK_FOLDER|book.bin\n";
    return 2;
  }
  const BookBinReader::Result result = BookBinReader::inspect(args.first());
  if (!result.ok()) {
    err << "folivox-cli: " << result.error << "\n";
    return 1;
  }
  out << QString::fromUtf8(result.bookXml);
  if (!result.bookXml.endsWith('\n')) out << "\n";
  return 0;
}
