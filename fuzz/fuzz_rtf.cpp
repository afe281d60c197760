// The RTF reader that turns an .rtf document into text for the PDF conversion.
#include <QTextDocument>

#include "FuzzSupport.h"
#include "import/RtfReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp(true);  // QTextDocument needs fonts
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QTextDocument doc;
  QString error;
  const bool ok = RtfReader().read(fuzz::bytes(data, size), doc, &error);
  FUZZ_CHECK(ok == error.isEmpty());
  doc.toPlainText();
  return 0;
}
