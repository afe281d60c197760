#include "import/FlashPage.h"

std::shared_ptr<FlashPage> FlashPage::copyPage(qint32, qint32) const {
  auto copy = std::make_shared<FlashPage>(iPageFilePath, iPageIndex);
  copy->setPictureKind(m_pictureKind);
  return copy;
}

std::shared_ptr<FlashPage> FlashPageImage::copyPage(qint32, qint32) const {
  auto copy = std::make_shared<FlashPageImage>(iPageFilePath, iPageIndex);
  copy->setPictureKind(m_pictureKind);
  return copy;
}
