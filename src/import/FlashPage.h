// One page of a book: a file on disk and its page number.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QString>
#include <memory>

#include "import/PictureFormat.h"

class FlashPage {
 public:
  FlashPage() = default;
  FlashPage(const QString& path, qint32 index) : iPageFilePath(path), iPageIndex(index) {}
  virtual ~FlashPage() = default;

  const QString& pageFilePath() const { return iPageFilePath; }
  void setPageFilePath(const QString& path) { iPageFilePath = path; }
  qint32 pageIndex() const { return iPageIndex; }
  void setPageIndex(qint32 index) { iPageIndex = index; }
  // What the picture shows, when the page was drawn from a document: text
  // and line art, or a photograph (Unknown for pictures taken as they are).
  PageKind pictureKind() const { return m_pictureKind; }
  void setPictureKind(PageKind kind) { m_pictureKind = kind; }

  // A new page of the same class with the same path, number and kind. The size
  // arguments are accepted for the callers' sake and change nothing.
  virtual std::shared_ptr<FlashPage> copyPage(qint32 width, qint32 quality) const;

 protected:
  QString iPageFilePath;
  qint32 iPageIndex = 0;
  PageKind m_pictureKind = PageKind::Unknown;
};

// A page that is an existing image file.
class FlashPageImage : public FlashPage {
 public:
  using FlashPage::FlashPage;
  std::shared_ptr<FlashPage> copyPage(qint32 width, qint32 quality) const override;
};

using FlashPagePtr = std::shared_ptr<FlashPage>;
