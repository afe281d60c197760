#include "base/PrivateFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "base/Log.h"

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

int openFolder(const QByteArray& path) {
  return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

QString PrivateFolder::unsafeParentReason(const QString& folder) {
  struct stat st {};
  if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
    return QStringLiteral("%1: %2").arg(folder, systemError(errno));
  if (!S_ISDIR(st.st_mode)) return QStringLiteral("%1 is not a folder").arg(folder);
  if (st.st_uid != ::geteuid() && st.st_uid != 0)
    return QStringLiteral("%1 belongs to another user (uid %2)").arg(folder).arg(st.st_uid);
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0)
    return QStringLiteral("%1 is writable by other users").arg(folder);
  return QString();
}

std::unique_ptr<PrivateFolder> PrivateFolder::create(const QString& parent, const QString& prefix, QString* error,
                                                     bool makeParent) {
  auto fail = [&](const QString& why) -> std::unique_ptr<PrivateFolder> {
    const QString text = QStringLiteral("Cannot make a private folder: %1").arg(why);
    qCWarning(lcApp).noquote() << text;
    if (error) *error = text;
    return nullptr;
  };
  if (makeParent && !QFileInfo::exists(parent)) {
    const QString above = QFileInfo(parent).absolutePath();
    if (!QDir().mkpath(above)) return fail(QStringLiteral("%1 cannot be made").arg(above));
    if (::mkdir(QFile::encodeName(parent).constData(), 0700) != 0 && errno != EEXIST)
      return fail(QStringLiteral("%1: %2").arg(parent, systemError(errno)));
  }
  if (makeParent) {
    // Our own folder, made by an older version with the user's umask: close it.
    struct stat st {};
    const QByteArray native = QFile::encodeName(parent);
    if (::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & 022) != 0)
      ::chmod(native.constData(), st.st_mode & 07755);
  }
  if (const QString why = unsafeParentReason(parent); !why.isEmpty()) return fail(why);

  const QString pattern = QDir(parent).filePath(QStringLiteral("%1%2-XXXXXX").arg(prefix).arg(::getpid()));
  // A leftover sweep of another run may take a folder between mkdtemp() and
  // our lock (it sees an unlocked folder): then it is theirs to remove, and we
  // make another.
  for (int attempt = 0; attempt < 8; ++attempt) {
    QByteArray path = QFile::encodeName(pattern);
    if (::mkdtemp(path.data()) == nullptr) return fail(QStringLiteral("%1: %2").arg(parent, systemError(errno)));
    const int fd = openFolder(path);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
      ::close(fd);
      continue;
    }
    // Other flock errors (a file system without locks): the folder is used
    // unlocked, and sweeps leave it alone because they cannot lock it either.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || opened.st_nlink == 0 || ::lstat(path.constData(), &named) != 0 ||
        !sameFile(opened, named)) {
      ::close(fd);
      continue;
    }
    if (opened.st_uid != ::geteuid() || (opened.st_mode & 077) != 0) {
      ::close(fd);
      return fail(QStringLiteral("%1 was not made private").arg(QFile::decodeName(path)));
    }
    return std::unique_ptr<PrivateFolder>(new PrivateFolder(QFile::decodeName(path), fd));
  }
  return fail(QStringLiteral("%1: other runs keep taking the new folders").arg(parent));
}

PrivateFolder::~PrivateFolder() {
  if (isIntact() && !QDir(m_path).removeRecursively()) qCWarning(lcApp) << "cannot remove the folder" << m_path;
  if (m_fd >= 0) ::close(m_fd);  // releases the lock last
}

bool PrivateFolder::isIntact() const {
  struct stat opened {};
  struct stat named {};
  return m_fd >= 0 && ::fstat(m_fd, &opened) == 0 && opened.st_nlink > 0 &&
         ::lstat(QFile::encodeName(m_path).constData(), &named) == 0 && sameFile(opened, named);
}

int PrivateFolder::removeLeftovers(const QString& parent, const QString& prefix) {
  if (prefix.isEmpty()) return 0;  // never sweep a whole folder
  int removed = 0;
  const QDir dir(parent);
  for (const QString& name : dir.entryList({prefix + QLatin1Char('*')},
                                           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    const QString path = dir.filePath(name);
    const QByteArray native = QFile::encodeName(path);
    struct stat named {};
    if (::lstat(native.constData(), &named) != 0 || !S_ISDIR(named.st_mode) || named.st_uid != ::geteuid()) continue;
    const int fd = openFolder(native);
    if (fd < 0) continue;
    struct stat opened {};
    // The lock is free only when the process that made the folder has ended.
    if (::fstat(fd, &opened) == 0 && sameFile(opened, named) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (QDir(path).removeRecursively()) {
        ++removed;
        qCInfo(lcApp).noquote() << "removed the leftover folder" << path;
      }
    }
    ::close(fd);
  }
  return removed;
}
