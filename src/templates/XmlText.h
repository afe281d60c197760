// Small pugixml helpers shared by the template and book readers.
#pragma once

#include <QString>
#include <pugixml.hpp>

namespace XmlText {

// The complete text below an element (all text and CDATA, concatenated in
// document order), taken as it stands. Iterative, so depth costs no stack.
inline QString textContent(const pugi::xml_node& element) {
  std::string out;
  pugi::xml_node n = element.first_child();
  while (n && n != element) {
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) out += n.value();
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n != element && !n.next_sibling()) n = n.parent();
    if (n == element) break;
    n = n.next_sibling();
  }
  return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

// 1-based line of a byte offset in `text` (for log lines that name an element).
inline int lineOfOffset(const QByteArray& text, ptrdiff_t offset) {
  if (offset < 0) return 0;
  const qsizetype end = std::min<qsizetype>(static_cast<qsizetype>(offset), text.size());
  return static_cast<int>(QByteArrayView(text.constData(), end).count('\n')) + 1;
}

}  // namespace XmlText
