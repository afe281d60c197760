#include "session/BatchList.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstdio>

namespace BatchList {

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Why a publish option cannot stand in a batch line, or "". The batch chooses
// each book's folder; help and version would end the document's run without
// a book and be taken for success; "--" would turn what follows into inputs.
QString refusedOption(const QString& word) {
  if (word == QLatin1String("-o") || word == QLatin1String("--output") || word.startsWith(QLatin1String("--output=")) ||
      (word.startsWith(QLatin1String("-o")) && !word.startsWith(QLatin1String("--"))))
    return QCoreApplication::translate("BatchList",
                                       "%1: the batch chooses the output folder (OUTDIR/NAME); leave it out")
        .arg(word);
  if (word == QLatin1String("-h") || word == QLatin1String("--help") || word == QLatin1String("--version") ||
      word == QLatin1String("--"))
    return QCoreApplication::translate("BatchList", "%1 has no place in a batch line").arg(word);
  return QString();
}

BatchEntry entryFor(int number, const QByteArray& bytes) {
  BatchEntry entry;
  entry.line = number;
  const auto fail = [&](const QString& why) {
    entry.error = QStringLiteral("line %1: %2").arg(number).arg(why);
    return entry;
  };
  if (bytes.size() > kMaxLineLength)
    return fail(QCoreApplication::translate("BatchList", "longer than %1 bytes").arg(kMaxLineLength));
  if (bytes.contains('\0')) return fail(QCoreApplication::translate("BatchList", "holds a NUL byte"));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  if (utf8.hasError()) return fail(QCoreApplication::translate("BatchList", "is not UTF-8 text"));
  QStringList words;
  QString error;
  if (!splitWords(text, &words, &error)) return fail(error);
  if (words.isEmpty()) return entry;
  if (words.size() > kMaxWords)
    return fail(QCoreApplication::translate("BatchList", "has more than %1 words").arg(kMaxWords));
  entry.input = words.takeFirst();
  entry.options = words;
  if (entry.input.isEmpty()) return fail(QCoreApplication::translate("BatchList", "the input is empty"));
  for (const QString& option : std::as_const(entry.options))
    if (const QString why = refusedOption(option); !why.isEmpty()) return fail(why);
  return entry;
}

}  // namespace

bool splitWords(const QString& line, QStringList* words, QString* error) {
  words->clear();
  QString word;
  bool inWord = false;
  const qsizetype n = line.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = line[i];
    if (isBlank(c)) {
      if (inWord) words->append(word);
      word.clear();
      inWord = false;
    } else if (c == QLatin1Char('#') && !inWord) {
      break;  // a comment to the line's end
    } else if (c == QLatin1Char('$') && i + 1 < n && line[i + 1] == QLatin1Char('\'')) {
      // $'...': the one way to write a name that holds a line break or a tab.
      inWord = true;
      for (i += 2;; ++i) {
        if (i >= n) {
          *error = QCoreApplication::translate("BatchList", "a $' is not closed");
          return false;
        }
        const QChar q = line[i];
        if (q == QLatin1Char('\'')) break;
        if (q == QLatin1Char('\\') && i + 1 < n) {
          const QChar e = line[++i];
          word += e == QLatin1Char('n')   ? QChar(u'\n')
                  : e == QLatin1Char('t') ? QChar(u'\t')
                  : e == QLatin1Char('r') ? QChar(u'\r')
                                          : e;
        } else {
          word += q;
        }
      }
    } else if (c == QLatin1Char('\'')) {
      const qsizetype close = line.indexOf(QLatin1Char('\''), i + 1);
      if (close < 0) {
        *error = QCoreApplication::translate("BatchList", "a ' is not closed");
        return false;
      }
      word += line.mid(i + 1, close - i - 1);
      inWord = true;
      i = close;
    } else if (c == QLatin1Char('"')) {
      inWord = true;
      for (++i;; ++i) {
        if (i >= n) {
          *error = QStringLiteral("a \" is not closed");
          return false;
        }
        const QChar q = line[i];
        if (q == QLatin1Char('"')) break;
        if (q == QLatin1Char('\\') && i + 1 < n && QStringLiteral("\"\\$`").contains(line[i + 1])) ++i;
        word += line[i];
      }
    } else if (c == QLatin1Char('\\')) {
      if (i + 1 >= n) {
        *error = QCoreApplication::translate("BatchList", "the line ends in a backslash");
        return false;
      }
      word += line[++i];
      inWord = true;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words->append(word);
  return true;
}

Result parse(const QByteArray& bytes) {
  Result result;
  if (bytes.size() > kMaxListSize) {
    result.error = QCoreApplication::translate("BatchList", "the list is larger than %1 MB; split it")
                       .arg(kMaxListSize / (1024 * 1024));
    return result;
  }
  qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;  // a byte-order mark
  int number = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    ++number;
    QByteArray line = bytes.mid(start, end - start);
    if (line.endsWith('\r')) line.chop(1);
    start = end + 1;
    BatchEntry entry = entryFor(number, line);
    if (entry.input.isEmpty() && entry.error.isEmpty()) continue;  // blank or a comment
    if (static_cast<qsizetype>(result.entries.size()) >= kMaxEntries) {
      result.entries.clear();
      result.error =
          QCoreApplication::translate("BatchList", "the list has more than %1 documents; split it").arg(kMaxEntries);
      return result;
    }
    result.entries.push_back(std::move(entry));
  }
  return result;
}

bool read(const QString& path, QByteArray* bytes, QString* error) {
  QFile file;
  const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                 : (file.setFileName(path), file.open(QIODevice::ReadOnly));
  if (!opened) {
    *error = QCoreApplication::translate("BatchList", "cannot read the list %1: %2").arg(path, file.errorString());
    return false;
  }
  // One byte more than allowed tells a list that is too large from one that
  // fits. A pipe gives what it has at each read: read on until its end.
  bytes->clear();
  while (bytes->size() <= kMaxListSize) {
    const QByteArray chunk = file.read(std::min<qint64>(1 << 20, kMaxListSize + 1 - bytes->size()));
    if (chunk.isEmpty()) break;
    bytes->append(chunk);
  }
  if (file.error() != QFileDevice::NoError) {
    *error = QCoreApplication::translate("BatchList", "cannot read the list %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace BatchList
