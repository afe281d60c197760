// The local file header that precedes each entry's data in a zip archive.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <optional>

inline constexpr quint32 ZKLFHeaderMagicNumber = 0x04034b50;
inline constexpr quint64 ZKLFHeaderFixedDataLength = 30;

class ZKLFHeader {
 public:
  ZKLFHeader();

  // The serialised record. Replaces extraField by zip64ExtraField first, so
  // the extra field is present exactly when zip64 is needed.
  QByteArray data();
  // The size of data() in bytes (filenameLength counts for the name).
  quint64 length() const;
  bool useZip64Extensions() const;
  // 20 bytes (tag 1, sizes) when zip64 is needed, empty otherwise.
  QByteArray zip64ExtraField() const;
  // Takes 64-bit sizes from the zip64 block of extraField, if there is one.
  void parseZip64ExtraField();
  bool isResourceFork() const;
  QString description() const;

  // The header at `offset`, or none when the signature is not there or any of
  // its bytes (name and extra field included) lie beyond the buffer.
  static std::optional<ZKLFHeader> recordWithData(const QByteArray& data, quint64 offset);
  static std::optional<ZKLFHeader> recordWithArchivePath(const QString& path, quint64 offset);

  quint32 magicNumber() const { return m_magicNumber; }
  void setMagicNumber(quint32 v) { m_magicNumber = v; }
  quint32 versionNeededToExtract() const { return m_versionNeededToExtract; }
  void setVersionNeededToExtract(quint32 v) { m_versionNeededToExtract = v; }
  quint32 generalPurposeBitFlag() const { return m_generalPurposeBitFlag; }
  void setGeneralPurposeBitFlag(quint32 v) { m_generalPurposeBitFlag = v; }
  quint32 compressionMethod() const { return m_compressionMethod; }
  void setCompressionMethod(quint32 v) { m_compressionMethod = v; }
  QDateTime lastModDate() const { return m_lastModDate; }
  void setLastModDate(const QDateTime& v) { m_lastModDate = v; }
  quint32 crc() const { return m_crc; }
  void setCrc(quint32 v) { m_crc = v; }
  quint64 compressedSize() const { return m_compressedSize; }
  void setCompressedSize(quint64 v);
  quint64 uncompressedSize() const { return m_uncompressedSize; }
  void setUncompressedSize(quint64 v);
  quint32 filenameLength() const { return m_filenameLength; }
  void setFilenameLength(quint32 v) { m_filenameLength = v; }
  quint32 extraFieldLength() const { return m_extraFieldLength; }
  void setExtraFieldLength(quint32 v) { m_extraFieldLength = v; }
  // A null string is an absent name.
  QString filename() const { return m_filename; }
  void setFilename(const QString& v);
  QByteArray extraField() const { return m_extraField; }
  void setExtraField(const QByteArray& v);

 private:
  void updateVersionNeeded();

  quint32 m_magicNumber = ZKLFHeaderMagicNumber;
  quint32 m_versionNeededToExtract = 20;
  quint32 m_generalPurposeBitFlag = 0;
  quint32 m_compressionMethod = 8;
  QDateTime m_lastModDate;
  quint32 m_crc = 0;
  quint64 m_compressedSize = 0;
  quint64 m_uncompressedSize = 0;
  quint32 m_filenameLength = 0;
  quint32 m_extraFieldLength = 0;
  QString m_filename;
  QByteArray m_extraField;
};
