#include "publish/BookTransaction.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/Log.h"
#include "base/PrivateFolder.h"
#include "base/StopPoint.h"
#include "base/TreeRemoval.h"

namespace {

std::atomic<bool> g_exchangeAllowed{true};

// A swap list is a line per entry; anything larger is not one of ours.
constexpr qint64 kMaxSwapListSize = 1024 * 1024;

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
QByteArray native(const QString& path) { return QFile::encodeName(path); }
bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool statAt(int folderFd, const QByteArray& name, struct stat* st) {
  return ::fstatat(folderFd, name.constData(), st, AT_SYMLINK_NOFOLLOW) == 0;
}

// Whether the entry `name` of the open folder is still the file `fd` holds open.
bool stillNamed(int folderFd, const QByteArray& name, int fd) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && statAt(folderFd, name, &named) && sameFile(held, named);
}

// The path by which the kernel reaches an open folder itself, whatever is
// done to its name; "" where /proc is not there to resolve it.
QString pathThrough(int fd) {
  const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
  struct stat held {};
  struct stat reached {};
  return ::fstat(fd, &held) == 0 && ::stat(native(path).constData(), &reached) == 0 && sameFile(held, reached)
             ? path
             : QString();
}

// The names of the staging folders in the open folder.
QList<QByteArray> stagingNames(int folderFd) {
  QList<QByteArray> names;
  const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
  if (dir == nullptr) {
    if (listFd >= 0) ::close(listFd);
    return names;
  }
  const QByteArray prefix = native(BookTransaction::kStagingPrefix);
  while (const dirent* entry = ::readdir(dir))
    if (QByteArray(entry->d_name).startsWith(prefix)) names << QByteArray(entry->d_name);
  ::closedir(dir);
  return names;
}

// Reads the swap list of an open staging folder; empty when there is none.
QByteArray readSwapList(int stagingFd) {
  const int fd = ::openat(stagingFd, native(BookTransaction::kSwapListName).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return QByteArray();
  QByteArray list;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxSwapListSize) {
    list.resize(static_cast<qsizetype>(st.st_size));
    const ssize_t n = ::read(fd, list.data(), static_cast<size_t>(list.size()));
    list.resize(n > 0 ? static_cast<qsizetype>(n) : 0);
  }
  ::close(fd);
  return list;
}

// Empties the open folder `fd` and removes it as `name` of the open folder
// `parentFd`, when that is still it. Failures are logged: what is left is
// hidden and removed again by the next publish.
void removeStagingFolder(int parentFd, const QByteArray& name, int fd, const QString& shownAs) {
  QString error;
  bool ok = TreeRemoval::removeContents(fd, &error);
  if (stillNamed(parentFd, name, fd) && ::unlinkat(parentFd, name.constData(), AT_REMOVEDIR) != 0) {
    if (ok) error = reason(errno);
    ok = false;
  }
  if (!ok) qCWarning(lcPublish).noquote() << "cannot remove" << shownAs << "completely:" << error;
}

// One line per entry: its inode number, a tab, its name percent-encoded.
QByteArray swapList(int stagingFd, const QStringList& entries) {
  QByteArray list;
  for (const QString& name : entries) {
    struct stat st {};
    if (!statAt(stagingFd, native(name), &st)) continue;
    list += QByteArray::number(static_cast<qulonglong>(st.st_ino)) + '\t' + name.toUtf8().toPercentEncoding() + '\n';
  }
  return list;
}

// Puts the entry `name` of the open folder `fromFd` in place of the one of
// the same name in `toFd` (see the header for how).
bool swapIn(int fromFd, int toFd, const QByteArray& name, QString* error) {
  struct stat old {};
  if (!statAt(toFd, name, &old)) {
    if (::renameat(fromFd, name.constData(), toFd, name.constData()) == 0) return true;
    *error = reason(errno);
    return false;
  }
  if (g_exchangeAllowed && ::renameat2(fromFd, name.constData(), toFd, name.constData(), RENAME_EXCHANGE) == 0)
    return true;
  if (g_exchangeAllowed && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
    *error = reason(errno);
    return false;
  }
  struct stat fresh {};
  if (S_ISDIR(old.st_mode) || (statAt(fromFd, name, &fresh) && S_ISDIR(fresh.st_mode))) {
    // Without an exchange a folder cannot replace another in one step: move
    // the old one aside first, into the staging folder.
    const QByteArray aside = name + ".old";
    if (::renameat(toFd, name.constData(), fromFd, aside.constData()) != 0) {
      *error = reason(errno);
      return false;
    }
  }
  if (::renameat(fromFd, name.constData(), toFd, name.constData()) == 0) return true;
  *error = reason(errno);
  return false;
}

}  // namespace

void BookTransaction::setExchangeAllowed(bool allowed) { g_exchangeAllowed = allowed; }

BookTransaction::BookTransaction(const QString& folder, bool syncToDisk)
    : m_folder(QDir(folder).absolutePath()), m_sync(syncToDisk) {}

BookTransaction::~BookTransaction() {
  if (!m_committed) removeStaging();
  if (m_stagingFd >= 0) ::close(m_stagingFd);
  unlock();
  if (m_folderFd >= 0) ::close(m_folderFd);
}

bool BookTransaction::openFolder() {
  m_folderFd = ::open(native(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_folderFd >= 0) return true;
  if (errno == ENOENT)
    m_error = QCoreApplication::translate("BookTransaction", "The folder %1 does not exist.").arg(m_folder);
  else if (errno == ENOTDIR)
    m_error = QCoreApplication::translate("BookTransaction", "%1 is not a folder.").arg(m_folder);
  else
    m_error = QCoreApplication::translate("BookTransaction", "Cannot publish into %1: %2").arg(m_folder, reason(errno));
  return false;
}

QString BookTransaction::sharedFolderReason() const {
  struct stat st {};
  if (::fstat(m_folderFd, &st) != 0) return QString();
  const QString why = PrivateFolder::othersMayChangeReason(st.st_uid, st.st_gid, st.st_mode);
  if (why.isEmpty()) return why;
  return QStringLiteral(
             "Other users may change what is in %1 (%2): while the book is published they could "
             "swap its files for theirs, or have files of yours removed with the old book. "
             "Publish into a folder of your own.")
      .arg(m_folder, why);
}

bool BookTransaction::lock() {
  const QByteArray name = native(kLockName);
  // The file is removed after each publish. A second publish may open it just
  // before that and lock the removed file: hence the check that the locked
  // file is still the one at the path.
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int fd = ::openat(m_folderFd, name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
      m_error =
          QCoreApplication::translate("BookTransaction", "Cannot publish into %1: %2").arg(m_folder, reason(errno));
      return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      m_error = QCoreApplication::translate("BookTransaction", "Cannot publish into %1: %2 is not a file")
                    .arg(m_folder, kLockName);
      return false;
    }
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &whole) != 0) {
      const int e = errno;
      ::close(fd);
      if (e == EAGAIN || e == EACCES) {
        m_error = QCoreApplication::translate("BookTransaction",
                                              "Another publish into %1 is under way; try again when it has finished.")
                      .arg(m_folder);
        return false;
      }
      // A file system without locks (some network mounts): go on unlocked.
      qCWarning(lcPublish).noquote() << "cannot lock" << QDir(m_folder).filePath(kLockName) << ":" << reason(e)
                                     << "- publishing without the lock";
      return true;
    }
    if (stillNamed(m_folderFd, name, fd)) {
      m_lockFd = fd;
      return true;
    }
    ::close(fd);
  }
  m_error = QCoreApplication::translate("BookTransaction", "Cannot lock %1 for publishing.").arg(m_folder);
  return false;
}

void BookTransaction::unlock() {
  if (m_lockFd < 0) return;
  const QByteArray name = native(kLockName);
  if (stillNamed(m_folderFd, name, m_lockFd)) ::unlinkat(m_folderFd, name.constData(), 0);
  ::close(m_lockFd);
  m_lockFd = -1;
}

void BookTransaction::recoverLeftovers() {
  for (const QByteArray& name : stagingNames(m_folderFd)) {
    const QString shownAs = QDir(m_folder).filePath(QFile::decodeName(name));
    const int staging = ::openat(m_folderFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (staging < 0) continue;
    // In a folder others may write to, a staging folder of theirs is no
    // business of ours (and could be a trap).
    struct stat owner {};
    if (::fstat(staging, &owner) != 0 || owner.st_uid != ::geteuid()) {
      ::close(staging);
      continue;
    }
    const QByteArray list = readSwapList(staging);
    if (!list.isEmpty()) {
      // A publish killed during its swaps: finish them.
      qCInfo(lcPublish).noquote() << "finishing the publish that was stopped in" << shownAs;
      for (const QByteArray& line : list.split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0) continue;
        bool ok = false;
        const qulonglong inode = line.left(tab).toULongLong(&ok);
        const QByteArray entry = QByteArray::fromPercentEncoding(line.mid(tab + 1));
        if (!ok || entry.isEmpty() || entry.contains('/') || entry == "." || entry == "..") continue;
        struct stat st {};
        if (statAt(m_folderFd, entry, &st) && st.st_ino == inode) continue;  // swapped already
        if (!statAt(staging, entry, &st) || st.st_ino != inode) continue;
        QString error;
        if (!swapIn(staging, m_folderFd, entry, &error))
          qCWarning(lcPublish).noquote() << "cannot finish swapping"
                                         << QDir(m_folder).filePath(QFile::decodeName(entry)) << ":" << error;
      }
    } else {
      qCInfo(lcPublish).noquote() << "removing what a stopped publish left:" << shownAs;
    }
    removeStagingFolder(m_folderFd, name, staging, shownAs);
    ::close(staging);
  }
}

bool BookTransaction::makeStaging() {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray name;
  for (int attempt = 0;; ++attempt) {
    name = native(kStagingPrefix);
    for (int i = 0; i < 6; ++i) name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    if (::mkdirat(m_folderFd, name.constData(), 0700) == 0) break;
    if (errno != EEXIST || attempt == 100) {
      m_error =
          QCoreApplication::translate("BookTransaction", "Cannot publish into %1: %2").arg(m_folder, reason(errno));
      return false;
    }
  }
  m_stagingFd = ::openat(m_folderFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st {};
  if (m_stagingFd < 0 || ::fstat(m_stagingFd, &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
    // Someone replaced it between the two calls.
    m_error = QStringLiteral(
                  "Cannot publish into %1: the folder made for the new book was replaced at once; "
                  "another user may be tampering with the folder.")
                  .arg(m_folder);
    if (m_stagingFd >= 0) ::close(m_stagingFd);
    m_stagingFd = -1;
    return false;
  }
  m_stagingName = name;
  m_staging = pathThrough(m_stagingFd);
  if (m_staging.isEmpty()) {
    if (!sharedFolderReason().isEmpty()) {
      m_error = QStringLiteral(
                    "Cannot publish safely into %1, which other users may change: /proc is not mounted, "
                    "and the book's files would be written by name.")
                    .arg(m_folder);
      return false;
    }
    m_staging = QDir(m_folder).filePath(QFile::decodeName(name));
  }
  return true;
}

bool BookTransaction::begin() {
  if (!openFolder()) return false;
  if (!m_sharedAllowed) {
    m_error = sharedFolderReason();
    if (!m_error.isEmpty()) {
      m_refusedShared = true;
      return false;
    }
  }
  if (!lock()) return false;
  recoverLeftovers();
  if (!makeStaging()) {
    removeStaging();
    unlock();
    return false;
  }
  return true;
}

QString BookTransaction::finalPaths(QString text) const {
  if (m_staging.isEmpty()) return text;
  text.replace(m_staging + QLatin1Char('/'), m_folder + QLatin1Char('/'));
  if (text.endsWith(m_staging)) text = text.chopped(m_staging.size()) + m_folder;
  return text;
}

bool BookTransaction::stillInPlace() {
  struct stat held {};
  struct stat named {};
  if (::fstat(m_folderFd, &held) != 0 || ::stat(native(m_folder).constData(), &named) != 0 || !sameFile(held, named)) {
    m_error =
        QCoreApplication::translate(
            "BookTransaction", "%1 was moved or replaced while the book was written; the book was not put in place.")
            .arg(m_folder);
    return false;
  }
  if (!stillNamed(m_folderFd, m_stagingName, m_stagingFd)) {
    m_error = QStringLiteral(
                  "The folder in %1 that held the new book was moved or replaced while the book was "
                  "written (another user may be tampering with the folder); the book was not put in place.")
                  .arg(m_folder);
    return false;
  }
  return true;
}

void BookTransaction::removeStaging() {
  if (m_stagingFd < 0) return;
  removeStagingFolder(m_folderFd, m_stagingName, m_stagingFd,
                      QDir(m_folder).filePath(QFile::decodeName(m_stagingName)));
  ::close(m_stagingFd);
  m_stagingFd = -1;
}

bool BookTransaction::commit(const QStringList& entries) {
  if (m_stagingFd < 0 || m_committed) {
    m_error = QCoreApplication::translate("BookTransaction", "There is nothing to publish.");
    return false;
  }
  if (!stillInPlace()) return false;
  // The flush protects the book being replaced: without it, a power cut soon
  // after the swap could leave neither book whole. With nothing to replace
  // there is nothing to lose, and publishing stays as fast as a copy.
  const bool replacing = std::any_of(entries.begin(), entries.end(), [&](const QString& entry) {
    struct stat st {};
    return statAt(m_stagingFd, native(entry), &st) && statAt(m_folderFd, native(entry), &st);
  });
  if (m_sync && replacing && ::syncfs(m_stagingFd) != 0) {
    m_error =
        QCoreApplication::translate("BookTransaction", "Cannot write the book to the disk: %1").arg(reason(errno));
    return false;
  }
  QString error;
  if (!AtomicFile::writeFile(QDir(m_staging).filePath(kSwapListName), swapList(m_stagingFd, entries), &error,
                             m_sync && replacing ? AtomicFile::Sync::Yes : AtomicFile::Sync::No)) {
    m_error = QCoreApplication::translate("BookTransaction", "Cannot write the book to the disk: %1").arg(error);
    return false;
  }
  // From here on the new book is complete on the disk: a transaction that
  // finds this staging folder later finishes the swaps.
  m_committed = true;
  bool first = true;
  for (const QString& entry : entries) {
    struct stat st {};
    if (!statAt(m_stagingFd, native(entry), &st)) continue;
    if (!first) StopPoint::reach("publish-swap");
    if (!swapIn(m_stagingFd, m_folderFd, native(entry), &error)) {
      m_error = QCoreApplication::translate("BookTransaction", "Cannot put %1 in place: %2")
                    .arg(QDir(m_folder).filePath(entry), error);
      // Nothing swapped yet: the old book is whole, drop the new one. Later,
      // the next publish into the folder finishes the swaps.
      if (first) m_committed = false;
      return false;
    }
    first = false;
  }
  removeStaging();
  return true;
}

QString BookTransaction::folderProblem(const QString& folder, bool sharedAllowed, bool* shared) {
  if (shared != nullptr) *shared = false;
  const QString absolute = QDir(folder).absolutePath();
  struct stat st {};
  if (::stat(native(absolute).constData(), &st) != 0) {
    if (errno != ENOENT && errno != ENOTDIR)
      return QCoreApplication::translate("BookTransaction", "Cannot publish into %1: %2").arg(absolute, reason(errno));
    // It will be made: the nearest folder above it must take it.
    QString above = absolute;
    do above = QFileInfo(above).path();
    while (::stat(native(above).constData(), &st) != 0 && above != QLatin1String("/"));
    if (!S_ISDIR(st.st_mode))
      return QCoreApplication::translate("BookTransaction", "Cannot create the folder %1: %2 is not a folder")
          .arg(absolute, above);
    if (::faccessat(AT_FDCWD, native(above).constData(), W_OK | X_OK, AT_EACCESS) != 0)
      return QCoreApplication::translate("BookTransaction", "Cannot create the folder %1: %2")
          .arg(absolute, reason(errno));
    return QString();
  }
  if (!S_ISDIR(st.st_mode)) return QCoreApplication::translate("BookTransaction", "%1 is not a folder.").arg(absolute);
  if (::faccessat(AT_FDCWD, native(absolute).constData(), W_OK | X_OK, AT_EACCESS) != 0)
    return QCoreApplication::translate("BookTransaction", "Cannot publish into %1: %2").arg(absolute, reason(errno));
  BookTransaction probe(absolute);
  if (!probe.openFolder()) return probe.error();
  if (!sharedAllowed) {
    if (const QString why = probe.sharedFolderReason(); !why.isEmpty()) {
      if (shared != nullptr) *shared = true;
      return why;
    }
  }
  // Tested, not taken: a publish starting now is not turned away by this.
  const int fd =
      ::openat(probe.m_folderFd, native(kLockName).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    const bool busy = ::fcntl(fd, F_OFD_GETLK, &whole) == 0 && whole.l_type != F_UNLCK;
    ::close(fd);
    if (busy)
      return QCoreApplication::translate("BookTransaction",
                                         "Another publish into %1 is under way; try again when it has finished.")
          .arg(absolute);
  }
  return QString();
}

void BookTransaction::finishInterrupted(const QString& folder) {
  BookTransaction transaction(folder, false);
  if (!QFileInfo(folder).isDir() || !transaction.openFolder()) return;
  // Nothing to do, unless a killed publish left its staging folder or its
  // lock file (which goes with the lock taken and released here).
  struct stat lockFile {};
  if (stagingNames(transaction.m_folderFd).isEmpty() && !statAt(transaction.m_folderFd, native(kLockName), &lockFile))
    return;
  if (!transaction.lock()) {
    qCDebug(lcPublish).noquote() << "not finishing what stopped publishes left in" << folder << ":"
                                 << transaction.error();
    return;
  }
  transaction.recoverLeftovers();
}
