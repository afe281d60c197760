#include "session/BookFolderNames.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool keeps(char32_t c) {
  if (c == U'-' || c == U'_' || c == U'.' || c == U'+') return true;
  return QChar::isLetterOrNumber(c);
}

// At most `maxBytes` of UTF-8, cut between characters.
QString cutToBytes(const QString& text, qsizetype maxBytes) {
  QString out;
  qsizetype bytes = 0;
  for (const char32_t c : text.toUcs4()) {
    const qsizetype size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (bytes + size > maxBytes) break;
    bytes += size;
    out += QString::fromUcs4(&c, 1);
  }
  return out;
}

QString trimmed(QString name) {
  while (!name.isEmpty() && QStringLiteral(".-_").contains(name.front())) name.remove(0, 1);
  while (!name.isEmpty() && QStringLiteral("._").contains(name.back())) name.chop(1);
  return name;
}

}  // namespace

QString BookFolderNames::safeName(const QString& input, bool isFolder) {
  const QString last = QFileInfo(QDir::cleanPath(input)).fileName();
  QString base = last;
  if (!isFolder) {
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) base = last.left(dot);
  }
  QString name;
  for (const char32_t c : base.normalized(QString::NormalizationForm_C).toUcs4()) {
    if (keeps(c))
      name += QString::fromUcs4(&c, 1);
    else if (!name.endsWith(QLatin1Char('_')))
      name += QLatin1Char('_');
  }
  name = trimmed(cutToBytes(trimmed(name), kMaxBytes));
  return name.isEmpty() ? QStringLiteral("book") : name;
}

QString BookFolderNames::take(const QString& input, bool isFolder) {
  const QString base = safeName(input, isFolder);
  QString name = base;
  for (int n = 2; m_taken.contains(name.toCaseFolded()); ++n) {
    const QString suffix = QStringLiteral("-%1").arg(n);
    name = trimmed(cutToBytes(base, kMaxBytes - suffix.size())) + suffix;
  }
  m_taken.insert(name.toCaseFolded());
  return name;
}
