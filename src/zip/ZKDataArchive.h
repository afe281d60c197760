// A zip archive built in, and read from, a byte buffer in memory. The buffer
// is a valid zip archive after every successful addition.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

#include "zip/ZKArchive.h"
#include "zip/ZKFileAttributes.h"

class ZKDataArchive : public ZKArchive {
 public:
  ZKDataArchive() = default;

  // Adds one deflated entry. Returns 1, or -1 (archive unchanged) for an
  // empty name, a name longer than a zip can record, a full directory or a
  // failed compression. With attributes, their modification date and file
  // type/permissions go into the headers.
  int deflateData(const QByteArray& data, const QString& filename, const ZKFileAttributes* attributes = nullptr);

  const QByteArray& data() const { return m_data; }

  // Entries added from now on carry `date` (unless their attributes name one)
  // instead of the moment they were added, so that the same entries give the
  // same bytes.
  void setEntryDate(const QDateTime& date) { m_entryDate = date; }

  // An archive over existing zip bytes with its central directory read;
  // none when there is no end record or the directory is not all there.
  static std::unique_ptr<ZKDataArchive> archiveWithArchiveData(const QByteArray& data);

  // The uncompressed bytes of an entry of this archive, checked against its
  // size and CRC, and (when asked) its attributes. None for a damaged,
  // encrypted or unsupported entry; `attributes` is then reset to empty.
  std::optional<QByteArray> inflateFile(const ZKCDHeader& cdHeader, ZKFileAttributes* attributes) const;

 private:
  QByteArray m_data;
  std::optional<QDateTime> m_entryDate;
};
