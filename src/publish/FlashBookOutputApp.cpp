#include "publish/FlashBookOutputApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "base/HXCUtility.h"
#include "base/Log.h"
#include "base/PlatformPaths.h"

namespace {

// Copies a folder tree; file permissions (the launcher's executable bit) go along.
bool copyTree(const QString& from, const QString& to, QString* error) {
  if (!QFileInfo(from).isDir()) {
    *error = QCoreApplication::translate("FlashBookOutputApp", "%1 is not a folder").arg(from);
    return false;
  }
  QString why;
  if (!HXCUtility::makeFolders(to, &why)) {
    *error = QCoreApplication::translate("FlashBookOutputApp", "cannot create %1: %2").arg(to, why);
    return false;
  }
  QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks,
                  QDirIterator::Subdirectories);
  const QDir source(from);
  while (it.hasNext()) {
    it.next();
    const QFileInfo info = it.fileInfo();
    const QString target = QDir(to).filePath(source.relativeFilePath(info.filePath()));
    if (info.isDir()) {
      if (!HXCUtility::makeFolders(target, &why)) {
        *error = QCoreApplication::translate("FlashBookOutputApp", "cannot create %1: %2").arg(target, why);
        return false;
      }
    } else if (!QFile::copy(info.filePath(), target)) {
      *error = QCoreApplication::translate("FlashBookOutputApp", "cannot copy %1").arg(info.filePath());
      return false;
    }
  }
  return true;
}

QString withoutLastComponents(QString path, int count) {
  while (path.endsWith(QLatin1Char('/')) && path.size() > 1) path.chop(1);
  for (int i = 0; i < count; ++i) path = QFileInfo(path).path();
  return path;
}

}  // namespace

QString FlashBookOutputApp::bundleNameFor(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const QString stem = dot > 0 ? name.left(dot) : name;
  return stem + QStringLiteral(".app");
}

QString FlashBookOutputApp::skeletonFolder() {
  return PlatformPaths::current().resource(QStringLiteral("AppFiles/TmplData/mac.app/Contents/"));
}

FlashBookOutputApp::FlashBookOutputApp(std::shared_ptr<FlashPageSource> pageSource,
                                       std::shared_ptr<FlashTemplate> flashTemplate, const QString& folder,
                                       const QString& name)
    : FlashBookOutput(std::move(pageSource), std::move(flashTemplate),
                      QDir(QDir(folder).filePath(bundleNameFor(name))).filePath(QStringLiteral("Contents/Resources")),
                      bundleNameFor(name)) {}

QString FlashBookOutputApp::htmlPageName() const { return QStringLiteral("index.html"); }

QString FlashBookOutputApp::outputFileName() const { return withoutLastComponents(saveToFolder(), 2); }

QString FlashBookOutputApp::transactionFolder() const { return withoutLastComponents(saveToFolder(), 3); }

QStringList FlashBookOutputApp::bookEntries() const { return {QFileInfo(outputFileName()).fileName()}; }

void FlashBookOutputApp::ouputTheBook() {
  const QString folder = transactionFolder();
  if (!QFileInfo(folder).isDir() && !makeFolder(folder)) return;
  FlashBookOutput::ouputTheBook();
}

void FlashBookOutputApp::writeBook(const QString& staging) {
  const QString bundle = QDir(staging).filePath(bookEntries().constFirst());
  const QString contents = QDir(bundle).filePath(QStringLiteral("Contents"));
  QString error;
  if (!copyTree(skeletonFolder(), contents, &error)) {
    qCCritical(lcPublish).noquote() << "ouput the book,copy failed:" << error;
    addFailure(
        outputFileName(),
        QCoreApplication::translate("FlashBookOutputApp", "cannot copy the application skeleton: %1").arg(error));
  }
  const QString resources = QDir(contents).filePath(QStringLiteral("Resources"));
  if (!QFileInfo(resources).isDir() && !makeFolder(resources)) return;
  writeBookFiles(resources);
}
