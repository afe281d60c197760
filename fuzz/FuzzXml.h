// A strict XML check as browsers apply it: libxml2 without recovery refuses
// what DOMParser refuses (broken structure, characters XML 1.0 cannot carry).
#pragma once

#include <libxml/parser.h>

#include <QByteArray>

namespace fuzz {

inline bool wellFormedXml(const QByteArray& xml) {
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE;
  xmlDocPtr doc = xmlReadMemory(xml.constData(), static_cast<int>(xml.size()), nullptr, "UTF-8", options);
  if (doc == nullptr) return false;
  xmlFreeDoc(doc);
  return true;
}

}  // namespace fuzz
