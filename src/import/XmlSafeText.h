// Text taken from a PDF may hold characters that XML 1.0 cannot carry (most
// control characters, U+FFFE/U+FFFF, unpaired surrogates). pugixml would
// write them as they are and the player's XML parser would reject the whole
// book, so they are dropped before the text enters an element.
#pragma once

#include <QString>

inline QString xmlSafeText(const QString& text, qsizetype maxLength = -1) {
  QString out;
  out.reserve(text.size());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c)) {
      if (i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
        out.append(text[i]);
        out.append(text[++i]);
      }
      continue;
    }
    if (QChar::isLowSurrogate(c)) continue;
    if ((c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF) continue;
    out.append(QChar(c));
  }
  if (maxLength >= 0 && out.size() > maxLength) {
    qsizetype cut = maxLength;
    if (cut > 0 && out[cut - 1].isHighSurrogate()) --cut;  // keep pairs whole
    out.truncate(cut);
  }
  return out;
}
