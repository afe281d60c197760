#include "session/PreviewPictures.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "base/Log.h"

namespace {

// A clone of `source` at `target` that shares its blocks; false where the file
// system cannot (and then nothing is left at `target`).
bool cloneFile(const QByteArray& source, const QByteArray& target, const struct stat& expected) {
  const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) return false;
  struct stat opened {};
  bool ok = ::fstat(in, &opened) == 0 && opened.st_dev == expected.st_dev && opened.st_ino == expected.st_ino;
  if (ok) {
    const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    ok = out >= 0;
    if (ok) {
      ok = ::ioctl(out, FICLONE, in) == 0;
      ::close(out);
      if (!ok) ::unlink(target.constData());
    }
  }
  ::close(in);
  return ok;
}

// The store's name for the picture: the same file, unchanged, has the same one.
QString storeKey(const struct stat& st) {
  return QStringLiteral("%1-%2-%3-%4.%5")
      .arg(st.st_dev)
      .arg(st.st_ino)
      .arg(st.st_size)
      .arg(st.st_mtim.tv_sec)
      .arg(st.st_mtim.tv_nsec);
}

}  // namespace

bool PreviewPictures::place(const QString& previewFolder, const QString& source, const QString& target,
                            const Copy& copy) {
  const QByteArray from = QFile::encodeName(source);
  const QByteArray to = QFile::encodeName(target);
  struct stat st {};
  // A link in the pictures is never followed: the copy refuses it and says so.
  if (::lstat(from.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return copy(source, target);
  if (::link(from.constData(), to.constData()) == 0) return true;
  // Another file system (EXDEV), or a file the kernel will not let us link (EPERM).
  if (cloneFile(from, to, st)) return true;

  const QString store = QDir(previewFolder).filePath(kStoreName);
  if (::mkdir(QFile::encodeName(store).constData(), 0700) != 0 && errno != EEXIST) return copy(source, target);
  const QByteArray stored = QFile::encodeName(QDir(store).filePath(storeKey(st)));
  if (::link(stored.constData(), to.constData()) == 0) return true;
  if (errno != ENOENT) return copy(source, target);  // no hard links here at all
  // The first build that needs the picture copies it into the store; a copy
  // cut short never gets the store's name.
  const QString part = QFile::decodeName(stored) + QStringLiteral(".part");
  ::unlink(QFile::encodeName(part).constData());
  if (!copy(source, part)) return false;
  const bool stocked = ::chmod(QFile::encodeName(part).constData(), 0444) == 0 &&
                       ::rename(QFile::encodeName(part).constData(), stored.constData()) == 0;
  if (stocked && ::link(stored.constData(), to.constData()) == 0) return true;
  ::unlink(QFile::encodeName(part).constData());
  return copy(source, target);
}

int PreviewPictures::prune(const QString& previewFolder) {
  const QDir store(QDir(previewFolder).filePath(kStoreName));
  if (!store.exists()) return 0;
  int removed = 0;
  for (const QString& name : store.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    const QByteArray path = QFile::encodeName(store.filePath(name));
    struct stat st {};
    // One name left: the store's own; no book shows the picture any more.
    if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
        ::unlink(path.constData()) == 0)
      ++removed;
  }
  if (removed > 0) qCDebug(lcApp) << "preview picture store: removed" << removed << "pictures no book shows";
  return removed;
}
