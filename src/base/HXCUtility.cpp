#include "base/HXCUtility.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdlib>

#include "base/Log.h"
#include "base/PlatformPaths.h"

QString HXCUtility::forceTmpDiractory(const QString& folderName) {
  const QString base = QDir(PlatformPaths::current().tmpRoot).filePath(folderName);
  QDir().mkpath(base);
  QByteArray tmpl = QFile::encodeName(QDir(base).filePath(QStringLiteral("temp.XXXXXX")));
  if (::mkdtemp(tmpl.data()) == nullptr) {
    qCWarning(lcApp) << "cannot create a work folder in" << base;
    return QString();
  }
  return QFile::decodeName(tmpl);
}

QStringList HXCUtility::subFolderOfFolder(const QString& folder) {
  QStringList result;
  if (!QFileInfo(folder).isDir()) return result;
  QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QFileInfo info = it.fileInfo();
    if (info.isDir() && !info.isSymLink()) result << QDir(folder).filePath(QDir(folder).relativeFilePath(info.filePath()));
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
  if (in.exists() && in.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = in.readAll();
    in.close();
    // Our own files are UTF-16 with a byte-order mark. A file that another
    // program wrote in UTF-8 or Latin-1 keeps its lines: decode it as such.
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    QString old;
    if (utf16) {
      old = QStringDecoder(QStringDecoder::Utf16).decode(bytes);
    } else {
      QStringDecoder utf8(QStringDecoder::Utf8);
      old = utf8.decode(bytes);
      if (utf8.hasError()) old = QString::fromLatin1(bytes);
    }
    if (old.split(QLatin1Char('\n')).contains(folder)) return;
    content = old + QLatin1Char('\n') + folder;
  } else {
    content = folder;
  }

  QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
  const QByteArray out = encoder.encode(content);
  QSaveFile save(trustFile);
  // A short write (full disk) leaves the old file: no commit().
  if (save.open(QIODevice::WriteOnly) && save.write(out) == out.size()) save.commit();
  qCDebug(lcApp) << (QFile::exists(trustFile) ? "file is exits!!" : "file doest not exits!!!!!!!!!");
}
