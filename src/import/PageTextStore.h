// The words of every page of an import, kept in one file of the work folder
// (text.pack) as the workers take them: one file for the whole book costs far
// less than two per page, and memory holds only where each page's part is.
// Each page has two parts: its script as published (files/text/N.js) and its
// entry of files/text/all.js (see PageText).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <mutex>

class PageTextStore {
 public:
  // The file is made on the first append(); `path` "" refuses every append().
  explicit PageTextStore(const QString& path) : m_path(path) {}

  // Stores page `number`'s parts; a page stored again replaces its parts.
  // Safe from any thread. Throws ImportError when the file cannot be written.
  void append(qint32 number, const QByteArray& script, const QByteArray& searchEntry);

  bool contains(qint32 number) const;
  // The parts of page `number`; empty when it has none or the file cannot be read.
  QByteArray script(qint32 number) const;
  QByteArray searchEntry(qint32 number) const;
  // The sum of the scripts' sizes.
  qint64 scriptBytes() const;

 private:
  struct Place {
    qint64 offset;
    qint64 scriptSize;
    qint64 entrySize;
  };
  QByteArray read(qint64 offset, qint64 size) const;

  QString m_path;
  mutable std::mutex m_mutex;
  mutable QFile m_file;
  qint64 m_end = 0;
  QHash<qint32, Place> m_places;
};
