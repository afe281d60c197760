// Writes a zip archive front to back into a device, one entry at a time: for
// archives too large to build in memory (an e-book of thousands of pages),
// with the same records as ZKDataArchive. No zip64: an archive that would
// need it (4 GB, 65,535 entries) is refused.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "zip/ZKCDHeader.h"

class QIODevice;

class ZKStreamArchive {
 public:
  // `out` is open for writing and outlives this object. Entries carry `date`.
  ZKStreamArchive(QIODevice* out, const QDateTime& date);

  // Adds one entry, its bytes as they are (method 0) or deflated (8). No extra
  // fields, so a `mimetype` entry stored first is what OCF asks for. False,
  // with errorString(), when it cannot be added or written; the archive is
  // then not usable.
  bool storeData(const QByteArray& data, const QString& name);
  bool deflateData(const QByteArray& data, const QString& name);
  // Writes the central directory and the end record.
  bool finish();

  const QString& errorString() const { return m_error; }
  // The names of the entries, in order.
  QStringList names() const;

 private:
  bool add(const QByteArray& data, const QByteArray& stored, quint32 method, const QString& name);
  bool write(const QByteArray& bytes);
  bool failed(const QString& why);

  QIODevice* m_out;
  QDateTime m_date;
  quint64 m_offset = 0;
  std::vector<ZKCDHeader> m_directory;
  QString m_error;
};
