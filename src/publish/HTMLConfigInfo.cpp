#include "publish/HTMLConfigInfo.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include "publish/TextTemplate.h"

QString HTMLConfigInfo::escapeHtml(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case '&': out += QStringLiteral("&amp;"); break;
      case '<': out += QStringLiteral("&lt;"); break;
      case '>': out += QStringLiteral("&gt;"); break;
      case '"': out += QStringLiteral("&quot;"); break;
      default: out += c;
    }
  }
  return out;
}

std::optional<QString> HTMLConfigInfo::readTemplateText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
    return QString(QStringDecoder(QStringDecoder::Utf16).decode(bytes));
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  return text;
}

bool HTMLConfigInfo::generateHTMLFrom(const QString& source, const QString& target, QString* error) const {
  const std::optional<QString> text = readTemplateText(source);
  if (!text) {
    if (error != nullptr) *error = QStringLiteral("cannot read the template page %1").arg(source);
    return false;
  }
  TextTemplate tmpl(*text);
  tmpl.setItem(QStringLiteral("index.title"), escapeHtml(m_title));
  tmpl.setItem(QStringLiteral("meta.keywords"), escapeHtml(m_keywords));
  tmpl.setItem(QStringLiteral("meta.description"), escapeHtml(m_description));
  const QByteArray bytes = tmpl.parse().toUtf8();
  QSaveFile out(target);
  // A short write means a full disk; commit() would not notice it.
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
    if (error != nullptr) *error = out.errorString();
    return false;
  }
  return true;
}
