// One page of a book: a file on disk and its page number.
#pragma once

#include <QString>
#include <memory>

class FlashPage {
 public:
  FlashPage() = default;
  FlashPage(const QString& path, qint32 index) : iPageFilePath(path), iPageIndex(index) {}
  virtual ~FlashPage() = default;

  const QString& pageFilePath() const { return iPageFilePath; }
  void setPageFilePath(const QString& path) { iPageFilePath = path; }
  qint32 pageIndex() const { return iPageIndex; }
  void setPageIndex(qint32 index) { iPageIndex = index; }

  // A new page of the same class with the same path and number. The size
  // arguments are accepted for the callers' sake and change nothing.
  virtual std::shared_ptr<FlashPage> copyPage(qint32 width, qint32 quality) const;

 protected:
  QString iPageFilePath;
  qint32 iPageIndex = 0;
};

// A page that is an existing image file.
class FlashPageImage : public FlashPage {
 public:
  using FlashPage::FlashPage;
  std::shared_ptr<FlashPage> copyPage(qint32 width, qint32 quality) const override;
};

using FlashPagePtr = std::shared_ptr<FlashPage>;
