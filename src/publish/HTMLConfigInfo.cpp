#include "publish/HTMLConfigInfo.h"

#include <QCoreApplication>
#include <QFile>

#include "base/AtomicFile.h"
#include "base/TextDecoding.h"
#include "publish/TextTemplate.h"

QString HTMLConfigInfo::escapeHtml(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case '&':
        out += QStringLiteral("&amp;");
        break;
      case '<':
        out += QStringLiteral("&lt;");
        break;
      case '>':
        out += QStringLiteral("&gt;");
        break;
      case '"':
        out += QStringLiteral("&quot;");
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<QString> HTMLConfigInfo::readTemplateText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  if (file.size() > kMaxTemplatePageSize) return std::nullopt;
  return TextDecoding::decode(file.readAll());
}

bool HTMLConfigInfo::generateHTMLFrom(const QString& source, const QString& target, QString* error) const {
  const std::optional<QString> text = readTemplateText(source);
  if (!text) {
    if (error != nullptr)
      *error = QCoreApplication::translate("HTMLConfigInfo", "cannot read the template page %1").arg(source);
    return false;
  }
  TextTemplate tmpl(*text);
  tmpl.setItem(QStringLiteral("index.title"), escapeHtml(m_title));
  tmpl.setItem(QStringLiteral("meta.keywords"), escapeHtml(m_keywords));
  tmpl.setItem(QStringLiteral("meta.description"), escapeHtml(m_description));
  tmpl.setItem(QStringLiteral("book.text"), m_bookText);
  return AtomicFile::writeFile(target, tmpl.parse().toUtf8(), error);
}
