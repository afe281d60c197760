#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// What a file that is not a regular file is, or "" for a regular file.
QString notRegular(mode_t mode) {
  if (S_ISREG(mode)) return QString();
  if (S_ISDIR(mode)) return QCoreApplication::translate("RegularFile", "it is a folder, not a regular file");
  if (S_ISFIFO(mode)) return QCoreApplication::translate("RegularFile", "it is a named pipe, not a regular file");
  if (S_ISCHR(mode) || S_ISBLK(mode))
    return QCoreApplication::translate("RegularFile", "it is a device, not a regular file");
  if (S_ISSOCK(mode)) return QCoreApplication::translate("RegularFile", "it is a socket, not a regular file");
  return QCoreApplication::translate("RegularFile", "it is not a regular file");
}

QString systemError(int error) {
  return error == ENOENT ? QCoreApplication::translate("RegularFile", "the file does not exist")
                         : QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

namespace RegularFile {

bool open(QFile& file, const QString& path, QString* why) {
  auto fail = [why](const QString& reason) {
    if (why) *why = reason;
    return false;
  };
  if (path.isEmpty()) return fail(systemError(ENOENT));
  const QByteArray native = QFile::encodeName(path);
  // Looked at before it is opened: opening some devices does something.
  struct stat named {};
  if (::stat(native.constData(), &named) != 0) return fail(systemError(errno));
  if (const QString kind = notRegular(named.st_mode); !kind.isEmpty()) return fail(kind);
  // Without blocking, in case a pipe took the name meanwhile.
  const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return fail(systemError(errno));
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) {
    const int error = errno;
    ::close(fd);
    return fail(systemError(error));
  }
  if (const QString kind = notRegular(opened.st_mode); !kind.isEmpty()) {
    ::close(fd);
    return fail(kind);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file.setFileName(path);
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return fail(file.errorString());
  }
  return true;
}

std::optional<QByteArray> read(const QString& path, qint64 maxBytes, QString* why) {
  QFile file;
  if (!open(file, path, why)) return std::nullopt;
  const auto tooLarge = [&] {
    if (why) *why = QCoreApplication::translate("RegularFile", "it is larger than %1 bytes").arg(maxBytes);
    return std::nullopt;
  };
  if (file.size() > maxBytes) return tooLarge();
  // In pieces: QIODevice::read(n) takes n bytes of memory first, and the
  // bound may be far above the file. Up to one byte past the bound, so that
  // a file that grows meanwhile is caught.
  QByteArray bytes;
  bytes.reserve(file.size());
  while (bytes.size() <= maxBytes) {
    const QByteArray piece = file.read(std::min<qint64>(maxBytes + 1 - bytes.size(), 1 << 20));
    if (piece.isEmpty()) break;
    bytes += piece;
  }
  if (file.error() != QFileDevice::NoError) {
    if (why) *why = file.errorString();
    return std::nullopt;
  }
  if (bytes.size() > maxBytes) return tooLarge();
  return bytes;
}

}  // namespace RegularFile
