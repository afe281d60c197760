#include "publish/BookTextWriter.h"

#include <QCoreApplication>
#include <QDir>

#include "base/AtomicFile.h"
#include "base/DataScript.h"
#include "base/HXCUtility.h"
#include "import/FlashPageSource.h"

void BookTextWriter::write(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail) {
  writePageFacts(pages, resourceFolder, fail);
  writeText(pages, resourceFolder, fail);
}

void BookTextWriter::writePageFacts(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail) {
  // Night mode turns pages of text light on dark and must leave photographs be:
  // the positions of the pages whose picture is a photograph.
  QByteArray photos;
  qint32 position = 0;
  for (const FlashPagePtr& page : pages.pages()) {
    if (page->pictureKind() == PageKind::Photo) photos += (photos.isEmpty() ? "" : ",") + QByteArray::number(position);
    ++position;
  }
  if (!pages.hasPageLabels() && photos.isEmpty()) return;
  QByteArray payload = "{\"v\":1";
  if (pages.hasPageLabels()) {
    payload += ",\"labels\":[";
    bool first = true;
    for (const FlashPagePtr& page : pages.pages()) {
      if (!first) payload += ',';
      first = false;
      DataScript::appendString(payload, pages.pageLabel(page->pageIndex()));
    }
    payload += ']';
  }
  if (!photos.isEmpty()) payload += ",\"photos\":[" + photos + ']';
  payload += '}';
  const QString target = QDir(resourceFolder).filePath(QStringLiteral("pages.js"));
  QString error;
  if (!AtomicFile::writeFile(target, DataScript::call("pages", 0, payload), &error)) fail(target, error);
}

void BookTextWriter::writeText(const FlashPageSource& pages, const QString& resourceFolder, const Failure& fail) {
  QList<qint32> withText;
  for (const FlashPagePtr& page : pages.pages())
    if (pages.hasPageText(page->pageIndex())) withText.append(page->pageIndex());
  if (withText.isEmpty()) return;
  const QString folder = QDir(resourceFolder).filePath(QStringLiteral("text"));
  if (QString why; !HXCUtility::makeFolders(folder, &why))
    return fail(folder, QCoreApplication::translate("BookTextWriter", "cannot create the folder: %1").arg(why));

  // The search file is put together as it goes, page by page, so a long book
  // never holds all its words in memory at once.
  AtomicFile all(QDir(folder).filePath(QStringLiteral("all.js")));
  bool allOk = all.open() && all.write("folivoxData(\"search\", 0, {\"v\":1,\"pages\":[") > 0;
  bool first = true;
  for (qint32 number : withText) {
    const QString target = QDir(folder).filePath(QStringLiteral("%1.js").arg(number));
    const QByteArray script = pages.pageTextScript(number);
    const QByteArray entry = pages.pageSearchEntry(number);
    if (script.isEmpty() || entry.isEmpty()) {
      fail(target,
           QCoreApplication::translate("BookTextWriter", "the text of page %1 cannot be read back").arg(number));
      allOk = false;
      continue;
    }
    QString error;
    if (!AtomicFile::writeFile(target, script, &error)) fail(target, error);
    if (allOk) allOk = (first || all.write(",") == 1) && all.write(entry) == entry.size();
    first = false;
  }
  if (!(allOk && all.write("]});\n") > 0 && all.commit()))
    fail(all.target(), all.errorString().isEmpty()
                           ? QCoreApplication::translate("BookTextWriter", "not every page's text could be read")
                           : all.errorString());
}
