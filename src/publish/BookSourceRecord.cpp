#include "publish/BookSourceRecord.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "base/AtomicFile.h"
#include "publish/BookLayout.h"

namespace BookSourceRecord {

namespace {

enum class Kind { Other, File, Folder };

// By lstat's word, so that a FIFO is never opened (it would wait for a writer).
Kind kindOf(const QString& path, bool followLinks) {
  struct stat st {};
  const QByteArray native = QFile::encodeName(path);
  if ((followLinks ? ::stat(native.constData(), &st) : ::lstat(native.constData(), &st)) != 0) return Kind::Other;
  return S_ISREG(st.st_mode) ? Kind::File : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
}

bool addFile(QCryptographicHash& hash, const QString& path, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
    *error = QCoreApplication::translate("BookSourceRecord", "cannot read %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

QString recordPath(const QString& bookFolder) {
  return QDir(bookFolder).filePath(QStringLiteral("files/") + kFileName);
}

}  // namespace

std::optional<QByteArray> inputDigest(const QString& input, QString* error) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  switch (kindOf(input, true)) {
    case Kind::File:
      if (!addFile(hash, input, error)) return std::nullopt;
      break;
    case Kind::Folder: {
      // Names in byte order, each with its length, so that no two folders
      // hash alike by moving bytes between a name and a file.
      QStringList names = QDir(input).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
      std::sort(names.begin(), names.end(),
                [](const QString& a, const QString& b) { return QFile::encodeName(a) < QFile::encodeName(b); });
      for (const QString& name : names) {
        const QString path = QDir(input).filePath(name);
        if (kindOf(path, false) != Kind::File) continue;
        const QByteArray encoded = QFile::encodeName(name);
        hash.addData(QByteArray::number(encoded.size()) + ':' + encoded + ':' +
                     QByteArray::number(QFileInfo(path).size()) + ':');
        if (!addFile(hash, path, error)) return std::nullopt;
      }
      break;
    }
    case Kind::Other:
      *error = QCoreApplication::translate("BookSourceRecord", "%1 is neither a file nor a folder").arg(input);
      return std::nullopt;
  }
  return hash.result().toHex();
}

QByteArray recordFor(const QString& inputName, const QByteArray& sha256, const QStringList& options) {
  const QJsonObject record{{QStringLiteral("v"), 1},
                           {QStringLiteral("input"), inputName},
                           {QStringLiteral("sha256"), QString::fromLatin1(sha256)},
                           {QStringLiteral("options"), QJsonArray::fromStringList(options)}};
  return QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
}

bool write(const QString& bookFolder, const QByteArray& record, QString* error) {
  return AtomicFile::writeFile(recordPath(bookFolder), record, error);
}

bool matches(const QString& bookFolder, const QByteArray& record) {
  if (!BookLayout::holdsBook(bookFolder)) return false;
  const QString path = recordPath(bookFolder);
  if (kindOf(path, false) != Kind::File) return false;
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(kMaxSize) == record;
}

}  // namespace BookSourceRecord
