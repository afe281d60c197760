#include "import/TextPagePrinter.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCharFormat>
#include <algorithm>

#include "import/DocumentToPdf.h"

namespace {

bool isInk(QChar c) {
  return !c.isSpace() && c.category() != QChar::Other_Control && c.category() != QChar::Other_Format;
}

bool anyInk(QStringView text) { return std::any_of(text.begin(), text.end(), isInk); }

}  // namespace

TextPagePrinter::TextPagePrinter(QIODevice* device, const QFont& font, double insetX, double insetY)
    : m_writer(std::make_unique<QPdfWriter>(device)), m_font(font), m_insetX(insetX), m_y(insetY) {}

TextPagePrinter::~TextPagePrinter() {
  if (m_painter && m_painter->isActive()) m_painter->end();
}

bool TextPagePrinter::begin(QString* error) {
  m_writer->setCreator(QStringLiteral("Folivox"));
  // Wider than high, although called portrait: the page the text has always
  // been printed on.
  const QPageSize page(QSizeF(DocumentToPdf::kPageWidth, DocumentToPdf::kPageHeight), QPageSize::Point,
                       QStringLiteral("A4 Minimal Margins 1"), QPageSize::ExactMatch);
  m_writer->setPageLayout(QPageLayout(page, QPageLayout::Portrait,
                                      QMarginsF(DocumentToPdf::kMarginLeft, DocumentToPdf::kMarginTop,
                                                DocumentToPdf::kMarginRight, DocumentToPdf::kMarginBottom),
                                      QPageLayout::Point));
  // Text is laid out at the writer's resolution, or it comes out at screen
  // resolution with rounded glyph positions.
  m_k = m_writer->resolution() / 72.0;
  m_font = QFont(m_font, m_writer.get());
  m_width = (DocumentToPdf::kViewWidth - 2 * m_insetX) * m_k;
  // Tab stops every 36 points. Qt scales the distance by the font's
  // resolution over the screen's, which differs between platforms: measure it.
  {
    QTextLayout probe(QStringLiteral("\t"), m_font, m_writer.get());
    QTextOption option;
    option.setTabStopDistance(1000);
    probe.setTextOption(option);
    probe.beginLayout();
    QTextLine line = probe.createLine();
    line.setLineWidth(1e9);
    probe.endLayout();
    const double scale = line.naturalTextWidth() / 1000;
    m_tabStop = 36 * m_k / (scale > 0 ? scale : 1);
  }
  m_insetX *= m_k;
  m_y *= m_k;
  m_pageHeight = (DocumentToPdf::kPageHeight - DocumentToPdf::kMarginTop - DocumentToPdf::kMarginBottom) * m_k;
  m_painter = std::make_unique<QPainter>();
  if (!m_painter->begin(m_writer.get())) {
    if (error) *error = QCoreApplication::translate("TextPagePrinter", "the PDF could not be started");
    return false;
  }
  m_pages = 1;
  return true;
}

void TextPagePrinter::beginParagraph(Qt::Alignment align) {
  if (m_inParagraph) endParagraph();
  m_inParagraph = true;
  m_align = align;
  m_direction = Qt::LayoutDirectionAuto;
  m_text.clear();
  m_formats.clear();
}

void TextPagePrinter::addText(QStringView text, const QTextCharFormat* format) {
  if (!m_inParagraph) beginParagraph();
  if (text.isEmpty()) return;
  if (format != nullptr && !format->isEmpty()) {
    const int start = static_cast<int>(m_text.size());
    const int length = static_cast<int>(text.size());
    if (!m_formats.isEmpty() && m_formats.last().start + m_formats.last().length == start &&
        m_formats.last().format == *format)
      m_formats.last().length += length;
    else
      m_formats.append({start, length, *format});
  }
  m_text.append(text);
  while (m_text.size() >= 2 * kChunk) layOutPiece(false);
}

void TextPagePrinter::endParagraph() {
  if (!m_inParagraph) return;
  while (m_text.size() > kChunk) layOutPiece(false);
  layOutPiece(true);
  m_inParagraph = false;
}

void TextPagePrinter::layOutPiece(bool wholeRest) {
  qsizetype end = wholeRest ? m_text.size() : std::min(kChunk, m_text.size());
  if (end < m_text.size() && end > 1 && m_text.at(end - 1).isHighSurrogate()) --end;
  const QString piece = m_text.left(end);
  // One direction for the whole paragraph, taken from its start, as a whole
  // layout would.
  if (m_direction == Qt::LayoutDirectionAuto) m_direction = piece.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;

  QTextLayout layout(piece, m_font, m_writer.get());
  QTextOption option(m_align);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  option.setTabStopDistance(m_tabStop);
  option.setTextDirection(m_direction);
  layout.setTextOption(option);
  QList<QTextLayout::FormatRange> formats;
  for (const QTextLayout::FormatRange& r : std::as_const(m_formats)) {
    if (r.start >= end) break;
    formats.append({r.start, static_cast<int>(std::min<qsizetype>(r.length, end - r.start)), r.format});
  }
  layout.setFormats(formats);
  layout.beginLayout();
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLeadingIncluded(true);
    line.setLineWidth(m_width);
  }
  layout.endLayout();

  // Without the whole rest, the last line may end early only because the
  // piece does: it is laid out again at the start of the next piece.
  const int lines = layout.lineCount();
  const int keep = wholeRest ? lines : std::max(1, lines - 1);
  for (int i = 0; i < keep; ++i) {
    const QTextLine line = layout.lineAt(i);
    place(line, !anyInk(QStringView(piece).mid(line.textStart(), line.textLength())));
  }
  qsizetype consumed = keep < lines ? layout.lineAt(keep).textStart() : end;
  if (consumed <= 0) consumed = end;

  m_text.remove(0, consumed);
  const int shift = static_cast<int>(consumed);
  QList<QTextLayout::FormatRange> rest;
  for (QTextLayout::FormatRange r : std::as_const(m_formats)) {
    if (r.start + r.length <= shift) continue;
    const int cut = std::max(0, shift - r.start);
    rest.append({r.start + cut - shift, r.length - cut, r.format});
  }
  m_formats = std::move(rest);
}

void TextPagePrinter::place(const QTextLine& line, bool blank) {
  const double height = line.height();
  // A line that does not fit moves whole to the next page, unless it is the
  // first of its page. Each line is drawn exactly once. (Drawing the whole
  // text with a clip per page leaves the clipped lines in the PDF's text.)
  if (m_y + height > m_pageHeight && m_lineOnPage) {
    ++m_pendingPages;
    m_y = 0;
    m_lineOnPage = false;
  }
  if (!blank) {
    for (; m_pendingPages > 0; --m_pendingPages, ++m_pages)
      if (!m_writer->newPage()) m_ok = false;
    line.draw(m_painter.get(), QPointF(m_insetX, m_y));
    m_hasInk = true;
  }
  m_y += height;
  m_lineOnPage = true;
}

bool TextPagePrinter::finish(QString* error) {
  endParagraph();
  if (m_painter && m_painter->isActive()) m_painter->end();
  if (!m_ok && error) *error = QCoreApplication::translate("TextPagePrinter", "a page could not be added");
  return m_ok;
}
