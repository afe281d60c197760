// The zip reader: an archive over bytes, then every entry inflated with its
// attributes, then one more entry added to what was read.
#include "FuzzSupport.h"
#include "zip/ZKBytes.h"
#include "zip/ZKDataArchive.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<ZKDataArchive> archive = ZKDataArchive::archiveWithArchiveData(fuzz::bytes(data, size));
  if (!archive) return 0;
  FUZZ_CHECK(archive->centralDirectory().size() <= archive->cdTrailer().totalNumberOfCentralDirectoryEntries());
  for (const ZKCDHeader& header : archive->centralDirectory()) {
    ZKFileAttributes attributes;
    const std::optional<QByteArray> bytes = archive->inflateFile(header, &attributes);
    // What comes out was checked against the header's size and CRC.
    if (bytes && !header.isDirectory()) {
      FUZZ_CHECK(static_cast<quint64>(bytes->size()) == header.uncompressedSize());
      FUZZ_CHECK(zk_crc32(*bytes) == header.crc());
    }
    header.description();
  }
  archive->deflateData(QByteArrayLiteral("<flipbook/>"), QStringLiteral("book.xml"));
  return 0;
}
