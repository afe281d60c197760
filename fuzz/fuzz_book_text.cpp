// Reading a published book's text back (folivox-cli inspect --text, and the
// page entries the HTML page's hidden section is made of): the data script
// call around the JSON, the JSON itself, and each page's entry.
#include "FuzzSupport.h"
#include "base/DataScript.h"
#include "publish/BookTextReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzz::writeScratch(QStringLiteral("all.js"), data, size);
  const BookTextReader::Result r = BookTextReader::read(path);
  // Either pages or a reason, never a reason with pages.
  FUZZ_CHECK(r.ok() || r.pages.isEmpty());
  for (const BookTextReader::Page& p : r.pages) {
    FUZZ_CHECK(p.number >= 1);
    BookTextReader::searchableText(p);
  }
  // The same bytes as one page's entry.
  if (const auto page = BookTextReader::entry(fuzz::bytes(data, size))) FUZZ_CHECK(page->number >= 1);
  return 0;
}
