#include "import/PageText.h"

#include <QtNumeric>
#include <algorithm>
#include <cmath>

#include "base/DataScript.h"

namespace {

bool isSeparator(char32_t c) {
  if (c == 0x200B) return true;  // zero-width space: a word boundary in scripts without spaces
  return c <= 0xFFFF ? QChar::isSpace(c) : false;
}

// Characters no word may hold: controls, surrogates on their own, the two
// non-characters, byte-order marks and code points beyond Unicode.
bool isDropped(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF ||
         c == 0xFEFF || c > 0x10FFFF;
}

// Presentation forms of Latin ligatures, spelled out.
const char* ligature(char32_t c) {
  switch (c) {
    case 0xFB00:
      return "ff";
    case 0xFB01:
      return "fi";
    case 0xFB02:
      return "fl";
    case 0xFB03:
      return "ffi";
    case 0xFB04:
      return "ffl";
    case 0xFB05:
      return "st";  // long s + t
    case 0xFB06:
      return "st";
    default:
      return nullptr;
  }
}

bool endsWithHardHyphen(const QString& word) {
  const qsizetype n = word.size();
  if (n < 2) return false;
  const QChar last = word[n - 1];
  return (last == QLatin1Char('-') || last == QChar(0x2010)) && word[n - 2].isLetter();
}

double clamp01(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; }

}  // namespace

void PageText::beginLine(double dx, double dy) {
  finishWord();
  // The baseline's direction in the picture (y down), to whole quarter turns.
  if (!std::isfinite(dx) || !std::isfinite(dy) || std::abs(dx) >= std::abs(dy))
    m_direction = dx < 0 ? 2 : 0;
  else
    m_direction = dy > 0 ? 1 : 3;
  m_inLine = false;
}

void PageText::addChar(char32_t c, const QRectF& box, double size, QPointF origin) {
  if (m_truncated) return;
  if (isSeparator(c)) return finishWord();
  // Text outside the picture is not seen, so it is not found either.
  if (!(box.right() >= m_frame.left() && box.left() <= m_frame.right() && box.bottom() >= m_frame.top() &&
        box.top() <= m_frame.bottom()))
    return;
  if (std::isnan(m_wordBaseline)) {
    // Across the line: y for text that runs sideways, x for text that runs down or up.
    const bool across = (m_direction & 1) == 0;
    const double o = across ? origin.y() : origin.x();
    m_wordBaseline = std::isfinite(o)   ? o
                     : m_direction == 0 ? box.bottom()
                     : m_direction == 1 ? box.left()
                     : m_direction == 2 ? box.top()
                                        : box.right();
  }
  if (std::isfinite(size) && size > m_wordSize) m_wordSize = size;
  if (c == 0x00AD) {  // a soft hyphen shows only where it breaks a line, and is never part of the word
    m_softHyphenAtEnd = !m_word.isEmpty();
    m_wordBox = m_wordBox.isNull() ? box : m_wordBox.united(box);
    return;
  }
  if (isDropped(c)) return;

  if (const char* spelled = ligature(c)) {
    for (const char* p = spelled; *p; ++p) appendToWord(QLatin1Char(*p));
  } else if (c > 0xFFFF) {
    const char16_t pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
    if (m_word.size() + 2 > kMaxWordLength) finishWord();
    m_word.append(QChar(pair[0]));
    m_word.append(QChar(pair[1]));
  } else {
    appendToWord(QChar(static_cast<char16_t>(c)));
  }
  m_softHyphenAtEnd = false;
  m_wordBox = m_wordBox.isNull() ? box : m_wordBox.united(box);
  if (m_word.size() >= kMaxWordLength) finishWord();
}

void PageText::appendToWord(QChar c) {
  if (m_word.size() >= kMaxWordLength) finishWord();
  m_word.append(c);
}

void PageText::finishWord() {
  Piece p;
  p.softHyphen = m_softHyphenAtEnd;
  p.text = std::move(m_word);
  p.box = m_wordBox;
  p.size = m_wordSize;
  p.baseline = m_wordBaseline;
  m_word.clear();
  m_wordBox = QRectF();
  m_wordSize = 0;
  m_wordBaseline = qQNaN();
  m_softHyphenAtEnd = false;
  if (p.text.isEmpty()) return;
  if (m_words.size() + m_pending >= kMaxWords) {
    m_truncated = true;
    return;
  }
  if (!m_inLine || m_block.isEmpty()) {
    m_block.append(Line{{}, m_direction});
    m_inLine = true;
  }
  m_block.last().pieces.append(std::move(p));
  ++m_pending;
}

void PageText::endLine() {
  finishWord();
  m_inLine = false;
}

void PageText::endBlock() {
  endLine();
  emitBlock();
}

namespace {

// A word's size across its line: its font size, else the height of its box.
double sizeOf(double size, const QRectF& box, int direction) {
  if (size > 0) return size;
  return (direction & 1) ? box.width() : box.height();
}

// Where a word starts along its line's direction, growing in reading order.
double startAlong(const QRectF& b, int direction) {
  switch (direction) {
    case 1:
      return b.top();
    case 2:
      return -b.right();
    case 3:
      return -b.bottom();
    default:
      return b.left();
  }
}

double endAlong(const QRectF& b, int direction) {
  switch (direction) {
    case 1:
      return b.bottom();
    case 2:
      return -b.left();
    case 3:
      return -b.top();
    default:
      return b.right();
  }
}

}  // namespace

// Two pieces of text MuPDF gave as lines are one line of the page when their
// baselines lie within a third of the smaller font size of each other.
bool PageText::sameLine(const Line& a, const Line& b) const {
  if (a.direction != b.direction || a.pieces.isEmpty() || b.pieces.isEmpty()) return false;
  const Piece& x = a.pieces.last();
  const Piece& y = b.pieces.first();
  const double size = std::min(sizeOf(x.size, x.box, a.direction), sizeOf(y.size, y.box, b.direction));
  return std::abs(x.baseline - y.baseline) <= size / 3;
}

// Letter-spaced text arrives as one-letter words a small gap apart. Where a
// line has three or more of them in a row, one-letter words that close are
// joined; wider gaps, the spaces between the words, stay.
void PageText::joinLetterSpaced(QList<Piece>& pieces, int direction) {
  constexpr double kLetterGap = 0.25;  // of the font size: below an ordinary word space
  const auto single = [](const Piece& p) {
    return p.text.size() == 1 || (p.text.size() == 2 && p.text[0].isHighSurrogate());
  };
  const auto gap = [&](qsizetype i) {
    return startAlong(pieces[i + 1].box, direction) - endAlong(pieces[i].box, direction);
  };
  // Dot leaders are spaced dots, not a word: one of the two must be a letter or digit.
  const auto letter = [](const Piece& p) { return p.text[0].isLetterOrNumber() || p.text[0].isHighSurrogate(); };
  const auto close = [&](qsizetype i, double limit) {
    const double size = sizeOf(pieces[i].size, pieces[i].box, direction);
    const double g = gap(i);
    return single(pieces[i]) && single(pieces[i + 1]) && (letter(pieces[i]) || letter(pieces[i + 1])) &&
           g > -0.1 * size && g <= limit * size;
  };
  // The widest gap between the letters of a run of three or more.
  double pattern = -1;
  for (qsizetype i = 0; i + 1 < pieces.size();) {
    qsizetype j = i;
    double widest = 0;
    while (j + 1 < pieces.size() && close(j, kLetterGap)) {
      widest = std::max(widest, gap(j) / sizeOf(pieces[j].size, pieces[j].box, direction));
      ++j;
    }
    if (j - i >= 2) pattern = std::max(pattern, widest);
    i = j > i ? j : i + 1;
  }
  if (pattern < 0) return;
  const double limit = std::min(kLetterGap, pattern * 1.3 + 0.02);
  QList<Piece> out;
  out.reserve(pieces.size());
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    if (!out.isEmpty() && i > 0 && close(i - 1, limit) && single(pieces[i - 1])) {
      Piece& last = out.last();
      last.text += pieces[i].text;
      last.box = last.box.united(pieces[i].box);
      last.size = std::max(last.size, pieces[i].size);
      last.softHyphen = pieces[i].softHyphen;
      continue;
    }
    out.append(pieces[i]);
  }
  pieces = std::move(out);
}

void PageText::emitBlock() {
  QList<Line> lines;
  QList<bool> merged;
  for (Line& l : m_block) {
    if (l.pieces.isEmpty()) continue;
    if (!lines.isEmpty() && sameLine(lines.last(), l)) {
      lines.last().pieces += std::move(l.pieces);
      merged.last() = true;
    } else {
      lines.append(std::move(l));
      merged.append(false);
    }
  }
  m_block.clear();
  m_pending = 0;

  const double fx = m_frame.x(), fy = m_frame.y();
  const double fw = m_frame.width() > 0 ? m_frame.width() : 1, fh = m_frame.height() > 0 ? m_frame.height() : 1;
  for (qsizetype li = 0; li < lines.size(); ++li) {
    Line& line = lines[li];
    const int d = line.direction;
    if (merged[li])
      std::stable_sort(line.pieces.begin(), line.pieces.end(),
                       [d](const Piece& a, const Piece& b) { return startAlong(a.box, d) < startAlong(b.box, d); });
    joinLetterSpaced(line.pieces, d);
    for (const Piece& p : line.pieces) {
      const double left = clamp01((p.box.left() - fx) / fw), right = clamp01((p.box.right() - fx) / fw);
      const double top = clamp01((p.box.top() - fy) / fh), bottom = clamp01((p.box.bottom() - fy) / fh);
      Word w;
      w.text = p.text;
      w.box = QRectF(left, top, right - left, bottom - top);
      w.flags = d << kDirectionShift;
      w.size = p.size;
      m_words.append(std::move(w));
    }
    Word& last = m_words.last();
    last.flags |= kLineEnd;
    // A line's last word cut by a hyphen goes on in the next line's first word:
    // "exam-" + "ple" does, "Jean-" + "Paul" and "2-" + "3" do not. After a soft
    // hyphen, which shows only where it breaks a word, any letter goes on.
    if (li + 1 < lines.size()) {
      const Piece& end = line.pieces.last();
      const QChar next = lines[li + 1].pieces.first().text[0];
      if (end.softHyphen ? next.isLetter() : endsWithHardHyphen(end.text) && next.isLower()) last.flags |= kHyphenated;
    }
  }
  if (!lines.isEmpty()) m_words.last().flags |= kBlockEnd;
}

QByteArray PageText::textScript(qint32 number) const {
  QByteArray payload;
  payload.reserve(m_words.size() * 48 + 16);
  payload += "{\"v\":1,\"w\":[";
  for (qsizetype i = 0; i < m_words.size(); ++i) {
    const Word& w = m_words[i];
    if (i > 0) payload += ',';
    payload += '[';
    DataScript::appendString(payload, w.text);
    for (double v : {w.box.x(), w.box.y(), w.box.width(), w.box.height()}) {
      payload += ',';
      DataScript::appendFraction(payload, v);
    }
    payload += ',';
    payload += QByteArray::number(w.flags);
    payload += ']';
  }
  payload += ']';
  // Font sizes, for a view that sets the text anew: from each listed word on.
  payload += ",\"fs\":[";
  double shown = -1;
  for (qsizetype i = 0; i < m_words.size(); ++i) {
    const double size = std::round(std::clamp(m_words[i].size, 0.0, 10000.0) * 10) / 10;
    if (size == shown) continue;
    if (shown >= 0) payload += ',';
    payload += '[' + QByteArray::number(i) + ',' + QByteArray::number(size) + ']';
    shown = size;
  }
  payload += "],\"pt\":[";
  payload += QByteArray::number(std::round(std::clamp(m_frame.width(), 0.0, 1e6) * 10) / 10) + ',' +
             QByteArray::number(std::round(std::clamp(m_frame.height(), 0.0, 1e6) * 10) / 10);
  payload += "]}";
  return DataScript::call("text", number, payload);
}

QString PageText::joinedText() const {
  QString text;
  for (qsizetype i = 0; i < m_words.size(); ++i) {
    if (i > 0) text += (m_words[i - 1].flags & kLineEnd) ? QLatin1Char('\n') : QLatin1Char(' ');
    text += m_words[i].text;
  }
  return text;
}

QByteArray PageText::searchEntry(qint32 number) const {
  QByteArray out = '[' + QByteArray::number(number) + ',';
  DataScript::appendString(out, joinedText());
  out += ",[";
  bool first = true;
  for (qsizetype i = 0; i < m_words.size(); ++i) {
    if (!(m_words[i].flags & kHyphenated)) continue;
    if (!first) out += ',';
    out += QByteArray::number(i);
    first = false;
  }
  out += "]]";
  return out;
}
