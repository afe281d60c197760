#include "publish/BookWeight.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <pugixml.hpp>

#include "publish/BookBinReader.h"

namespace {

// Regular files only, links not followed: what a web server would send.
qint64 fileBytes(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && !info.isSymLink() ? info.size() : 0;
}

qint64 folderBytes(const QString& folder) {
  qint64 sum = 0;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
  while (it.hasNext()) sum += fileBytes(it.next());
  return sum;
}

// A page URL of book.xml as a path in the book, or "" for anything that is
// not a plain relative path inside it.
QString bookFile(const QString& folder, const char* url) {
  QString u = QString::fromUtf8(url).trimmed();
  if (u.startsWith(QLatin1String("./"))) u = u.mid(2);
  if (u.isEmpty() || u.startsWith(QLatin1Char('/')) || u.contains(QLatin1String("..")) || u.contains(QLatin1Char(':')))
    return QString();
  return QDir(folder).filePath(u);
}

}  // namespace

BookWeight BookWeight::measure(const QString& folder, const QString& htmlName) {
  BookWeight w;
  const QString files = QDir(folder).filePath(QStringLiteral("files"));
  const qint64 html = fileBytes(QDir(folder).filePath(htmlName));
  const qint64 bin = fileBytes(QDir(files).filePath(QStringLiteral("book.bin")));
  if (html == 0 || bin == 0) return w;
  w.bookBytes = folderBytes(files) + html + fileBytes(QDir(folder).filePath(QStringLiteral("book.swf")));

  w.openingBytes = html + bin + fileBytes(QDir(files).filePath(QStringLiteral("pages.js")));
  const BookBinReader::Result book = BookBinReader::inspect(folder);
  pugi::xml_document doc;
  if (!book.ok() || !doc.load_buffer(book.bookXml.constData(), static_cast<size_t>(book.bookXml.size()))) return w;
  // The first spread is the cover alone.
  const pugi::xml_node cover = doc.child("flipbook").child("pages").child("page");
  const QString picture = bookFile(folder, cover.child_value("normalUrl"));
  const QString thumb = bookFile(folder, cover.child_value("thumbUrl"));
  if (!picture.isEmpty()) w.openingBytes += fileBytes(picture);
  if (!thumb.isEmpty() && thumb != picture) w.openingBytes += fileBytes(thumb);
  static const QRegularExpression number(QStringLiteral("/(\\d+)\\.[A-Za-z0-9]+$"));
  const QRegularExpressionMatch m = number.match(picture);
  if (m.hasMatch()) w.openingBytes += fileBytes(QDir(files).filePath(QStringLiteral("text/%1.js").arg(m.captured(1))));
  return w;
}

QString BookWeight::size(qint64 bytes) {
  // Digits as the user's locale writes them ("4,2 MB" in German).
  const QLocale locale;
  if (bytes < 1024) return QCoreApplication::translate("BookWeight", "%1 bytes").arg(locale.toString(bytes));
  if (bytes < 1024 * 1024)
    return QCoreApplication::translate("BookWeight", "%1 KB").arg(locale.toString((bytes + 512) / 1024));
  return QCoreApplication::translate("BookWeight", "%1 MB")
      .arg(locale.toString(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1));
}

QString BookWeight::sentence() const {
  return QCoreApplication::translate("BookWeight", "The book takes %1; a reader downloads %2 to open it.")
      .arg(size(bookBytes), size(openingBytes));
}
