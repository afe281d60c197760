#include "publish/EpubXhtml.h"

#include <sstream>
#include <string_view>

#include "import/XmlSafeText.h"

namespace EpubXhtml {

std::string safe(const QString& text) { return xmlSafeText(text).toStdString(); }

pugi::xml_node start(pugi::xml_document& doc, const QString& language, const QString& title) {
  pugi::xml_node html = doc.append_child("html");
  html.append_attribute("xmlns") = "http://www.w3.org/1999/xhtml";
  html.append_attribute("xmlns:epub") = "http://www.idpf.org/2007/ops";
  html.append_attribute("lang") = safe(language).c_str();
  html.append_attribute("xml:lang") = safe(language).c_str();
  pugi::xml_node head = html.append_child("head");
  head.append_child("meta").append_attribute("charset") = "UTF-8";
  head.append_child("title").text() = safe(title).c_str();
  return html;
}

QByteArray serialise(const pugi::xml_document& doc, Layout layout) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  if (std::string_view(doc.document_element().name()) == "html") out << "<!DOCTYPE html>\n";
  if (layout == Layout::Indented) {
    doc.save(out, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
  } else {
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    out << "\n";
  }
  return QByteArray::fromStdString(out.str());
}

}  // namespace EpubXhtml
