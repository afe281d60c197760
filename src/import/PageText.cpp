#include "import/PageText.h"

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
    case 0xFB00: return "ff";
    case 0xFB01: return "fi";
    case 0xFB02: return "fl";
    case 0xFB03: return "ffi";
    case 0xFB04: return "ffl";
    case 0xFB05: return "st";  // long s + t
    case 0xFB06: return "st";
    default: return nullptr;
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
  m_lineStart = m_words.size();
  // The baseline's direction in the picture (y down), to whole quarter turns.
  if (!std::isfinite(dx) || !std::isfinite(dy) || std::abs(dx) >= std::abs(dy))
    m_direction = dx < 0 ? 2 : 0;
  else
    m_direction = dy > 0 ? 1 : 3;
}

void PageText::addChar(char32_t c, const QRectF& box) {
  if (m_truncated) return;
  if (isSeparator(c)) return finishWord();
  // Text outside the picture is not seen, so it is not found either.
  if (!(box.right() >= m_frame.left() && box.left() <= m_frame.right() && box.bottom() >= m_frame.top() &&
        box.top() <= m_frame.bottom()))
    return;
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
  const bool softHyphen = m_softHyphenAtEnd;
  m_softHyphenAtEnd = false;
  if (m_word.isEmpty()) {
    m_wordBox = QRectF();
    return;
  }
  if (m_words.size() >= kMaxWords) {
    m_truncated = true;
    m_word.clear();
    m_wordBox = QRectF();
    return;
  }
  // The first word after a hyphenated line end decides whether the two are
  // one word: "exam-" + "ple" is, "Jean-" + "Paul" and "2-" + "3" are not.
  if (m_hyphenCandidate >= 0) {
    const QChar first = m_word[0];
    if (m_words[m_hyphenCandidate].flags & kHyphenated ? first.isLetter() : first.isLower())
      m_words[m_hyphenCandidate].flags |= kHyphenated;
    else
      m_words[m_hyphenCandidate].flags &= ~kHyphenated;
    m_hyphenCandidate = -1;
  }

  const double fx = m_frame.x(), fy = m_frame.y();
  const double fw = m_frame.width() > 0 ? m_frame.width() : 1, fh = m_frame.height() > 0 ? m_frame.height() : 1;
  const double left = clamp01((m_wordBox.left() - fx) / fw), right = clamp01((m_wordBox.right() - fx) / fw);
  const double top = clamp01((m_wordBox.top() - fy) / fh), bottom = clamp01((m_wordBox.bottom() - fy) / fh);
  Word w;
  w.text = m_word;
  w.box = QRectF(left, top, right - left, bottom - top);
  // A soft hyphen at the end is a break for certain; kept here until the
  // line's end shows whether the word really ends the line.
  w.flags = (m_direction << kDirectionShift) | (softHyphen ? kHyphenated : 0);
  m_words.append(std::move(w));
  m_word.clear();
  m_wordBox = QRectF();
}

void PageText::endLine() {
  finishWord();
  if (m_words.size() <= m_lineStart) return;
  Word& last = m_words.last();
  last.flags |= kLineEnd;
  if ((last.flags & kHyphenated) || endsWithHardHyphen(last.text)) m_hyphenCandidate = m_words.size() - 1;
  // Soft hyphens inside a line joined nothing; only a line's last word keeps the mark.
  for (qsizetype i = m_lineStart; i + 1 < m_words.size(); ++i) m_words[i].flags &= ~kHyphenated;
  m_lineStart = m_words.size();
}

void PageText::endBlock() {
  endLine();
  if (m_hyphenCandidate >= 0) m_words[m_hyphenCandidate].flags &= ~kHyphenated;
  m_hyphenCandidate = -1;  // a paragraph's last word goes on nowhere
  if (!m_words.isEmpty()) m_words.last().flags |= kLineEnd | kBlockEnd;
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
