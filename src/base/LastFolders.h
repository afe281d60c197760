// Where each kind of file dialog starts: the folder the user last took a file
// of that kind from (or saved one to), else the documents folder, else home.
// Never the program's resource folder, whose files the user must not change.
#pragma once

#include <QString>

class LastFolders {
 public:
  // The kinds of file the program asks for; each remembers its own folder.
  static inline const QString Document = QStringLiteral("document");      // PDF, text, RTF to import
  static inline const QString Settings = QStringLiteral("settings");      // template settings files
  static inline const QString Publish = QStringLiteral("publish");        // output folders
  static inline const QString PropertyFile = QStringLiteral("property");  // logos, sounds, backgrounds

  // The folder a dialog for `kind` opens in.
  static QString startFolder(const QString& kind);
  // Where a dialog for `kind` starts when it proposes `current` (a file or
  // folder the field holds): its folder when that exists and lies outside the
  // resource folder, else startFolder(kind). For a folder dialog the folder itself.
  static QString startFolderFor(const QString& kind, const QString& current);
  // Remembers the folder of `path` (a file, or a folder itself) for `kind`.
  static void remember(const QString& kind, const QString& path);
  // The documents folder when it exists, else the home folder.
  static QString defaultFolder();
};
