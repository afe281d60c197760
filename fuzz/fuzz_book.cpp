// Reading a book.bin back (folivox-cli inspect): RC4, the zip inside, the
// book.xml entry. The input is the decrypted archive, so that the fuzzer's
// changes land on zip structure instead of keystream noise.
#include "FuzzSupport.h"
#include "publish/BookBinReader.h"
#include "publish/RC4.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<QByteArray> encrypted =
      RC4::RC4EncryptedDataUsingKey(fuzz::bytes(data, size), QByteArray(RC4::kBookKey));
  FUZZ_CHECK(encrypted.has_value());
  const BookBinReader::Result r = BookBinReader::inspectBytes(*encrypted);
  // Either book.xml or a reason, never both or neither.
  FUZZ_CHECK(r.ok() == !r.bookXml.isEmpty());
  return 0;
}
