// The list of a batch run (one "INPUT [options]" a line, shell-like words),
// read from a file or a pipe that anyone may have written.
#include "FuzzSupport.h"
#include "session/BatchList.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

namespace {

// The word in single quotes, as a shell would quote it.
QString quoted(const QString& word) {
  QString q = word;
  q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
  return QLatin1Char('\'') + q + QLatin1Char('\'');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzz::bytes(data, size);
  const BatchList::Result list = BatchList::parse(bytes);
  FUZZ_CHECK(list.error.isEmpty() || list.entries.empty());
  const qsizetype lines = bytes.count('\n') + 1;
  int previous = 0;
  for (const BatchEntry& entry : list.entries) {
    FUZZ_CHECK(entry.line > previous && entry.line <= lines);
    previous = entry.line;
    if (!entry.error.isEmpty()) continue;
    FUZZ_CHECK(!entry.input.isEmpty() && entry.options.size() < BatchList::kMaxWords);
    // Words quoted again read back as the same words.
    QStringList words{entry.input};
    words += entry.options;
    QString line;
    bool plain = true;
    for (const QString& w : words) {
      plain = plain && !w.contains(QLatin1Char('\n')) && !w.contains(QLatin1Char('\r'));
      line += quoted(w) + QLatin1Char(' ');
    }
    if (!plain) continue;
    QStringList again;
    QString error;
    FUZZ_CHECK(BatchList::splitWords(line, &again, &error));
    FUZZ_CHECK(again == words);
  }
  return 0;
}
