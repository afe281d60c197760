#include "zip/ZKDataArchive.h"

#include <algorithm>

#include "base/Log.h"
#include "zip/ZKBytes.h"
#include "zip/ZKLFHeader.h"

namespace {

// The 16-bit entry counts of the end record; 0xFFFF would mean "see the zip64
// record", which we never write.
constexpr quint32 kMaxEntries = 0xFFFE;

}  // namespace

int ZKDataArchive::deflateData(const QByteArray& data, const QString& filename, const ZKFileAttributes* attributes) {
  if (filename.isEmpty()) return -1;
  const quint64 nameLength = zk_precomposedUTF8Length(filename);
  if (nameLength > 0xFFFF) {
    qCWarning(lcZip) << "entry name too long for a zip archive:" << nameLength << "bytes";
    return -1;
  }
  if (m_cdTrailer.totalNumberOfCentralDirectoryEntries() >= kMaxEntries) {
    qCWarning(lcZip) << "zip archive is full:" << m_cdTrailer.totalNumberOfCentralDirectoryEntries() << "entries";
    return -1;
  }
  const auto compressed = zk_deflate(data);
  if (!compressed) return -1;

  // The new entry goes where the central directory starts; the directory and
  // end record are written again behind it.
  const quint64 offset = m_cdTrailer.offsetOfStartOfCentralDirectory();
  if (offset > static_cast<quint64>(m_data.size())) return -1;

  ZKLFHeader lf;
  lf.setUncompressedSize(static_cast<quint64>(data.size()));
  lf.setFilename(filename);
  lf.setFilenameLength(static_cast<quint32>(nameLength));
  lf.setCrc(zk_crc32(data));
  lf.setCompressedSize(static_cast<quint64>(compressed->size()));

  ZKCDHeader cd;
  cd.setUncompressedSize(lf.uncompressedSize());
  cd.setCrc(lf.crc());
  cd.setCompressedSize(lf.compressedSize());
  cd.setFilename(lf.filename());
  cd.setFilenameLength(lf.filenameLength());
  cd.setLocalHeaderOffset(offset);
  cd.setCompressionMethod(lf.compressionMethod());
  cd.setGeneralPurposeBitFlag(lf.generalPurposeBitFlag());
  // The local header knows only the sizes; a large offset needs zip64 too.
  cd.setVersionNeededToExtract(cd.useZip64Extensions() ? 45 : lf.versionNeededToExtract());

  if (m_entryDate) {
    lf.setLastModDate(*m_entryDate);
    cd.setLastModDate(*m_entryDate);
  }
  if (attributes != nullptr) {
    if (attributes->modificationDate) {
      lf.setLastModDate(*attributes->modificationDate);
      cd.setLastModDate(lf.lastModDate());
    }
    cd.setExternalFileAttributes(zk_externalFileAttributesFor(*attributes));
  }

  m_data.truncate(static_cast<qsizetype>(offset));
  m_data.append(lf.data());
  m_data.append(*compressed);

  m_cdTrailer.setNumberOfCentralDirectoryEntriesOnThisDisk(m_cdTrailer.numberOfCentralDirectoryEntriesOnThisDisk() + 1);
  m_cdTrailer.setTotalNumberOfCentralDirectoryEntries(m_cdTrailer.totalNumberOfCentralDirectoryEntries() + 1);
  m_cdTrailer.setSizeOfCentralDirectory(m_cdTrailer.sizeOfCentralDirectory() + cd.length());
  m_cdTrailer.setOffsetOfStartOfCentralDirectory(static_cast<quint64>(m_data.size()));
  m_centralDirectory.push_back(cd);

  for (ZKCDHeader& header : m_centralDirectory) m_data.append(header.data());
  m_data.append(m_cdTrailer.data());
  return 1;
}

std::unique_ptr<ZKDataArchive> ZKDataArchive::archiveWithArchiveData(const QByteArray& data) {
  const auto trailer = ZKCDTrailer::recordWithData(data);
  if (!trailer) {
    qCWarning(lcZip) << "not a zip archive: no end of central directory record in" << data.size() << "bytes";
    return nullptr;
  }
  auto archive = std::make_unique<ZKDataArchive>();
  archive->m_data = data;
  archive->m_cdTrailer = *trailer;

  // Each header must really be there: a count or offset that points past the
  // end stops the reading instead of inventing entries.
  quint64 offset = trailer->offsetOfStartOfCentralDirectory();
  for (quint32 i = 0; i < trailer->totalNumberOfCentralDirectoryEntries(); ++i) {
    auto header = ZKCDHeader::recordWithData(data, offset);
    if (!header) {
      qCWarning(lcZip) << "damaged zip archive: central directory entry" << i + 1 << "of"
                       << trailer->totalNumberOfCentralDirectoryEntries() << "missing at offset" << offset;
      return nullptr;
    }
    // Keep the bytes as read, so a later addition writes this entry back unchanged.
    const quint64 length = header->storedLength();
    header->setCachedData(data.mid(static_cast<qsizetype>(offset), static_cast<qsizetype>(length)));
    offset += length;
    archive->m_centralDirectory.push_back(std::move(*header));
  }
  return archive;
}

std::optional<QByteArray> ZKDataArchive::inflateFile(const ZKCDHeader& cdHeader, ZKFileAttributes* attributes) const {
  if (attributes != nullptr) *attributes = ZKFileAttributes{};
  const QString name = cdHeader.filename();

  const auto lf = ZKLFHeader::recordWithData(m_data, cdHeader.localHeaderOffset());
  if (!lf) {
    qCWarning(lcZip) << "zip entry" << name << ": no local header at offset" << cdHeader.localHeaderOffset();
    return std::nullopt;
  }

  QByteArray result;
  ZKFileAttributes::FileType type = ZKFileAttributes::FileType::Regular;
  if (cdHeader.isDirectory()) {
    type = ZKFileAttributes::FileType::Directory;
    result = name.toUtf8();
  } else {
    if ((cdHeader.generalPurposeBitFlag() & 0x1) != 0) {
      qCWarning(lcZip) << "zip entry" << name << "is encrypted";
      return std::nullopt;
    }
    // The data follows the local header as it lies on disk.
    quint64 start =
        cdHeader.localHeaderOffset() + ZKLFHeaderFixedDataLength + lf->filenameLength() + lf->extraFieldLength();
    const auto stored = zk_bytesOffsetBy(m_data, start, cdHeader.compressedSize());
    if (!stored) {
      qCWarning(lcZip) << "zip entry" << name << ":" << cdHeader.compressedSize()
                       << "bytes claimed beyond the end of the archive";
      return std::nullopt;
    }
    if (cdHeader.compressionMethod() == 0) {
      result = *stored;
    } else if (cdHeader.compressionMethod() == 8) {
      auto inflated = zk_inflate(*stored, cdHeader.uncompressedSize());
      if (!inflated) {
        qCWarning(lcZip) << "zip entry" << name << ": damaged deflate stream or larger than"
                         << std::min(cdHeader.uncompressedSize(), ZKMaxInflatedSize) << "bytes";
        return std::nullopt;
      }
      result = std::move(*inflated);
    } else {
      qCWarning(lcZip) << "zip entry" << name << ": unsupported compression method" << cdHeader.compressionMethod();
      return std::nullopt;
    }
    if (static_cast<quint64>(result.size()) != cdHeader.uncompressedSize() || zk_crc32(result) != cdHeader.crc()) {
      qCWarning(lcZip) << "zip entry" << name << ": size or CRC does not match its header";
      return std::nullopt;
    }
    if (cdHeader.isSymLink()) type = ZKFileAttributes::FileType::SymbolicLink;
  }

  if (attributes != nullptr) {
    attributes->posixPermissions = cdHeader.posixPermissions();
    attributes->creationDate = cdHeader.lastModDate();
    attributes->modificationDate = cdHeader.lastModDate();
    attributes->fileType = type;
  }
  return result;
}
