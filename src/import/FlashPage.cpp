#include "import/FlashPage.h"

std::shared_ptr<FlashPage> FlashPage::copyPage(qint32, qint32) const {
  return std::make_shared<FlashPage>(iPageFilePath, iPageIndex);
}

std::shared_ptr<FlashPage> FlashPageImage::copyPage(qint32, qint32) const {
  return std::make_shared<FlashPageImage>(iPageFilePath, iPageIndex);
}
