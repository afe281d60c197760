// The printed page numbers of a PDF, from its /PageLabels number tree: roman
// front matter (i, ii, iii), "A-1" appendices, numbers that start anywhere.
// The tree is untrusted: it is walked without recursion, each node once, to
// a bounded depth and number of ranges.
#pragma once

#include <QString>
#include <vector>

class MuPdfDocument;

class PdfPageLabels {
 public:
  static constexpr int kMaxTreeDepth = 32;
  static constexpr int kMaxRanges = 100'000;
  static constexpr qsizetype kMaxPrefixLength = 128;
  // Roman numerals and letters past these values are written in digits.
  static constexpr int kMaxRoman = 9999;
  static constexpr int kMaxLetters = 26 * 20;

  // Reads the document's labels. Throws ImportError when MuPDF fails.
  explicit PdfPageLabels(const MuPdfDocument& doc);

  // True when the document has no page labels at all.
  bool isEmpty() const { return m_ranges.empty(); }
  // The label of page `index` (from 0); "" when no range covers it.
  QString label(int index) const;

  // `value` in the numbering style of /S: D 1 2 3, R I II III, r i ii iii,
  // A A..Z AA..ZZ, a a..z aa..zz; "" for any other style (labels that are
  // only a prefix).
  static QString number(char style, qint64 value);

 private:
  struct Range {
    int start;   // first page index
    char style;  // 'D', 'R', 'r', 'A', 'a', or 0 for none
    QString prefix;
    qint64 first;  // the number of the range's first page (/St)
  };
  std::vector<Range> m_ranges;  // ascending by start, one per start
};
