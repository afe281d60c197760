// The EPUB export's readers: a page's text script turned into a page document
// (which must stay well-formed XML with every box on the page), and the same
// bytes as a WebP page picture to be turned into PNG or JPEG.
#include <pugixml.hpp>

#include "FuzzSupport.h"
#include "publish/EpubPage.h"
#include "publish/EpubPicture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EpubPage page;
  page.size = QSize(612, 792);
  page.picture = QStringLiteral("../image/1.png");
  page.title = page.label = page.language = QString::fromUtf8(fuzz::bytes(data, size).left(64));
  page.words = EpubPage::wordsOfScript(fuzz::bytes(data, size));
  for (const PageText::Word& w : page.words) {
    FUZZ_CHECK(w.box.left() >= 0 && w.box.top() >= 0 && w.box.right() <= 1.0000001 && w.box.bottom() <= 1.0000001);
  }
  const QByteArray xhtml = page.xhtml();
  pugi::xml_document doc;
  FUZZ_CHECK(doc.load_buffer(xhtml.constData(), static_cast<size_t>(xhtml.size())));
  FUZZ_CHECK(!doc.select_node("//script"));

  const EpubPicture picture = EpubPicture::fromFile(fuzz::writeScratch(QStringLiteral("page.webp"), data, size));
  FUZZ_CHECK(picture.ok() == !picture.bytes.isEmpty());
  return 0;
}
