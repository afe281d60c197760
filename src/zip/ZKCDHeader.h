// The central directory file header: one per entry, gathered at the end of a
// zip archive.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

#include "zip/ZKEntryHeader.h"

inline constexpr quint32 ZKCDHeaderMagicNumber = 0x02014b50;
inline constexpr quint64 ZKCDHeaderFixedDataLength = 46;

class ZKCDHeader final : public ZKEntryHeader {
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
  // The sizes or the local header offset need zip64.
  bool useZip64Extensions() const override;
  // 28 bytes (tag 1, sizes, local header offset) when zip64 is needed.
  QByteArray zip64ExtraField() const;
  void parseZip64ExtraField();
  bool isDirectory() const;
  bool isSymLink() const;
  quint32 posixPermissions() const;
  QString description() const;

  // The header at `offset`, or none when the signature is not there or any of
  // its bytes lie beyond the buffer.
  static std::optional<ZKCDHeader> recordWithData(const QByteArray& data, quint64 offset);
  static std::optional<ZKCDHeader> recordWithArchivePath(const QString& path, quint64 offset);

  quint32 versionMadeBy() const { return m_versionMadeBy; }
  void setVersionMadeBy(quint32 v) { m_versionMadeBy = v; }
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
  QString comment() const { return m_comment; }
  void setComment(const QString& v);
  QByteArray cachedData() const { return m_cachedData; }
  void setCachedData(const QByteArray& v) { m_cachedData = v; }

 private:
  quint32 m_versionMadeBy = 789;  // UNIX host, zip 2.1
  quint32 m_commentLength = 0;
  quint32 m_diskNumberStart = 0;
  quint32 m_internalFileAttributes = 0;
  quint32 m_externalFileAttributes = 0;
  quint64 m_localHeaderOffset = 0;
  QString m_comment;
  QByteArray m_cachedData;
};
