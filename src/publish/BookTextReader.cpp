#include "publish/BookTextReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include "base/DataScript.h"
#include "base/RegularFile.h"

std::optional<BookTextReader::Page> BookTextReader::entry(const QJsonValue& value) {
  const QJsonArray a = value.toArray();
  if (a.size() < 3 || !a[0].isDouble() || !a[1].isString() || !a[2].isArray()) return std::nullopt;
  const double number = a[0].toDouble();
  if (number < 1 || number > 2147483647.0 || number != static_cast<double>(static_cast<qint64>(number)))
    return std::nullopt;
  Page page;
  page.number = static_cast<qint32>(number);
  page.text = a[1].toString();
  for (const QJsonValue& i : a[2].toArray()) {
    if (!i.isDouble() || i.toDouble() < 0 || i.toDouble() > 2147483647.0) return std::nullopt;
    page.hyphenated.append(static_cast<qint32>(i.toDouble()));
  }
  return page;
}

std::optional<BookTextReader::Page> BookTextReader::entry(const QByteArray& json) {
  const QJsonDocument doc = QJsonDocument::fromJson(json);
  if (!doc.isArray()) return std::nullopt;
  return entry(QJsonValue(doc.array()));
}

BookTextReader::Result BookTextReader::read(const QString& path) {
  Result result;
  const QString file = QFileInfo(path).isDir() ? QDir(path).filePath(QStringLiteral("files/text/all.js")) : path;
  if (!QFileInfo::exists(file)) {
    result.error = QCoreApplication::translate("BookTextReader",
                                               "%1 has no text (it was published without text, or from pictures)")
                       .arg(path);
    return result;
  }
  QString why;
  const std::optional<QByteArray> bytes = RegularFile::read(file, DataScript::kMaxScriptBytes, &why);
  if (!bytes) {
    result.error = QCoreApplication::translate("BookTextReader", "cannot read %1: %2").arg(file, why);
    return result;
  }
  const std::optional<QJsonObject> payload = DataScript::payload(*bytes, "search", nullptr, &why);
  if (!payload) {
    result.error = QCoreApplication::translate("BookTextReader", "cannot read %1: %2").arg(file, why);
    return result;
  }
  QSet<qint32> seen;
  for (const QJsonValue& v : payload->value(QStringLiteral("pages")).toArray()) {
    std::optional<Page> page = entry(v);
    if (!page || seen.contains(page->number)) {
      result.pages.clear();
      result.error =
          QCoreApplication::translate("BookTextReader", "cannot read %1: a page's entry is damaged").arg(file);
      return result;
    }
    seen.insert(page->number);
    result.pages.append(std::move(*page));
  }
  return result;
}

QString BookTextReader::searchableText(const Page& page) {
  const QSet<qint32> joined(page.hyphenated.begin(), page.hyphenated.end());
  QString out;
  out.reserve(page.text.size());
  qint32 word = 0;
  qsizetype start = 0;
  const qsizetype n = page.text.size();
  for (qsizetype i = 0; i <= n; ++i) {
    if (i < n && page.text[i] != QLatin1Char(' ') && page.text[i] != QLatin1Char('\n')) continue;
    if (i > start) {
      QStringView w = QStringView(page.text).mid(start, i - start);
      const bool goesOn = joined.contains(word) && i < n;
      if (goesOn && (w.endsWith(QLatin1Char('-')) || w.endsWith(QChar(0x2010)))) w.chop(1);
      out += w;
      if (!goesOn && i < n) out += QLatin1Char(' ');
      ++word;
    }
    start = i + 1;
  }
  return out.trimmed();
}
