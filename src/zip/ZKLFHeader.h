// The local file header that precedes each entry's data in a zip archive.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

#include "zip/ZKEntryHeader.h"

inline constexpr quint32 ZKLFHeaderMagicNumber = 0x04034b50;
inline constexpr quint64 ZKLFHeaderFixedDataLength = 30;

class ZKLFHeader final : public ZKEntryHeader {
 public:
  ZKLFHeader();

  // The serialised record. Replaces extraField by zip64ExtraField first, so
  // the extra field is present exactly when zip64 is needed.
  QByteArray data();
  // The size of data() in bytes (filenameLength counts for the name).
  quint64 length() const;
  // 20 bytes (tag 1, sizes) when zip64 is needed, empty otherwise.
  QByteArray zip64ExtraField() const;
  // Takes 64-bit sizes from the zip64 block of extraField, if there is one.
  void parseZip64ExtraField();
  QString description() const;

  // The header at `offset`, or none when the signature is not there or any of
  // its bytes (name and extra field included) lie beyond the buffer.
  static std::optional<ZKLFHeader> recordWithData(const QByteArray& data, quint64 offset);
  static std::optional<ZKLFHeader> recordWithArchivePath(const QString& path, quint64 offset);
};
