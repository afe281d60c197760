// Prints paragraphs of text onto the pages of a PDF, line by line, as the
// import's text conversion lays them out (DocumentToPdf: the text view's
// width, its page size and margins). Each paragraph is laid out in pieces of
// at most kChunk characters and printed as it comes, so time and memory grow
// with the length of the text, however long a paragraph or the document is.
// (A QTextDocument laid out whole takes time that grows with the square of
// its length: hours for a few megabytes.)
#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>
#include <memory>

class QIODevice;
class QPainter;
class QPdfWriter;
class QTextCharFormat;

class TextPagePrinter {
 public:
  // A piece never ends inside a line that is kept, so the lines are the ones a
  // whole layout would give (the last line of a piece is laid out again with
  // the next one).
  static constexpr qsizetype kChunk = 4096;

  // Prints onto `device`: text `insetX` points in from both sides of the text
  // view, the first page's text `insetY` points below its top.
  TextPagePrinter(QIODevice* device, const QFont& font, double insetX, double insetY);
  ~TextPagePrinter();
  TextPagePrinter(const TextPagePrinter&) = delete;
  TextPagePrinter& operator=(const TextPagePrinter&) = delete;

  // False with the reason when the PDF cannot be started.
  bool begin(QString* error);
  // A paragraph: beginParagraph(), any number of addText(), endParagraph().
  void beginParagraph(Qt::Alignment align = Qt::AlignLeft);
  // `format` holds what differs from the printer's font (weight, size, colour ...).
  void addText(QStringView text, const QTextCharFormat* format = nullptr);
  void endParagraph();
  // The alignment of the paragraph's lines not yet printed. (A paragraph is
  // printed in pieces once it is long; readers that learn its alignment only
  // at its end, as RTF's, set it before endParagraph().)
  void setAlignment(Qt::Alignment align) { m_align = align; }
  // Ends the PDF. Blank lines after the last visible one add no page. False
  // with the reason when the PDF could not be written.
  bool finish(QString* error);

  // Pages begun so far (at least 1 once begun).
  int pageCount() const { return m_pages; }
  // True once something other than white space was printed.
  bool hasInk() const { return m_hasInk; }

 private:
  void layOutPiece(bool wholeRest);
  void place(const QTextLine& line, bool blank);

  std::unique_ptr<QPdfWriter> m_writer;
  std::unique_ptr<QPainter> m_painter;
  QFont m_font;
  double m_k = 1;  // device units per point
  double m_insetX = 0;
  double m_width = 0;       // of a line, in device units
  double m_tabStop = 0;     // as QTextOption takes it
  double m_pageHeight = 0;  // of the text area, in device units
  double m_y = 0;           // top of the next line on the page
  int m_pages = 0;
  int m_pendingPages = 0;  // pages full of blank lines, begun only when ink follows
  bool m_lineOnPage = false;
  bool m_hasInk = false;
  bool m_ok = true;

  // The paragraph not yet printed.
  QString m_text;
  QList<QTextLayout::FormatRange> m_formats;
  Qt::Alignment m_align = Qt::AlignLeft;
  Qt::LayoutDirection m_direction = Qt::LayoutDirectionAuto;
  bool m_inParagraph = false;
};
