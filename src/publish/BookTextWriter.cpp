#include "publish/BookTextWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <cstdio>
#include <filesystem>

#include "base/DataScript.h"
#include "base/Log.h"
#include "import/FlashPageSource.h"

namespace {

// A real folder at `path`: what stands there in its place (a file, a link) goes.
bool makeFolder(const QString& path) {
  const QFileInfo info(path);
  if (info.isSymLink() || (info.exists() && !info.isDir())) BookTextWriter::removePath(path);
  return QDir().mkpath(path);
}

}  // namespace

bool BookTextWriter::removePath(const QString& path) {
  std::error_code ec;
  std::filesystem::remove_all(QFile::encodeName(path).toStdString(), ec);
  return !ec;
}

void BookTextWriter::removeStale(const QString& folder, const QSet<QString>& keep, const Failure& fail) {
  const QFileInfo info(folder);
  if (info.isSymLink()) {  // not ours to look into
    removePath(folder);
    return;
  }
  if (!info.isDir()) return;
  static const QRegularExpression ours(QStringLiteral("^([0-9]+\\.[A-Za-z0-9]+|all\\.js)$"));
  QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
    if (keep.contains(name) || !ours.match(name).hasMatch()) continue;
    if (!removePath(dir.filePath(name))) fail(dir.filePath(name), QStringLiteral("cannot remove a file of an earlier publish"));
  }
  if (dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden)) dir.rmdir(folder);
}

bool BookTextWriter::writeAtomically(const QString& target, const QByteArray& bytes, QString* error) {
  const QString part = target + QStringLiteral(".part");
  QFile::remove(part);
  QFile file(part);
  // Unbuffered, so a full disk shows up in write() and not after it.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
      file.write(bytes) != bytes.size()) {
    *error = file.errorString();
    file.close();
    QFile::remove(part);
    return false;
  }
  file.close();
  std::error_code ec;
  std::filesystem::rename(QFile::encodeName(part).toStdString(), QFile::encodeName(target).toStdString(), ec);
  if (ec) {
    *error = QString::fromLocal8Bit(ec.message().c_str());
    QFile::remove(part);
    return false;
  }
  return true;
}

void BookTextWriter::write(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail) {
  writeLabels(pages, resourceFolder, fail);
  writeText(pages, resourceFolder, fail);
}

void BookTextWriter::writeLabels(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail) {
  const QString target = QDir(resourceFolder).filePath(QStringLiteral("pages.js"));
  if (!pages.hasPageLabels()) {
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) removePath(target);
    return;
  }
  QByteArray payload = "{\"v\":1,\"labels\":[";
  bool first = true;
  for (const FlashPagePtr& page : pages.pages()) {
    if (!first) payload += ',';
    first = false;
    DataScript::appendString(payload, pages.pageLabel(page->pageIndex()));
  }
  payload += "]}";
  QString error;
  if (!writeAtomically(target, DataScript::call("pages", 0, payload), &error)) fail(target, error);
}

void BookTextWriter::writeText(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail) {
  const QString folder = QDir(resourceFolder).filePath(QStringLiteral("text"));
  QList<qint32> withText;
  for (const FlashPagePtr& page : pages.pages())
    if (pages.hasPageText(page->pageIndex())) withText.append(page->pageIndex());
  if (withText.isEmpty()) return removeStale(folder, {}, fail);
  if (!makeFolder(folder)) return fail(folder, QStringLiteral("cannot create the folder"));

  // The search file is put together as it goes, page by page, so a long book
  // never holds all its words in memory at once.
  const QString all = QDir(folder).filePath(QStringLiteral("all.js"));
  const QString allPart = all + QStringLiteral(".part");
  QFile out(allPart);
  bool allOk = out.open(QIODevice::WriteOnly | QIODevice::Truncate);
  if (allOk) allOk = out.write("folivoxData(\"search\", 0, {\"v\":1,\"pages\":[") > 0;
  QSet<QString> written{QStringLiteral("all.js")};
  bool first = true;
  for (qint32 number : withText) {
    const QString name = QStringLiteral("%1.js").arg(number);
    const QString target = QDir(folder).filePath(name);
    const QByteArray script = pages.pageTextScript(number);
    const QByteArray entry = pages.pageSearchEntry(number);
    QString error;
    if (script.isEmpty() || entry.isEmpty()) {
      fail(target, QStringLiteral("the text of page %1 cannot be read back").arg(number));
      allOk = false;
      continue;
    }
    if (!writeAtomically(target, script, &error)) {
      fail(target, error);
      continue;
    }
    written.insert(name);
    if (allOk) allOk = (first || out.write(",") == 1) && out.write(entry) == entry.size();
    first = false;
  }
  if (allOk) allOk = out.write("]});\n") > 0 && out.flush();
  out.close();
  std::error_code ec;
  if (allOk) std::filesystem::rename(QFile::encodeName(allPart).toStdString(), QFile::encodeName(all).toStdString(), ec);
  if (!allOk || ec) {
    QFile::remove(allPart);
    fail(all, ec ? QString::fromLocal8Bit(ec.message().c_str()) : out.errorString());
  }

  // Pages of an earlier publish that this book does not have.
  removeStale(folder, written, fail);
}
