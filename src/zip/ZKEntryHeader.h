// What a zip entry's local file header (ZKLFHeader) and its central directory
// header (ZKCDHeader) both carry, in the same order on disk: the 26 bytes from
// "version needed to extract" to the extra field's length, then the name and
// the extra field. Their reading, writing and zip64 rules live here once;
// each record adds what only it has.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <initializer_list>

class ZKByteReader;

class ZKEntryHeader {
 public:
  // Whether the record needs its zip64 field: a size, or what the record adds
  // to that field (the central directory's local header offset), is too
  // large for 32 bits.
  virtual bool useZip64Extensions() const;
  bool isResourceFork() const;

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
  // A null string is an absent name. A length already set is kept.
  QString filename() const { return m_filename; }
  void setFilename(const QString& v);
  QByteArray extraField() const { return m_extraField; }
  void setExtraField(const QByteArray& v);

 protected:
  explicit ZKEntryHeader(quint32 magicNumber);
  ZKEntryHeader(const ZKEntryHeader&) = default;
  ZKEntryHeader& operator=(const ZKEntryHeader&) = default;
  ~ZKEntryHeader() = default;

  // 45 when zip64 is needed, 20 otherwise.
  void updateVersionNeeded();
  // The shared fixed fields, as they stand after the record's own leading ones.
  void readSharedFields(ZKByteReader& r);
  // The name and extra field, as their lengths say.
  void readNameAndExtraField(ZKByteReader& r);
  // Writes the shared fixed fields: sizes read 0xFFFFFFFF when zip64 is needed,
  // and the lengths are those of `name` and the extra field as they follow.
  void appendSharedFields(QByteArray& d, const QByteArray& name) const;
  // Tag 1 with both sizes, then `more`; empty when zip64 is not needed.
  QByteArray zip64ExtraFieldWith(std::initializer_list<quint64> more) const;
  // Takes both sizes from the zip64 block of the extra field, if there is one;
  // returns what of the block follows them.
  QByteArray takeZip64Sizes();

  quint32 m_magicNumber;
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
