#include "import/PageTextStore.h"

#include <QCoreApplication>

#include "import/ImportError.h"

void PageTextStore::append(qint32 number, const QByteArray& script, const QByteArray& searchEntry) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_path.isEmpty())
    throw ImportError(
        QCoreApplication::translate("PageTextStore", "There is no work folder for the text of the pages."));
  if (!m_file.isOpen()) {
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
      throw ImportError(
          QCoreApplication::translate("PageTextStore", "Cannot write %1: %2").arg(m_path, m_file.errorString()));
  }
  if (!m_file.seek(m_end) || m_file.write(script + searchEntry) != script.size() + searchEntry.size())
    throw ImportError(
        QCoreApplication::translate("PageTextStore", "Cannot write %1: %2").arg(m_path, m_file.errorString()));
  m_places.insert(number, {m_end, script.size(), searchEntry.size()});
  m_end += script.size() + searchEntry.size();
}

bool PageTextStore::contains(qint32 number) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_places.contains(number);
}

QByteArray PageTextStore::read(qint64 offset, qint64 size) const {
  if (!m_file.isOpen() || !m_file.seek(offset)) return QByteArray();
  QByteArray bytes = m_file.read(size);
  return bytes.size() == size ? bytes : QByteArray();
}

QByteArray PageTextStore::script(qint32 number) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto it = m_places.constFind(number);
  return it == m_places.cend() ? QByteArray() : read(it->offset, it->scriptSize);
}

QByteArray PageTextStore::searchEntry(qint32 number) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto it = m_places.constFind(number);
  return it == m_places.cend() ? QByteArray() : read(it->offset + it->scriptSize, it->entrySize);
}

qint64 PageTextStore::scriptBytes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  qint64 sum = 0;
  for (const Place& p : m_places) sum += p.scriptSize;
  return sum;
}
