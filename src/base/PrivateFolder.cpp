#include "base/PrivateFolder.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <vector>

#include "base/HXCUtility.h"
#include "base/Log.h"
#include "base/TreeRemoval.h"

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

int openFolder(const QByteArray& path) {
  return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Runs `lookUp(buffer, size)` (a getpwuid_r-style call) with a buffer that grows while it is too small.
template <typename LookUp>
bool withBuffer(LookUp lookUp) {
  for (size_t size = 4096; size <= 1024 * 1024; size *= 4) {
    std::vector<char> buffer(size);
    const int rc = lookUp(buffer.data(), buffer.size());
    if (rc != ERANGE) return rc == 0;
  }
  return false;
}

// The user's own group, as systems with one group per user make it: the
// user's primary group, named as the user, with no other members.
bool isOwnPrivateGroup(gid_t gid) {
  if (gid != ::getegid()) return false;
  QByteArray user;
  withBuffer([&](char* buffer, size_t size) {
    passwd entry{};
    passwd* found = nullptr;
    const int rc = ::getpwuid_r(::geteuid(), &entry, buffer, size, &found);
    if (rc == 0 && found != nullptr) user = found->pw_name;
    return rc;
  });
  bool own = false;
  withBuffer([&](char* buffer, size_t size) {
    group entry{};
    group* found = nullptr;
    const int rc = ::getgrgid_r(gid, &entry, buffer, size, &found);
    if (rc == 0 && found != nullptr && !user.isEmpty() && user == found->gr_name) {
      own = true;
      for (char** member = found->gr_mem; member != nullptr && *member != nullptr; ++member)
        if (user != *member) own = false;
    }
    return rc;
  });
  return own;
}

// Empties the open folder `fd` and removes it from its parent when it still
// stands at `path`. What is inside is removed through the descriptor: it
// never leads outside the folder, whatever was put there.
bool removeFolder(int fd, const QString& path) {
  QString error;
  bool ok = TreeRemoval::removeContents(fd, &error);
  struct stat opened {};
  struct stat named {};
  const QByteArray native = QFile::encodeName(path);
  if (::fstat(fd, &opened) == 0 && ::lstat(native.constData(), &named) == 0 && sameFile(opened, named) &&
      ::rmdir(native.constData()) != 0) {
    if (ok) error = systemError(errno);
    ok = false;
  }
  if (!ok) qCWarning(lcApp).noquote() << "cannot remove the folder" << path << ":" << error;
  return ok;
}

}  // namespace

QString PrivateFolder::othersMayChangeReason(uid_t owner, gid_t group, mode_t mode) {
  if (owner != ::geteuid() && owner != 0)
    return QCoreApplication::translate("PrivateFolder", "it belongs to another user (uid %1)").arg(owner);
  if ((mode & S_ISVTX) != 0) return QString();
  if ((mode & S_IWOTH) != 0 || ((mode & S_IWGRP) != 0 && !isOwnPrivateGroup(group)))
    return QCoreApplication::translate("PrivateFolder", "it is writable by other users");
  return QString();
}

QString PrivateFolder::unsafeParentReason(const QString& folder) {
  struct stat st {};
  if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
    return QStringLiteral("%1: %2").arg(folder, systemError(errno));
  if (!S_ISDIR(st.st_mode)) return QCoreApplication::translate("PrivateFolder", "%1 is not a folder").arg(folder);
  const QString why = othersMayChangeReason(st.st_uid, st.st_gid, st.st_mode);
  return why.isEmpty() ? why : QStringLiteral("%1: %2").arg(folder, why);
}

std::unique_ptr<PrivateFolder> PrivateFolder::create(const QString& parent, const QString& prefix, QString* error,
                                                     bool makeParent) {
  auto fail = [&](const QString& why) -> std::unique_ptr<PrivateFolder> {
    const QString text = QCoreApplication::translate("PrivateFolder", "Cannot make a private folder: %1").arg(why);
    qCWarning(lcApp).noquote() << text;
    if (error) *error = text;
    return nullptr;
  };
  if (makeParent && !QFileInfo::exists(parent)) {
    const QString above = QFileInfo(parent).absolutePath();
    QString why;
    if (!HXCUtility::makeFolders(above, &why))
      return fail(QCoreApplication::translate("PrivateFolder", "%1 cannot be made: %2").arg(above, why));
    if (::mkdir(QFile::encodeName(parent).constData(), 0700) != 0 && errno != EEXIST)
      return fail(QStringLiteral("%1: %2").arg(parent, systemError(errno)));
  }
  if (makeParent) {
    // Our own folder, made by an older version with the user's umask: close
    // it, through the folder opened (a link there is not followed).
    const int fd = openFolder(QFile::encodeName(parent));
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 022) != 0)
      ::fchmod(fd, st.st_mode & 07755);
    if (fd >= 0) ::close(fd);
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
      return fail(QCoreApplication::translate("PrivateFolder", "%1 was not made private").arg(QFile::decodeName(path)));
    }
    return std::unique_ptr<PrivateFolder>(new PrivateFolder(QFile::decodeName(path), fd));
  }
  return fail(QCoreApplication::translate("PrivateFolder", "%1: other runs keep taking the new folders").arg(parent));
}

PrivateFolder::~PrivateFolder() {
  if (isIntact()) removeFolder(m_fd, m_path);
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
      if (removeFolder(fd, path)) {
        ++removed;
        qCInfo(lcApp).noquote() << "removed the leftover folder" << path;
      }
    }
    ::close(fd);
  }
  return removed;
}
