// What every zip archive holds: the central directory and the end record.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
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

  // The end record's comment.
  QString comment() const { return m_cdTrailer.comment(); }
  void setComment(const QString& comment);

 protected:
  std::vector<ZKCDHeader> m_centralDirectory;
  ZKCDTrailer m_cdTrailer;
};
