// The words of one page with their places on the page picture, as the search
// and the text layer of a published book use them (files/text/N.js and the
// page's entry in files/text/all.js, see docs/book-files.md).
//
// MuPdfDocument feeds it the page's structured text character by character,
// in reading order. Words are split at white space; ligatures are spelled out
// (fi, fl, ffi), soft hyphens dropped, and characters that XML or JSON cannot
// carry (controls, unpaired surrogates, U+FFFE/U+FFFF) never enter a word.
// A word cut by a hyphen at the end of a line is marked, so that search can
// join it with the next word.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

class PageText {
 public:
  // Bounds for hostile pages: words beyond kMaxWords are dropped (and
  // truncated() says so), and a run of letters longer than kMaxWordLength
  // UTF-16 units becomes several words.
  static constexpr qsizetype kMaxWords = 100'000;
  static constexpr qsizetype kMaxWordLength = 512;

  // Word flags, as written.
  static constexpr int kLineEnd = 1;
  static constexpr int kBlockEnd = 2;
  static constexpr int kHyphenated = 4;  // goes on in the next word; search joins them without the hyphen
  static constexpr int kDirectionShift = 3;  // 0..3 quarter turns clockwise from left-to-right

  struct Word {
    QString text;
    QRectF box;  // fractions of the page picture, from its top-left corner
    int flags = 0;
  };

  // `frame` is the page picture's rectangle in the coordinates the characters
  // arrive in (MuPDF's page bounds: rotated and cropped as drawn).
  explicit PageText(const QRectF& frame = QRectF(0, 0, 1, 1)) : m_frame(frame) {}

  // ---- building, in reading order ----
  // A line whose baseline runs along (dx, dy) in the picture (y down).
  void beginLine(double dx, double dy);
  // One character and its box, in frame coordinates.
  void addChar(char32_t c, const QRectF& box);
  void endLine();
  void endBlock();

  // ---- the result ----
  const QList<Word>& words() const { return m_words; }
  bool isEmpty() const { return m_words.isEmpty(); }
  bool truncated() const { return m_truncated; }

  // files/text/N.js: folivoxData("text", N, {"v": 1, "w": [[text, x, y, w, h, flags], ...]});
  QByteArray textScript(qint32 number) const;
  // This page's entry of files/text/all.js: [N, "words joined", [hyphenated word indices]].
  QByteArray searchEntry(qint32 number) const;
  // The words joined by one space, with a line break after each line's last word.
  QString joinedText() const;

 private:
  void appendToWord(QChar c);
  void finishWord();

  QRectF m_frame;
  QList<Word> m_words;
  QString m_word;
  QRectF m_wordBox;
  int m_direction = 0;
  qsizetype m_lineStart = 0;   // index of the current line's first word
  bool m_softHyphenAtEnd = false;
  qsizetype m_hyphenCandidate = -1;  // a line's last word that ended in a hyphen
  bool m_truncated = false;
};
