#include "publish/BookTransaction.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/Log.h"
#include "base/StopPoint.h"

namespace {

std::atomic<bool> g_exchangeAllowed{true};

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
QByteArray native(const QString& path) { return QFile::encodeName(path); }

bool lstatPath(const QString& path, struct stat* st) { return ::lstat(native(path).constData(), st) == 0; }

// Removes a folder tree without following links. Failures are logged: what is
// left is hidden and removed again by the next publish.
void removeTree(const QString& path) {
  const QFileInfo info(path);
  bool ok = true;
  if (info.isDir() && !info.isSymLink())
    ok = QDir(path).removeRecursively();
  else if (info.exists() || info.isSymLink())
    ok = QFile::remove(path);
  if (!ok) qCWarning(lcPublish).noquote() << "cannot remove" << path << "completely";
}

// One line per entry: its inode number, a tab, its name percent-encoded.
QByteArray swapList(const QString& staging, const QStringList& entries) {
  QByteArray list;
  for (const QString& name : entries) {
    struct stat st {};
    if (!lstatPath(QDir(staging).filePath(name), &st)) continue;
    list += QByteArray::number(static_cast<qulonglong>(st.st_ino)) + '\t' + name.toUtf8().toPercentEncoding() + '\n';
  }
  return list;
}

}  // namespace

void BookTransaction::setExchangeAllowed(bool allowed) { g_exchangeAllowed = allowed; }

BookTransaction::BookTransaction(const QString& folder, bool syncToDisk)
    : m_folder(QDir(folder).absolutePath()), m_sync(syncToDisk) {}

BookTransaction::~BookTransaction() {
  if (!m_staging.isEmpty() && !m_committed) removeTree(m_staging);
  unlock();
}

bool BookTransaction::lock() {
  const QString path = QDir(m_folder).filePath(kLockName);
  // The file is removed after each publish. A second publish may open it just
  // before that and lock the removed file: hence the check that the locked
  // file is still the one at the path.
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
      m_error = QStringLiteral("Cannot publish into %1: %2").arg(m_folder, reason(errno));
      return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int e = errno;
      if (e == EWOULDBLOCK) {
        ::close(fd);
        m_error = QStringLiteral("Another publish into %1 is under way; try again when it has finished.").arg(m_folder);
        return false;
      }
      // A file system without locks (some network mounts): go on unlocked.
      qCWarning(lcPublish).noquote() << "cannot lock" << path << ":" << reason(e) << "- publishing without the lock";
      ::close(fd);
      return true;
    }
    struct stat held {};
    struct stat now {};
    if (::fstat(fd, &held) == 0 && lstatPath(path, &now) && held.st_dev == now.st_dev && held.st_ino == now.st_ino) {
      m_lockFd = fd;
      return true;
    }
    ::close(fd);
  }
  m_error = QStringLiteral("Cannot lock %1 for publishing.").arg(m_folder);
  return false;
}

void BookTransaction::unlock() {
  if (m_lockFd < 0) return;
  ::unlink(native(QDir(m_folder).filePath(kLockName)).constData());
  ::close(m_lockFd);
  m_lockFd = -1;
}

bool BookTransaction::swapIn(const QString& staged, const QString& target, QString* error) {
  struct stat old {};
  if (!lstatPath(target, &old)) {
    if (::rename(native(staged).constData(), native(target).constData()) == 0) return true;
    *error = reason(errno);
    return false;
  }
  if (g_exchangeAllowed &&
      ::renameat2(AT_FDCWD, native(staged).constData(), AT_FDCWD, native(target).constData(), RENAME_EXCHANGE) == 0)
    return true;
  if (g_exchangeAllowed && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
    *error = reason(errno);
    return false;
  }
  struct stat fresh {};
  const bool folders = S_ISDIR(old.st_mode) || (lstatPath(staged, &fresh) && S_ISDIR(fresh.st_mode));
  if (folders) {
    // Without an exchange a folder cannot replace another in one step: move
    // the old one aside first.
    const QString aside = staged + QStringLiteral(".old");
    if (::rename(native(target).constData(), native(aside).constData()) != 0) {
      *error = reason(errno);
      return false;
    }
  }
  if (::rename(native(staged).constData(), native(target).constData()) == 0) return true;
  *error = reason(errno);
  return false;
}

void BookTransaction::recoverLeftovers() {
  const QStringList leftovers =
      QDir(m_folder).entryList({kStagingPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
  for (const QString& name : leftovers) {
    const QString staging = QDir(m_folder).filePath(name);
    // In a folder others may write to, a staging folder of theirs is no
    // business of ours (and could be a trap).
    struct stat owner {};
    if (!lstatPath(staging, &owner) || owner.st_uid != ::geteuid()) continue;
    QFile list(QDir(staging).filePath(kSwapListName));
    if (list.open(QIODevice::ReadOnly)) {
      // A publish killed during its swaps: finish them.
      qCInfo(lcPublish).noquote() << "finishing the publish that was stopped in" << staging;
      const QList<QByteArray> lines = list.readAll().split('\n');
      for (const QByteArray& line : lines) {
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0) continue;
        bool ok = false;
        const qulonglong inode = line.left(tab).toULongLong(&ok);
        const QString entry = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(tab + 1)));
        if (!ok || entry.isEmpty() || entry.contains(QLatin1Char('/')) || entry == QLatin1String("..")) continue;
        const QString target = QDir(m_folder).filePath(entry);
        const QString staged = QDir(staging).filePath(entry);
        struct stat st {};
        if (lstatPath(target, &st) && st.st_ino == inode) continue;  // swapped already
        if (!lstatPath(staged, &st) || st.st_ino != inode) continue;
        QString error;
        if (!swapIn(staged, target, &error))
          qCWarning(lcPublish).noquote() << "cannot finish swapping" << target << ":" << error;
      }
    } else {
      qCInfo(lcPublish).noquote() << "removing what a stopped publish left:" << staging;
    }
    removeTree(staging);
  }
}

bool BookTransaction::begin() {
  if (!QFileInfo(m_folder).isDir()) {
    m_error = QStringLiteral("The folder %1 does not exist.").arg(m_folder);
    return false;
  }
  if (!lock()) return false;
  recoverLeftovers();
  QByteArray pattern = native(QDir(m_folder).filePath(kStagingPrefix + QStringLiteral("XXXXXX")));
  if (::mkdtemp(pattern.data()) == nullptr) {
    m_error = QStringLiteral("Cannot publish into %1: %2").arg(m_folder, reason(errno));
    unlock();
    return false;
  }
  m_staging = QFile::decodeName(pattern);
  return true;
}

bool BookTransaction::commit(const QStringList& entries) {
  if (m_staging.isEmpty() || m_committed) {
    m_error = QStringLiteral("There is nothing to publish.");
    return false;
  }
  // The flush protects the book being replaced: without it, a power cut soon
  // after the swap could leave neither book whole. With nothing to replace
  // there is nothing to lose, and publishing stays as fast as a copy.
  const bool replacing = std::any_of(entries.begin(), entries.end(), [&](const QString& entry) {
    struct stat st {};
    return lstatPath(QDir(m_staging).filePath(entry), &st) && lstatPath(QDir(m_folder).filePath(entry), &st);
  });
  if (m_sync && replacing) {
    const int fd = ::open(native(m_staging).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
      m_error = QStringLiteral("Cannot write the book to the disk: %1").arg(reason(errno));
      if (fd >= 0) ::close(fd);
      return false;
    }
    ::close(fd);
  }
  QString error;
  if (!AtomicFile::writeFile(QDir(m_staging).filePath(kSwapListName), swapList(m_staging, entries), &error,
                             m_sync && replacing ? AtomicFile::Sync::Yes : AtomicFile::Sync::No)) {
    m_error = QStringLiteral("Cannot write the book to the disk: %1").arg(error);
    return false;
  }
  // From here on the new book is complete on the disk: a transaction that
  // finds this staging folder later finishes the swaps.
  m_committed = true;
  bool first = true;
  for (const QString& entry : entries) {
    const QString staged = QDir(m_staging).filePath(entry);
    struct stat st {};
    if (!lstatPath(staged, &st)) continue;
    if (!first) StopPoint::reach("publish-swap");
    if (!swapIn(staged, QDir(m_folder).filePath(entry), &error)) {
      m_error = QStringLiteral("Cannot put %1 in place: %2").arg(QDir(m_folder).filePath(entry), error);
      // Nothing swapped yet: the old book is whole, drop the new one. Later,
      // the next publish into the folder finishes the swaps.
      if (first) m_committed = false;
      return false;
    }
    first = false;
  }
  removeTree(m_staging);
  return true;
}
