#include "publish/BookLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "publish/BookSourceRecord.h"

namespace BookLayout {

namespace {

// An HTML page larger than this is not one of ours (they are a few hundred KB).
constexpr qint64 kMaxPageSize = 16 * 1024 * 1024;

bool isLitter(const QString& name) {
  return name == QLatin1String(".DS_Store") || name == QLatin1String("Thumbs.db") ||
         name == QLatin1String("desktop.ini");
}

bool isPlainFile(const QFileInfo& info) { return info.isFile() && !info.isSymLink(); }
bool isPlainFolder(const QFileInfo& info) { return info.isDir() && !info.isSymLink(); }
bool isEmptyFolder(const QFileInfo& info) {
  return isPlainFolder(info) &&
         QDir(info.filePath()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A page that shows itself as one of ours: it loads a book, or says it was
// made by us (every shipped template's page does both).
bool playsABook(const QFileInfo& page) {
  if (!isPlainFile(page) || page.size() > kMaxPageSize) return false;
  QFile file(page.filePath());
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  return bytes.contains("files/book.bin") || bytes.contains("<meta name=\"generator\" content=\"Folivox\">");
}

// An entry record is a few names; anything larger is not one.
constexpr qint64 kMaxRecordSize = 64 * 1024;

class Walk {
 public:
  Walk(const QString& root, int limit) : m_root(root), m_limit(limit) {}

  bool full() const { return m_found.size() >= m_limit; }
  const QStringList& found() const { return m_found; }

  void foreign(const QString& relative) {
    if (!full()) m_found << relative;
  }

  // Calls `visit(child, path)` for each child of the folder at `relative`
  // but litter and empty folders; the folder itself must be a plain one.
  template <typename Visit>
  void eachChild(const QString& relative, Visit visit) {
    const QFileInfo info(QDir(m_root).filePath(relative));
    if (!isPlainFolder(info)) return foreign(relative);
    const QFileInfoList children =
        QDir(info.filePath()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& child : children) {
      if (full()) return;
      if (isLitter(child.fileName()) || isEmptyFolder(child)) continue;
      visit(child, relative + QLatin1Char('/') + child.fileName());
    }
  }

  // A folder inside files/: each child must be a plain file whose name `accepts`.
  template <typename Accept>
  void folderOfFiles(const QString& relative, Accept accepts) {
    eachChild(relative, [&](const QFileInfo& child, const QString& path) {
      if (!isPlainFile(child) || !accepts(child.fileName())) foreign(path);
    });
  }

  void resourceFolder(const QString& relative) {
    static const QRegularExpression numbered(QStringLiteral("^[0-9]+\\.[A-Za-z0-9]+$"));
    static const QRegularExpression textScript(QStringLiteral("^([0-9]+|all)\\.js$"));
    eachChild(relative, [&](const QFileInfo& child, const QString& path) {
      const QString name = child.fileName();
      if (name == QLatin1String("book.bin") || name == QLatin1String("book.bin.js") ||
          name == QLatin1String("pages.js") || name == BookSourceRecord::kFileName || name == kDocumentFile ||
          QStringLiteral("files/") + name == kEntryRecord) {
        if (!isPlainFile(child)) foreign(path);
      } else if (name == QLatin1String("page") || name == QLatin1String("large") || name == QLatin1String("thumb")) {
        folderOfFiles(path, [](const QString& n) { return numbered.match(n).hasMatch(); });
      } else if (name == QLatin1String("text")) {
        folderOfFiles(path, [](const QString& n) { return textScript.match(n).hasMatch(); });
      } else if (name == QLatin1String("extfiles") || name == QLatin1String("pageConfig")) {
        folderOfFiles(path, [](const QString&) { return true; });
      } else if (name == QLatin1String("search")) {
        folderOfFiles(path, [](const QString&) { return false; });  // nothing is written there
      } else {
        foreign(path);
      }
    });
  }

 private:
  QString m_root;
  int m_limit;
  QStringList m_found;
};

}  // namespace

bool holdsBook(const QString& folder) {
  const QDir dir(folder);
  return isPlainFile(QFileInfo(dir.filePath(QStringLiteral("files/book.bin")))) ||
         isPlainFile(QFileInfo(dir.filePath(QStringLiteral("files/book.bin.js"))));
}

QByteArray entryRecord(const QStringList& names) {
  QByteArray record;
  for (const QString& name : names) record += name.toUtf8() + '\n';
  return record;
}

std::optional<QStringList> recordedEntries(const QString& folder) {
  const QFileInfo info(QDir(folder).filePath(kEntryRecord));
  QFile file(info.filePath());
  if (!isPlainFile(info) || info.size() > kMaxRecordSize || !file.open(QIODevice::ReadOnly)) return std::nullopt;
  QStringList names;
  for (const QByteArray& line : file.readAll().split('\n'))
    if (!line.isEmpty()) names << QString::fromUtf8(line);
  return names;
}

QStringList foreignEntries(const QString& folder, const QStringList& entries, int limit) {
  Walk walk(folder, limit);
  const QDir dir(folder);
  const std::optional<QStringList> recorded = holdsBook(folder) ? recordedEntries(folder) : std::nullopt;
  const auto wroteIt = [&](const QString& entry) { return recorded && recorded->contains(entry); };
  for (const QString& entry : entries) {
    if (walk.full()) break;
    const QFileInfo info(dir.filePath(entry));
    if (!info.exists() && !info.isSymLink()) continue;
    if (entry == QLatin1String("files")) {
      walk.resourceFolder(entry);
    } else if (entry == QLatin1String("book.swf")) {
      // A movie cannot show whose it is: the record must name it, unless the
      // book beside it is older than records.
      if (!isPlainFile(info) || !holdsBook(folder) || !(wroteIt(entry) || !recorded)) walk.foreign(entry);
    } else if (entry.endsWith(QLatin1String(".app"))) {
      if (!isEmptyFolder(info) &&
          !(isPlainFolder(info) && holdsBook(info.filePath() + QStringLiteral("/Contents/Resources"))))
        walk.foreign(entry);
    } else if (entry.endsWith(QLatin1String(".html"))) {
      // Being beside a book is not enough: the user's own index.html may stand
      // beside a book published under another name.
      if (!isPlainFile(info) || !(wroteIt(entry) || playsABook(info))) walk.foreign(entry);
    } else {
      walk.foreign(entry);
    }
  }
  return walk.found();
}

}  // namespace BookLayout
