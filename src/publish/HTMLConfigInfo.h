// The title, keywords and description that fill a book's HTML page.
#pragma once

#include <QString>
#include <optional>

class HTMLConfigInfo {
 public:
  const QString& HTMLTitle() const { return m_title; }
  void setHTMLTitle(const QString& v) { m_title = v; }
  const QString& HTMLKeywords() const { return m_keywords; }
  void setHTMLKeywords(const QString& v) { m_keywords = v; }
  const QString& HTMLDescription() const { return m_description; }
  void setHTMLDescription(const QString& v) { m_description = v; }
  // The fourth placeholder, ${book.text}: HTML made by BookIndexSection, put
  // in as it is (it is escaped where it is made). Empty by default.
  const QString& HTMLBookText() const { return m_bookText; }
  void setHTMLBookText(const QString& v) { m_bookText = v; }

  // Fills the placeholders of the template page `source` and writes the page
  // to `target` atomically as UTF-8. The title, keywords and description are
  // HTML-escaped first, so a title such as "Tom & Jerry <2>" shows as typed. False (target untouched)
  // when the source cannot be read or the target cannot be written.
  bool generateHTMLFrom(const QString& source, const QString& target, QString* error = nullptr) const;

  // Reads a template page: UTF-16 or UTF-8 by byte-order mark, otherwise UTF-8
  // (Latin-1 when it is not valid UTF-8). None when it cannot be read or is
  // larger than any page.
  static std::optional<QString> readTemplateText(const QString& path);
  static constexpr qint64 kMaxTemplatePageSize = 64 * 1024 * 1024;
  static QString escapeHtml(const QString& text);

 private:
  QString m_title = QStringLiteral("PDF to Flashbook");
  QString m_keywords = QStringLiteral("Folivox,page flip,flashbook,flash-book");
  QString m_description = QStringLiteral("folivox.org");
  QString m_bookText;
};
