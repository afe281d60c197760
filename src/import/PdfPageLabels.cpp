#include "import/PdfPageLabels.h"

#include <algorithm>
#include <utility>

#include "import/MuPdfDocument.h"
#include "import/PdfTree.h"
#include "import/XmlSafeText.h"

PdfPageLabels::PdfPageLabels(const MuPdfDocument& doc) {
  const PdfObject root = doc.catalog().get("PageLabels");
  if (!root.isDict()) return;
  PdfTree::forEachEntry(
      root, "Nums", kMaxTreeDepth, kMaxRanges, "page labels", [&](const PdfObject& key, const PdfObject& dict) {
        if (!key.isNumber() || !dict.isDict()) return;
        const int start = key.integer();
        if (start < 0 || start >= doc.pageCount()) return;
        Range r{start, 0, xmlSafeText(dict.get("P").text().left(kMaxPrefixLength * 2), kMaxPrefixLength), 1};
        const QByteArray style = dict.get("S").name();
        if (style.size() == 1 && QByteArrayView("DRrAa").contains(style[0])) r.style = style[0];
        const PdfObject st = dict.get("St");
        if (st.isNumber()) r.first = st.integer();
        m_ranges.push_back(std::move(r));
      });
  // The first range in tree order wins where two name the same page.
  std::stable_sort(m_ranges.begin(), m_ranges.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
  m_ranges.erase(
      std::unique(m_ranges.begin(), m_ranges.end(), [](const Range& a, const Range& b) { return a.start == b.start; }),
      m_ranges.end());
}

QString PdfPageLabels::label(int index) const {
  const auto after =
      std::upper_bound(m_ranges.begin(), m_ranges.end(), index, [](int i, const Range& r) { return i < r.start; });
  if (after == m_ranges.begin()) return QString();
  const Range& r = *(after - 1);
  return r.prefix + number(r.style, r.first + (index - r.start));
}

QString PdfPageLabels::number(char style, qint64 value) {
  switch (style) {
    case 'D':
      return QString::number(value);
    case 'R':
    case 'r': {
      if (value < 1 || value > kMaxRoman) return QString::number(value);
      static const struct {
        int value;
        const char* text;
      } kNumerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                       {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
      QString out;
      qint64 rest = value;
      for (const auto& n : kNumerals) {
        for (; rest >= n.value; rest -= n.value) out += QLatin1String(n.text);
      }
      return style == 'r' ? out.toLower() : out;
    }
    case 'A':
    case 'a': {
      if (value < 1 || value > kMaxLetters) return QString::number(value);
      const char letter = static_cast<char>((style == 'A' ? 'A' : 'a') + (value - 1) % 26);
      return QString(static_cast<qsizetype>((value - 1) / 26 + 1), QLatin1Char(letter));
    }
    default:
      return QString();
  }
}
