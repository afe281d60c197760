// Link annotations read from a PDF: web links (/A /URI) and links to pages of
// the same document (/Dest, /A /GoTo, named destinations). Remote (GoToR) and
// other actions are skipped, and so are web links to anything but http,
// https, mailto or a relative address (javascript:, file:, ...), with a warning.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QList>
#include <QRectF>
#include <QStringList>
#include <array>
#include <memory>

#include "import/FlashPagesAnnotations.h"

class MuPdfDocument;
class PdfDestinations;
class PdfObject;

class FlashPagesAnnotationsPDF : public FlashPagesAnnotations {
 public:
  // Limits for hostile files. Links beyond the first kMaxLinksPerPage of a
  // page are ignored; an address longer than kMaxUrlBytes is dropped, since a
  // cut address would lead somewhere else.
  static constexpr int kMaxLinksPerPage = 20'000;
  static constexpr qsizetype kMaxUrlBytes = 16 * 1024;

  static constexpr const char* kLinkType = "com.velmora.flipbook.pageeditor.TAnnoLink";
  static constexpr const char* kOpenUrlAction = "com.velmora.flipbook.pageeditor.TAnnoActionOpenURL";
  static constexpr const char* kGotoPageAction = "com.velmora.flipbook.pageeditor.TAnnoActionGotoPage";

  FlashPagesAnnotationsPDF();
  ~FlashPagesAnnotationsPDF() override;

  // Reads the links of the pages that `pageRange` selects into a new
  // pagesAnnos element, one pageAnnos per page. Page numbers outside the
  // document are dropped with a warning. Throws ImportError when MuPDF fails.
  void loadLinksFromPDF(std::shared_ptr<MuPdfDocument> doc, const QString& pageRange);
  // Reads the page at the current position (used by loadLinksFromPDF()).
  void parsePage();

  const std::shared_ptr<MuPdfDocument>& pdfDoc() const { return iPDFDoc; }
  void setPdfDoc(std::shared_ptr<MuPdfDocument> doc) { iPDFDoc = std::move(doc); }
  const QList<qint32>& needToImportPages() const { return iNeedToImportPages; }

  // Skipped page numbers and dropped links, one sentence each.
  const QStringList& warnings() const { return m_warnings; }

  // The link's place as fractions of the page picture as drawn (x, y, width,
  // height from its top-left corner, the page turned clockwise by its
  // rotation), from the link rectangle and the crop box in the page's own
  // coordinates and the page rotation in degrees, in single precision.
  static std::array<float, 4> linkLocation(const QRectF& link, const QRectF& cropBox, int rotation);
  // The rotation as MuPDF draws it: 0..3 clockwise quarter turns, any angle
  // snapped to the nearest one.
  static int quarterTurns(int rotation);
  // The address as it goes into the book: trimmed, resolved against the
  // document's /URI /Base when relative, and with spaces, control characters
  // and non-ASCII bytes percent-encoded. "" for an empty address.
  static QString absoluteUrl(const QByteArray& raw, const QByteArray& base);

 private:
  void appendLink(pugi::xml_node pageAnnos, const PdfObject& annot, const QRectF& cropBox, int rotation, qint32 number);

  QList<qint32> iNeedToImportPages;
  std::shared_ptr<MuPdfDocument> iPDFDoc;
  qint32 iCurrentIndex = 0;

  std::unique_ptr<PdfDestinations> m_dests;
  QByteArray m_uriBase;
  QStringList m_warnings;
  QStringList m_refusedSchemes;  // of the page being read
};
