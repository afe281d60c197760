// Fills the bookmark tree from a PDF's outline (/Outlines /First /Next).
// Damaged outlines end: every outline item is read once (a /Next or /First
// loop stops where it comes back) and the depth is bounded.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QStringList>
#include <memory>
#include <unordered_set>

#include "import/FlashOutline.h"

class MuPdfDocument;
class PdfDestinations;
class PdfObject;

class FlashOutlinePDF : public FlashOutline {
 public:
  static constexpr int kMaxDepth = 64;
  static constexpr int kMaxItems = 200'000;
  static constexpr qsizetype kMaxCaption = 1000;

  FlashOutlinePDF();
  ~FlashOutlinePDF() override;

  // Appends the document's bookmarks to items(). A bookmark without a title
  // gets an empty caption, one that names no page of the document page 0.
  // Throws ImportError when MuPDF fails.
  void loadOutlineFromPDF(const std::shared_ptr<MuPdfDocument>& doc);
  // Adds the children of `outline` below `parent`, recursively.
  void addOutelineToItems(FlashOutlineItem* parent, const PdfObject& outline, qint32 level, const MuPdfDocument& doc);

  const QStringList& warnings() const { return m_warnings; }

 private:
  std::unique_ptr<FlashOutlineItem> makeItem(const PdfObject& node, qint32 level) const;
  bool firstVisit(const PdfObject& node);

  std::unique_ptr<PdfDestinations> m_dests;
  std::unordered_set<qint64> m_visited;
  int m_count = 0;
  bool m_warnedDepth = false;
  QStringList m_warnings;
};
