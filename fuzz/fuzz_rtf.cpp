// The RTF reader that turns an .rtf document into text for the PDF conversion.
#include <QTextCharFormat>

#include "FuzzSupport.h"
#include "import/RtfReader.h"

namespace {

// Checks what the reader hands over: no empty run, never more text than bytes.
struct Counter : RtfReader::Sink {
  qint64 characters = 0;
  qint64 paragraphs = 0;
  void text(QStringView run, const QTextCharFormat& format) override {
    FUZZ_CHECK(!run.isEmpty() && run.size() <= RtfReader::kMaxRun);
    FUZZ_CHECK(format.fontPointSize() > 0);
    characters += run.size();
  }
  void paragraph(Qt::Alignment) override { ++paragraphs; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Counter sink;
  QString error;
  qint64 last = 0;
  const bool ok = RtfReader().read(fuzz::bytes(data, size), sink, &error, [&](qint64 done, qint64 total) {
    FUZZ_CHECK(done >= last && done <= total && total == static_cast<qint64>(size));
    last = done;
    return true;
  });
  FUZZ_CHECK(ok == error.isEmpty());
  if (!ok) return 0;
  FUZZ_CHECK(sink.paragraphs >= 1);
  FUZZ_CHECK(sink.characters <= static_cast<qint64>(size));
  return 0;
}
