#include "import/PageSvg.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

bool allowedElement(const char* name) {
  static const std::unordered_set<std::string> kElements = {"svg",
                                                            "defs",
                                                            "g",
                                                            "path",
                                                            "use",
                                                            "image",
                                                            "clipPath",
                                                            "mask",
                                                            "pattern",
                                                            "symbol",
                                                            "rect",
                                                            "linearGradient",
                                                            "radialGradient",
                                                            "stop",
                                                            "filter",
                                                            "feColorMatrix",
                                                            "feComponentTransfer",
                                                            "feFuncA",
                                                            "feFuncR",
                                                            "feFuncG",
                                                            "feFuncB",
                                                            "feFlood",
                                                            "feComposite",
                                                            "feBlend",
                                                            "feImage"};
  return kElements.count(name) != 0;
}

bool startsWith(const char* s, const char* prefix) { return std::strncmp(s, prefix, std::strlen(prefix)) == 0; }

bool caseContains(const char* s, const char* word) {
  std::string lower(s);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(word) != std::string::npos;
}

// A reference that stays inside the file or is an embedded picture.
bool safeReference(const char* v) {
  return v[0] == '#' || startsWith(v, "data:image/png;base64,") || startsWith(v, "data:image/jpeg;base64,");
}

// Every url(...) in a value must point into the file.
bool safeUrls(const char* v) {
  for (const char* p = std::strstr(v, "url("); p; p = std::strstr(p + 4, "url(")) {
    const char* q = p + 4;
    while (*q == ' ' || *q == '\'' || *q == '"') ++q;
    if (*q != '#') return false;
  }
  return true;
}

bool numericAttribute(const char* name) {
  static const std::unordered_set<std::string> kNumeric = {"d",
                                                           "transform",
                                                           "x",
                                                           "y",
                                                           "width",
                                                           "height",
                                                           "viewBox",
                                                           "points",
                                                           "x1",
                                                           "y1",
                                                           "x2",
                                                           "y2",
                                                           "cx",
                                                           "cy",
                                                           "r",
                                                           "fx",
                                                           "fy",
                                                           "gradientTransform",
                                                           "patternTransform",
                                                           "stroke-width"};
  return kNumeric.count(name) != 0;
}

// The end of the plain decimal number at `p` ([-]digits[.digits][e[+-]digits]),
// or `p` itself. Hex, "inf" and "nan", which strtod would also take, and a dot
// with no digit after it stay text, so that a second pass reads the same.
const char* numberEnd(const char* p) {
  auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  const char* q = p;
  if (*q == '-') ++q;
  const char* start = q;
  while (digit(*q)) ++q;
  if (*q == '.' && digit(q[1])) {
    ++q;
    while (digit(*q)) ++q;
  }
  if (q == start) return p;
  if (*q == 'e' || *q == 'E') {
    const char* r = q + 1;
    if (*r == '-' || *r == '+') ++r;
    if (digit(*r)) {
      while (digit(*r)) ++r;
      q = r;
    }
  }
  return q;
}

// Whether `n` written right after `out` would be read back as part of the
// number before it: "1" then "2", or "2e" then "-2" (an exponent).
bool mergesWithPrevious(const std::string& out, const std::string& n) {
  if (out.empty()) return false;
  auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  const char last = out.back();
  if (n[0] != '-' && (digit(last) || last == '.')) return true;
  size_t i = out.size();
  if (last == '+' || last == '-') --i;
  return i >= 2 && (out[i - 1] == 'e' || out[i - 1] == 'E') && digit(out[i - 2]);
}

// Rewrites every decimal number in `v` with at most kDecimals decimals, the
// rest of the text as it was. Numbers that would run together get a space.
std::string roundNumbers(const char* v) {
  std::string out;
  out.reserve(std::strlen(v));
  const double scale = std::pow(10.0, PageSvg::kDecimals);
  const char* p = v;
  while (*p) {
    // A '+' stays text, and so does a '-' after a sign: otherwise "--.0001"
    // would round to "-0" and, on a second pass, to "0".
    const bool signStart = *p == '-' && (out.empty() || (out.back() != '-' && out.back() != '+')) &&
                           (std::isdigit(static_cast<unsigned char>(p[1])) || p[1] == '.');
    const bool numStart =
        std::isdigit(static_cast<unsigned char>(*p)) || (*p == '.' && std::isdigit(static_cast<unsigned char>(p[1])));
    // A letter followed by digits is a name (an id, "pt" after a size), not a number to touch.
    const bool afterLetter = !out.empty() && std::isalpha(static_cast<unsigned char>(out.back())) &&
                             out.back() != 'e' && out.back() != 'E' &&
                             std::strchr("MmLlHhVvCcSsQqTtAaZz", out.back()) == nullptr;
    if ((signStart || numStart) && !afterLetter) {
      const char* end = numberEnd(p);
      if (end == p) {
        out += *p++;
        continue;
      }
      const double value = std::strtod(std::string(p, static_cast<size_t>(end - p)).c_str(), nullptr);
      std::string n;
      if (!std::isfinite(value) || std::fabs(value) >= 1e9) {
        // Far off any page: no decimals to cut, and rounding would change the
        // digits on every pass. Kept as written.
        n.assign(p, static_cast<size_t>(end - p));
      } else {
        double r = std::round(value * scale) / scale;
        if (r == 0) r = 0;  // no "-0"
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", PageSvg::kDecimals, r);
        n = buf;
        if (n.find('.') != std::string::npos) {
          while (n.back() == '0') n.pop_back();
          if (n.back() == '.') n.pop_back();
        }
        if (startsWith(n.c_str(), "0."))
          n.erase(0, 1);
        else if (startsWith(n.c_str(), "-0."))
          n.erase(1, 1);
      }
      if (mergesWithPrevious(out, n)) out += ' ';
      out += n;
      p = end;
    } else {
      out += *p++;
    }
  }
  return out;
}

}  // namespace

QByteArray PageSvg::clean(QByteArrayView svg) {
  if (svg.size() > kMaxBytes) return {};
  pugi::xml_document doc;
  // No DOCTYPE, entities or processing instructions are parsed into the tree;
  // a document that needs them is refused below as not MuPDF's.
  const unsigned options = pugi::parse_default & ~pugi::parse_pi;
  if (!doc.load_buffer(svg.data(), static_cast<size_t>(svg.size()), options, pugi::encoding_utf8)) return {};
  pugi::xml_node root = doc.document_element();
  if (!root || std::strcmp(root.name(), "svg") != 0) return {};
  // One drawing: a second element after it would be written out unchecked.
  for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling())
    if ((n.type() != pugi::node_element && n.type() != pugi::node_declaration) ||
        (n.type() == pugi::node_element && n != root))
      return {};

  // Depth first, without recursion.
  std::vector<std::pair<pugi::xml_node, int>> stack{{root, 0}};
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    if (depth > kMaxDepth) return {};
    if (node.type() != pugi::node_element) {
      // Whitespace between elements is all MuPDF writes as text.
      if (node.type() == pugi::node_pcdata) {
        for (const char* c = node.value(); *c; ++c)
          if (!std::isspace(static_cast<unsigned char>(*c))) return {};
        continue;
      }
      return {};
    }
    if (!allowedElement(node.name())) return {};
    std::vector<pugi::xml_attribute> drop;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
      const char* name = a.name();
      const char* value = a.value();
      if (startsWith(name, "data-")) {
        drop.push_back(a);
        continue;
      }
      if (startsWith(name, "on")) return {};  // event handlers
      if (std::strcmp(name, "style") == 0 || caseContains(value, "javascript:") || caseContains(name, "javascript:"))
        return {};
      if (std::strcmp(name, "href") == 0 || std::strcmp(name, "xlink:href") == 0) {
        if (!safeReference(value)) return {};
        continue;
      }
      if (!safeUrls(value)) return {};
      if (numericAttribute(name)) a.set_value(roundNumbers(value).c_str());
    }
    for (pugi::xml_attribute a : drop) node.remove_attribute(a);
    for (pugi::xml_node c = node.last_child(); c; c = c.previous_sibling()) stack.push_back({c, depth + 1});
  }

  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  const std::string s = out.str();
  return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}
