// The end of central directory record that closes every zip archive.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

inline constexpr quint32 ZKCDTrailerMagicNumber = 0x06054b50;
inline constexpr quint64 ZKCDTrailerFixedDataLength = 22;

class ZKCDTrailer {
 public:
  ZKCDTrailer();

  QByteArray data() const;
  // The size of data() in bytes.
  quint64 length() const;
  bool useZip64Extensions() const;
  QString description() const;

  // The record at `offset`; none when the signature is not there or the
  // record (comment included) does not fit in the buffer.
  static std::optional<ZKCDTrailer> recordWithData(const QByteArray& data, quint64 offset);
  // Searches backwards from the end of the buffer and takes the rightmost
  // record that is whole.
  static std::optional<ZKCDTrailer> recordWithData(const QByteArray& data);
  // The same search over the tail of a file (a record and the longest comment).
  static std::optional<ZKCDTrailer> recordWithArchivePath(const QString& path);

  quint32 magicNumber() const { return m_magicNumber; }
  void setMagicNumber(quint32 v) { m_magicNumber = v; }
  quint32 thisDiskNumber() const { return m_thisDiskNumber; }
  void setThisDiskNumber(quint32 v) { m_thisDiskNumber = v; }
  quint32 diskNumberWithStartOfCentralDirectory() const { return m_diskNumberWithStartOfCentralDirectory; }
  void setDiskNumberWithStartOfCentralDirectory(quint32 v) { m_diskNumberWithStartOfCentralDirectory = v; }
  quint32 numberOfCentralDirectoryEntriesOnThisDisk() const { return m_numberOfCentralDirectoryEntriesOnThisDisk; }
  void setNumberOfCentralDirectoryEntriesOnThisDisk(quint32 v) { m_numberOfCentralDirectoryEntriesOnThisDisk = v; }
  quint32 totalNumberOfCentralDirectoryEntries() const { return m_totalNumberOfCentralDirectoryEntries; }
  void setTotalNumberOfCentralDirectoryEntries(quint32 v) { m_totalNumberOfCentralDirectoryEntries = v; }
  quint64 sizeOfCentralDirectory() const { return m_sizeOfCentralDirectory; }
  void setSizeOfCentralDirectory(quint64 v) { m_sizeOfCentralDirectory = v; }
  quint64 offsetOfStartOfCentralDirectory() const { return m_offsetOfStartOfCentralDirectory; }
  void setOffsetOfStartOfCentralDirectory(quint64 v) { m_offsetOfStartOfCentralDirectory = v; }
  quint32 commentLength() const { return m_commentLength; }
  void setCommentLength(quint32 v) { m_commentLength = v; }
  // A null string is an absent comment.
  QString comment() const { return m_comment; }
  void setComment(const QString& v);

 private:
  quint32 m_magicNumber = ZKCDTrailerMagicNumber;
  quint32 m_thisDiskNumber = 0;
  quint32 m_diskNumberWithStartOfCentralDirectory = 0;
  quint32 m_numberOfCentralDirectoryEntriesOnThisDisk = 0;
  quint32 m_totalNumberOfCentralDirectoryEntries = 0;
  quint64 m_sizeOfCentralDirectory = 0;
  quint64 m_offsetOfStartOfCentralDirectory = 0;
  quint32 m_commentLength = 0;
  QString m_comment;
};
