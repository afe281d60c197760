// The ordered pages of one book and the page-range grammar.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QHash>
#include <QList>
#include <QSize>
#include <QString>
#include <atomic>
#include <vector>

#include "import/FlashPage.h"

using FlashPageList = std::vector<FlashPagePtr>;

class FlashPageSource {
 public:
  FlashPageSource() = default;
  virtual ~FlashPageSource() = default;
  FlashPageSource(const FlashPageSource&) = delete;
  FlashPageSource& operator=(const FlashPageSource&) = delete;

  // "ALL" (any case) is every page 1..total. Otherwise comma-separated pieces:
  // a number, or A-B. The result is ascending and without duplicates. A lone
  // number is kept even outside 1..total; the numbers a range piece expands to
  // stop at total, so "1-2000000000" costs no more than "1-total".
  static QList<qint32> parsePageRange(const QString& text, qint32 total);
  // The parts of ranges ("a-b") in `text` that run past `total`, which
  // parsePageRange() cuts off silently: "40-80" of 52 pages gives (53, 80).
  static QList<QPair<qint32, qint32>> rangesPastTheEnd(const QString& text, qint32 total);
  // Leading blanks, optional sign, digits; saturates at the 32-bit limits.
  static qint32 integerValue(QStringView text);

  const FlashPageList& pages() const { return iPages; }
  const FlashPageList& normalPages() const { return iNormalPages; }
  const FlashPageList& zoomedPages() const { return iZoomedPages; }
  const FlashPageList& thumbPages() const { return iThumbPages; }
  void setPages(FlashPageList pages) { iPages = std::move(pages); }
  void setNormalPages(FlashPageList pages) { iNormalPages = std::move(pages); }
  void setZoomedPages(FlashPageList pages) { iZoomedPages = std::move(pages); }
  void setThumbPages(FlashPageList pages) { iThumbPages = std::move(pages); }

  const QString& sourceFile() const { return iSourceFile; }
  void setSourceFile(const QString& path) { iSourceFile = path; }

  // The stop request; set from another thread while a worker fills the lists.
  bool stop() const { return iStoped.load(std::memory_order_acquire); }
  void setStop(bool stop) { iStoped.store(stop, std::memory_order_release); }

  virtual void generatePages() {}
  virtual void generateNormalPages() {}

  // Page at a position of pages(), or null when the position is out of range.
  virtual FlashPagePtr getPageAtIndex(qint32 position) const;
  // First normal page whose number is `number`, or null.
  virtual FlashPagePtr getNormalPageAtIndex(qint32 number) const;
  // The zoom picture and the thumbnail of page `number`, or null when the
  // page has none (its normal picture then stands in).
  virtual FlashPagePtr getZoomedPageAtIndex(qint32 number) const;
  virtual FlashPagePtr getThumbPageAtIndex(qint32 number) const;

  void clearPages();

  // ---- what a document tells about its pages besides their pictures ----
  // The words of page `number` (see PageText): its script as published
  // (files/text/N.js) and its entry of files/text/all.js. Empty when the page
  // has no text, as every picture page.
  virtual bool hasPageText(qint32) const { return false; }
  virtual QByteArray pageTextScript(qint32) const { return QByteArray(); }
  virtual QByteArray pageSearchEntry(qint32) const { return QByteArray(); }
  // True when the document numbers its pages itself (roman front matter,
  // "A-1"); pageLabel() is then the printed label of page `number`.
  virtual bool hasPageLabels() const { return false; }
  virtual QString pageLabel(qint32) const { return QString(); }
  // The document's own title, "" when it has none.
  const QString& documentTitle() const { return m_documentTitle; }
  void setDocumentTitle(const QString& title) { m_documentTitle = title; }
  // Its author and language tag, "" when it names none.
  const QString& documentAuthor() const { return m_documentAuthor; }
  void setDocumentAuthor(const QString& author) { m_documentAuthor = author; }
  const QString& documentLanguage() const { return m_documentLanguage; }
  void setDocumentLanguage(const QString& language) { m_documentLanguage = language; }

 protected:
  FlashPageList iPages;
  FlashPageList iNormalPages;
  FlashPageList iZoomedPages;
  FlashPageList iThumbPages;
  QString iSourceFile;
  std::atomic<bool> iStoped{false};
  QString m_documentTitle;
  QString m_documentAuthor;
  QString m_documentLanguage;
};

// Pages made of existing image files, numbered in order of addition.
class FlashPageSourceImg : public FlashPageSource {
 public:
  // Adds the file as the next page without opening it (the program's own
  // demonstration pictures).
  void addImgPageFromFile(const QString& path);
  // Adds the file as the next page when its header shows a JPEG fit for one
  // (PictureHeader): true. Otherwise adds nothing and returns false, with the
  // reason in `why` (the user's pictures).
  bool addCheckedImgPageFromFile(const QString& path, QString* why = nullptr);
  // The size in pixels of a page added by addCheckedImgPageFromFile(), by its
  // number; an invalid size for any other.
  QSize pictureSize(qint32 number) const { return m_sizes.value(number); }
  void generateNormalPages() override;

 private:
  QHash<qint32, QSize> m_sizes;
};
