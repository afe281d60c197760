#include "base/HXCUtility.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QThread>
#include <cerrno>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/Log.h"
#include "base/PlatformPaths.h"
#include "base/TextDecoding.h"

std::unique_ptr<PrivateFolder> HXCUtility::forceTmpDiractory(const QString& folderName, QString* error) {
  return PrivateFolder::create(PlatformPaths::current().tmpRoot, folderName + QLatin1Char('-'), error);
}

int HXCUtility::removeLeftoverTmpDiractories(const QString& folderName) {
  return PrivateFolder::removeLeftovers(PlatformPaths::current().tmpRoot, folderName + QLatin1Char('-'));
}

bool HXCUtility::makeFolders(const QString& path, QString* error) {
  const auto fail = [&](const QString& why) {
    if (error != nullptr) *error = why;
    return false;
  };
  // Up to the nearest folder that exists; the ones below it are made in order.
  QString existing = QDir::cleanPath(QDir(path).absolutePath());
  QStringList missing;
  struct stat st {};
  while (::stat(QFile::encodeName(existing).constData(), &st) != 0) {
    if (errno != ENOENT && errno != ENOTDIR) return fail(QString::fromLocal8Bit(std::strerror(errno)));
    missing.prepend(existing);
    existing = QFileInfo(existing).path();
  }
  if (!S_ISDIR(st.st_mode)) return fail(QStringLiteral("%1 is not a folder").arg(existing));
  for (const QString& folder : missing) {
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST)
      return fail(QString::fromLocal8Bit(std::strerror(errno)));
  }
  return true;
}

namespace {

// The path as the file system resolves it: links followed when it exists.
QString resolvedPath(const QString& path) {
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

bool HXCUtility::isInside(const QString& path, const QStringList& folders) {
  const QString p = resolvedPath(path);
  for (const QString& folder : folders) {
    const QString f = resolvedPath(folder);
    if (p.startsWith(f.endsWith(QLatin1Char('/')) ? f : f + QLatin1Char('/'))) return true;
  }
  return false;
}

int HXCUtility::removeOwnFolders(const QString& parent, const QString& prefix) {
  if (prefix.isEmpty()) return 0;  // never sweep a whole folder
  const QString mine = QStringLiteral("%1%2-").arg(prefix).arg(::getpid());
  int removed = 0;
  const QDir dir(parent);
  for (const QString& name : dir.entryList({mine + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
    const QString path = dir.filePath(name);
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    // Threads of ours may still be writing into it, or removing it
    // themselves: what one makes while the other empties it keeps it, and
    // what both remove fails for one of them. So try until it is gone.
    const QByteArray native = QFile::encodeName(path);
    for (int attempt = 0; attempt < 100 && ::lstat(native.constData(), &st) == 0; ++attempt) {
      if (!QDir(path).removeRecursively()) QThread::msleep(10);
    }
    if (::lstat(native.constData(), &st) != 0) ++removed;
  }
  return removed;
}

QStringList HXCUtility::subFolderOfFolder(const QString& folder) {
  QStringList result;
  if (!QFileInfo(folder).isDir()) return result;
  QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QFileInfo info = it.fileInfo();
    if (info.isDir() && !info.isSymLink())
      result << QDir(folder).filePath(QDir(folder).relativeFilePath(info.filePath()));
  }
  return result;
}

QString HXCUtility::trustFilePath() {
  QString base = PlatformPaths::current().machineAppSupport;
  if (base.isEmpty()) base = QStringLiteral("/Library/Application Support/");
  return QDir(base).filePath(QStringLiteral("Macromedia/FlashPlayerTrust/PT.cfg"));
}

void HXCUtility::makeDiractoryTrustByFlash(const QString& folder) {
  const QString trustFile = trustFilePath();
  QDir().mkpath(QFileInfo(trustFile).absolutePath());
  qCDebug(lcApp).noquote() << "trust folder is:" + trustFile;

  QString content;
  QFile in(trustFile);
  const QFileInfo info(trustFile);
  if (info.exists() || info.isSymLink()) {
    // A trust file we cannot read holds lines we cannot keep: leave it alone
    // rather than replace it with our one line. (Not a plain file: a pipe
    // would block the open.)
    if (!info.isFile() || !in.open(QIODevice::ReadOnly) || in.size() > kMaxTrustFileSize) {
      qCWarning(lcApp).noquote() << "the trust file" << trustFile << "cannot be read; it is left as it is";
      return;
    }
    // Our own files are UTF-16 with a byte-order mark. A file that another
    // program wrote in UTF-8 or Latin-1 keeps its lines: decode it as such.
    const QString old = TextDecoding::decode(in.readAll());
    in.close();
    if (old.split(QLatin1Char('\n')).contains(folder)) return;
    content = old + QLatin1Char('\n') + folder;
  } else {
    content = folder;
  }

  QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
  QString error;
  // A failed write (full disk) leaves the old file as it was.
  const QByteArray bytes = encoder.encode(content);
  if (!AtomicFile::writeFile(trustFile, bytes, &error, AtomicFile::Sync::Yes))
    qCWarning(lcApp).noquote() << "cannot write the trust file" << trustFile << ":" << error;
  qCDebug(lcApp) << (QFile::exists(trustFile) ? "file is exits!!" : "file doest not exits!!!!!!!!!");
}
