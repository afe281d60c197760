#include "base/TreeRemoval.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace TreeRemoval {

namespace {

void note(QString* error, const QByteArray& name, int code) {
  if (error != nullptr && error->isEmpty())
    *error = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(name), QString::fromLocal8Bit(std::strerror(code)));
}

bool removeEntryAt(int parentFd, const QByteArray& name, bool knownFolder, int depth, QString* error);

bool removeContentsAt(int folderFd, int depth, QString* error) {
  // The names first: removing entries while reading a folder may skip some.
  const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
  if (dir == nullptr) {
    const int e = errno;
    if (listFd >= 0) ::close(listFd);
    note(error, ".", e);
    return false;
  }
  std::vector<std::pair<QByteArray, bool>> entries;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    entries.emplace_back(QByteArray(entry->d_name), entry->d_type == DT_DIR);
  }
  ::closedir(dir);
  bool ok = true;
  for (const auto& [name, folder] : entries) ok = removeEntryAt(folderFd, name, folder, depth, error) && ok;
  return ok;
}

bool removeEntryAt(int parentFd, const QByteArray& name, bool knownFolder, int depth, QString* error) {
  int unlinkError = 0;
  if (!knownFolder) {
    if (::unlinkat(parentFd, name.constData(), 0) == 0 || errno == ENOENT) return true;
    unlinkError = errno;
    if (unlinkError != EISDIR && unlinkError != EPERM) {
      note(error, name, unlinkError);
      return false;
    }
  }
  if (depth >= kMaxDepth) {
    note(error, name, ELOOP);
    return false;
  }
  const int folderFd = ::openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folderFd < 0) {
    const int e = errno;
    if (e == ENOENT) return true;
    // Not a folder (any more): a link or file that took its place goes as such.
    if ((e == ENOTDIR || e == ELOOP) && unlinkError == 0) return removeEntryAt(parentFd, name, false, depth, error);
    note(error, name, (e == ENOTDIR || e == ELOOP) ? unlinkError : e);
    return false;
  }
  bool ok = removeContentsAt(folderFd, depth + 1, error);
  ::close(folderFd);
  if (::unlinkat(parentFd, name.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT) {
    if (ok) note(error, name, errno);
    ok = false;
  }
  return ok;
}

}  // namespace

bool removeContents(int folderFd, QString* error) { return removeContentsAt(folderFd, 0, error); }

bool removeEntry(int parentFd, const QByteArray& name, QString* error) {
  if (name.isEmpty() || name == "." || name == ".." || name.contains('/')) {
    note(error, name, EINVAL);
    return false;
  }
  return removeEntryAt(parentFd, name, false, 0, error);
}

}  // namespace TreeRemoval
