// File-system helpers shared by import, templates and the application shell.
#pragma once

#include <QString>
#include <QStringList>

class HXCUtility {
 public:
  // A new, empty, uniquely named folder <tmp>/<folderName>/temp.XXXXXX (mkdtemp).
  // <tmp> is PlatformPaths::tmpRoot ("/tmp"). Returns "" when it cannot be made.
  static QString forceTmpDiractory(const QString& folderName);

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
