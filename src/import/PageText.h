// The words of one page with their places on the page picture, as the search
// and the text layer of a published book use them (files/text/N.js and the
// page's entry in files/text/all.js, see docs/book-files.md).
//
// MuPdfDocument feeds it the page's structured text character by character,
// in MuPDF's order: blocks (paragraphs, columns) of lines. Words are split at
// white space; ligatures are spelled out (fi, fl, ffi), soft hyphens dropped,
// and characters that XML or JSON cannot carry (controls, unpaired
// surrogates, U+FFFE/U+FFFF) never enter a word.
//
// Within a block, lines are grouped by their baseline, not by the gaps MuPDF
// splits them at: the pieces of a justified line with wide gaps are one line,
// and a contents entry whose page number MuPDF gave before its title is read
// left to right. Letter-spaced text ("s h e  s n a r f e d") is joined into
// its words. A word cut by a hyphen at the end of a line is marked, so that
// search can join it with the next word. Each word keeps its font size, for a
// view that sets the text anew.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QtNumeric>

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
  static constexpr int kHyphenated = 4;      // goes on in the next word; search joins them without the hyphen
  static constexpr int kDirectionShift = 3;  // 0..3 quarter turns clockwise from left-to-right

  struct Word {
    QString text;
    QRectF box;  // fractions of the page picture, from its top-left corner
    int flags = 0;
    double size = 0;  // font size in points, as MuPDF gives it (0: not known)
  };

  // `frame` is the page picture's rectangle in the coordinates the characters
  // arrive in (MuPDF's page bounds: rotated and cropped as drawn).
  explicit PageText(const QRectF& frame = QRectF(0, 0, 1, 1)) : m_frame(frame) {}

  // ---- building, in reading order ----
  // A line whose baseline runs along (dx, dy) in the picture (y down).
  void beginLine(double dx, double dy);
  // One character and its box, in frame coordinates; its font size and the
  // point of its baseline it starts at, when known (else the box tells).
  void addChar(char32_t c, const QRectF& box, double size = 0, QPointF origin = QPointF(qQNaN(), qQNaN()));
  void endLine();
  void endBlock();

  // ---- the result ----
  const QList<Word>& words() const { return m_words; }
  bool isEmpty() const { return m_words.isEmpty(); }
  bool truncated() const { return m_truncated; }

  // files/text/N.js: folivoxData("text", N, {"v": 1, "w": [[text, x, y, w, h, flags], ...],
  // "fs": [[first word, font size], ...], "pt": [width, height]});
  QByteArray textScript(qint32 number) const;
  // This page's entry of files/text/all.js: [N, "words joined", [hyphenated word indices]].
  QByteArray searchEntry(qint32 number) const;
  // The words joined by one space, with a line break after each line's last word.
  QString joinedText() const;

 private:
  // A word while its block is read: in frame coordinates, with its baseline.
  struct Piece {
    QString text;
    QRectF box;
    double baseline = 0;  // across the line's direction: y for text across the page, x for text down it
    double size = 0;
    bool softHyphen = false;
  };
  // What MuPDF gave as one line, and later a line of the page: pieces in order.
  struct Line {
    QList<Piece> pieces;
    int direction = 0;
  };

  void appendToWord(QChar c);
  void finishWord();
  bool sameLine(const Line& a, const Line& b) const;
  void emitBlock();
  static void joinLetterSpaced(QList<Piece>& pieces, int direction);

  QRectF m_frame;
  QList<Word> m_words;
  QList<Line> m_block;      // the block being read
  qsizetype m_pending = 0;  // pieces in m_block
  QString m_word;
  QRectF m_wordBox;
  double m_wordSize = 0;
  double m_wordBaseline = qQNaN();
  int m_direction = 0;
  bool m_inLine = false;
  bool m_softHyphenAtEnd = false;
  bool m_truncated = false;
};
