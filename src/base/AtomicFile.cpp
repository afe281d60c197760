#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

namespace {

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Syncs a folder, so that a rename in it survives a power cut.
int syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int rc = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  // Some file systems cannot sync a folder; the file itself is synced already.
  return rc == EINVAL || rc == EROFS ? 0 : rc;
}

}  // namespace

AtomicFile::AtomicFile(const QString& target, Sync sync) : m_target(target), m_sync(sync) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(OpenMode mode) {
  if (isOpen() || (mode & ~(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) != 0 ||
      (mode & QIODevice::WriteOnly) == 0) {
    setErrorString(QStringLiteral("an atomic file can only be opened once, for writing"));
    return false;
  }
  m_errno = 0;
  const QFileInfo info(m_target);
  const QString folder = info.absolutePath();
  struct stat old {};
  const bool replacing = ::lstat(QFile::encodeName(m_target).constData(), &old) == 0 && S_ISREG(old.st_mode);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString suffix = QString::number(QRandomGenerator::global()->generate(), 36);
    m_temp = QDir(folder).filePath(QStringLiteral(".%1.%2.tmp").arg(info.fileName(), suffix));
    m_fd = ::open(QFile::encodeName(m_temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (m_fd >= 0 || errno != EEXIST) break;
  }
  if (m_fd < 0) {
    const int e = errno;
    m_temp.clear();
    setErrorString(reason(e));
    return false;
  }
  if (replacing) ::fchmod(m_fd, old.st_mode & 07777);
  return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 AtomicFile::readData(char*, qint64) { return -1; }

qint64 AtomicFile::writeData(const char* data, qint64 size) {
  if (m_fd < 0 || m_errno != 0) return -1;
  qint64 done = 0;
  while (done < size) {
    const ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(size - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
      return -1;
    }
    if (n == 0) {  // no progress and no error: treat it as a full disk
      fail(ENOSPC);
      return -1;
    }
    done += n;
  }
  return done;
}

void AtomicFile::fail(int error) {
  if (m_errno == 0) m_errno = error;
  setErrorString(reason(m_errno));
}

bool AtomicFile::commit() {
  if (m_fd < 0) {
    if (errorString().isEmpty() || errorString() == QLatin1String("Unknown error"))
      setErrorString(QStringLiteral("the file was not open"));
    return false;
  }
  if (m_errno == 0 && m_sync == Sync::Yes && ::fsync(m_fd) != 0) fail(errno);
  if (::close(m_fd) != 0 && m_errno == 0) fail(errno);
  m_fd = -1;
  QIODevice::close();
  if (m_errno == 0 && ::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_target).constData()) != 0)
    fail(errno);
  if (m_errno != 0) {
    ::unlink(QFile::encodeName(m_temp).constData());
    m_temp.clear();
    return false;
  }
  m_temp.clear();
  if (m_sync == Sync::Yes) {
    if (const int e = syncFolder(QFileInfo(m_target).absolutePath()); e != 0) {
      // The new file is in place; only its durability is in doubt. Say so.
      fail(e);
      return false;
    }
  }
  return true;
}

void AtomicFile::cancelWriting() { discard(); }

void AtomicFile::discard() {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  if (!m_temp.isEmpty()) {
    ::unlink(QFile::encodeName(m_temp).constData());
    m_temp.clear();
  }
  if (isOpen()) QIODevice::close();
}

bool AtomicFile::writeFile(const QString& target, QByteArrayView bytes, QString* error, Sync sync) {
  AtomicFile file(target, sync);
  const bool ok = file.open() && file.write(bytes.data(), bytes.size()) == bytes.size() && file.commit();
  if (!ok && error != nullptr) *error = file.errorString();
  return ok;
}
