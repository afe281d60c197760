// File-system helpers shared by import, templates and the application shell.
// The name is historical: these are file-system helpers (docs/NAMES.md).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "base/PrivateFolder.h"

class HXCUtility {
 public:
  // A new, empty work folder <tmp>/<folderName>-<pid>-XXXXXX of this process
  // alone (see PrivateFolder: mode 0700, removed with the object). <tmp> is
  // PlatformPaths::tmpRoot ($TMPDIR, else /tmp). There is no shared <tmp>/<folderName>:
  // whoever made that first could swap the files inside. Null, with the
  // reason in `error`, when it cannot be made.
  static std::unique_ptr<PrivateFolder> forceTmpDiractory(const QString& folderName, QString* error = nullptr);
  // Removes the work folders of `folderName` that killed runs left behind.
  static int removeLeftoverTmpDiractories(const QString& folderName);
  // Removes this process's own private folders <parent>/<prefix><pid>-*, in
  // use or not: for a program that must end at once and leave nothing.
  // Returns how many were removed.
  static int removeOwnFolders(const QString& parent, const QString& prefix);

  // Makes `path` and any missing folders above it, as QDir::mkpath does, but
  // says why when it cannot: "Permission denied", "/a/b is not a folder".
  static bool makeFolders(const QString& path, QString* error = nullptr);

  // Whether `path`, with every link resolved, lies inside one of `folders`
  // (links resolved too). A path that does not exist is taken as written.
  static bool isInside(const QString& path, const QStringList& folders);

  // Every folder below `folder`, at any depth, as full paths, in the order the
  // directory walk yields them. Symbolic links are not followed nor listed.
  static QStringList subFolderOfFolder(const QString& folder);

  // Adds `folder` as a line of the player trust file
  // <machine app support>/Macromedia/FlashPlayerTrust/PT.cfg (UTF-16 with BOM),
  // unless a line equals it exactly. Written atomically; failures are logged
  // only. A file that exists but cannot be read (or is far too large) is left
  // as it is.
  static void makeDiractoryTrustByFlash(const QString& folder);
  static constexpr qint64 kMaxTrustFileSize = 16 * 1024 * 1024;

  // The trust file path used by makeDiractoryTrustByFlash().
  static QString trustFilePath();
};
