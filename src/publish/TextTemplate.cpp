#include "publish/TextTemplate.h"

namespace {

bool isBlank(QChar c) {
  return c.isSpace() || c == QChar(0x85) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

}  // namespace

QString TextTemplate::parse() const {
  const QString& text = m_fromStr;
  const qsizetype n = text.size();
  const QString opener = QStringLiteral("${");
  qsizetype pos = 0;
  QString result;
  auto skipBlanks = [&] {
    while (pos < n && isBlank(text[pos])) ++pos;
  };
  // Scans from pos up to `stop` (or the end); returns what was scanned.
  auto scanUpTo = [&](const QString& stop) {
    const qsizetype at = text.indexOf(stop, pos);
    const qsizetype end = at < 0 ? n : at;
    const QString chunk = text.mid(pos, end - pos);
    pos = end;
    return chunk;
  };

  for (;;) {
    skipBlanks();
    if (pos >= n) return result;
    // The chunk is empty when a placeholder stands right here (at the start,
    // or right after another one): it is replaced like any other.
    const QString chunk = scanUpTo(opener);
    QString key;
    if (text.mid(pos, 2) == opener) {
      pos += 2;
      skipBlanks();
      key = scanUpTo(QStringLiteral("}"));
      if (pos < n) ++pos;  // the closing brace
    }
    result += chunk + m_keyAndValues.value(key);
  }
}
