// The central directory file header: one per entry, gathered at the end of a
// zip archive.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <optional>

inline constexpr quint32 ZKCDHeaderMagicNumber = 0x02014b50;
inline constexpr quint64 ZKCDHeaderFixedDataLength = 46;

class ZKCDHeader {
 public:
  ZKCDHeader();

  // The serialised record. Built once and kept in cachedData: later calls
  // return those bytes even when fields have changed since, so the archive
  // does not rebuild earlier entries on every addition.
  QByteArray data();
  // The size of the record in bytes, zip64 field included when needed.
  quint64 length() const;
  // The bytes this record took on disk when it was parsed (lengths as read).
  quint64 storedLength() const;
  bool useZip64Extensions() const;
  // 28 bytes (tag 1, sizes, local header offset) when zip64 is needed.
  QByteArray zip64ExtraField() const;
  void parseZip64ExtraField();
  bool isDirectory() const;
  bool isSymLink() const;
  quint32 posixPermissions() const;
  bool isResourceFork() const;
  QString description() const;

  // The header at `offset`, or none when the signature is not there or any of
  // its bytes lie beyond the buffer.
  static std::optional<ZKCDHeader> recordWithData(const QByteArray& data, quint64 offset);
  static std::optional<ZKCDHeader> recordWithArchivePath(const QString& path, quint64 offset);

  quint32 magicNumber() const { return m_magicNumber; }
  void setMagicNumber(quint32 v) { m_magicNumber = v; }
  quint32 versionMadeBy() const { return m_versionMadeBy; }
  void setVersionMadeBy(quint32 v) { m_versionMadeBy = v; }
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
  quint32 commentLength() const { return m_commentLength; }
  void setCommentLength(quint32 v) { m_commentLength = v; }
  quint32 diskNumberStart() const { return m_diskNumberStart; }
  void setDiskNumberStart(quint32 v) { m_diskNumberStart = v; }
  quint32 internalFileAttributes() const { return m_internalFileAttributes; }
  void setInternalFileAttributes(quint32 v) { m_internalFileAttributes = v; }
  quint32 externalFileAttributes() const { return m_externalFileAttributes; }
  void setExternalFileAttributes(quint32 v) { m_externalFileAttributes = v; }
  quint64 localHeaderOffset() const { return m_localHeaderOffset; }
  void setLocalHeaderOffset(quint64 v);
  QString filename() const { return m_filename; }
  void setFilename(const QString& v);
  QByteArray extraField() const { return m_extraField; }
  void setExtraField(const QByteArray& v);
  QString comment() const { return m_comment; }
  void setComment(const QString& v);
  QByteArray cachedData() const { return m_cachedData; }
  void setCachedData(const QByteArray& v) { m_cachedData = v; }

 private:
  void updateVersionNeeded();

  quint32 m_magicNumber = ZKCDHeaderMagicNumber;
  quint32 m_versionMadeBy = 789;  // UNIX host, zip 2.1
  quint32 m_versionNeededToExtract = 20;
  quint32 m_generalPurposeBitFlag = 0;
  quint32 m_compressionMethod = 8;
  QDateTime m_lastModDate;
  quint32 m_crc = 0;
  quint64 m_compressedSize = 0;
  quint64 m_uncompressedSize = 0;
  quint32 m_filenameLength = 0;
  quint32 m_extraFieldLength = 0;
  quint32 m_commentLength = 0;
  quint32 m_diskNumberStart = 0;
  quint32 m_internalFileAttributes = 0;
  quint32 m_externalFileAttributes = 0;
  quint64 m_localHeaderOffset = 0;
  QString m_filename;
  QByteArray m_extraField;
  QString m_comment;
  QByteArray m_cachedData;
};
