// What every zip archive holds: the central directory and the end record.
#pragma once

#include <QString>
#include <vector>

#include "zip/ZKCDHeader.h"
#include "zip/ZKCDTrailer.h"

class ZKArchive {
 public:
  ZKArchive() = default;
  virtual ~ZKArchive() = default;
  ZKArchive(const ZKArchive&) = default;
  ZKArchive& operator=(const ZKArchive&) = default;

  // One central header per entry, in the order of the archive.
  const std::vector<ZKCDHeader>& centralDirectory() const { return m_centralDirectory; }
  std::vector<ZKCDHeader>& centralDirectory() { return m_centralDirectory; }
  const ZKCDTrailer& cdTrailer() const { return m_cdTrailer; }
  ZKCDTrailer& cdTrailer() { return m_cdTrailer; }
  void setCdTrailer(const ZKCDTrailer& trailer) { m_cdTrailer = trailer; }

  // Empty for an archive that lives only in memory.
  QString archivePath() const { return m_archivePath; }
  void setArchivePath(const QString& path) { m_archivePath = path; }

  // The end record's comment.
  QString comment() const { return m_cdTrailer.comment(); }
  void setComment(const QString& comment);

 protected:
  std::vector<ZKCDHeader> m_centralDirectory;
  ZKCDTrailer m_cdTrailer;
  QString m_archivePath;
};
