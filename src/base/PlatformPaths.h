// Where the program finds its resources and keeps its files outside a book folder.
#pragma once

#include <QString>

class PlatformPaths {
 public:
  // The resource folder: holds AppFiles/, DemoImgs/, logging.properties, ...
  QString resourceFolder;
  // User-domain application-support folder (normally ~/.local/share).
  QString userAppSupport;
  // Machine-wide application-support folder; stands for both the local domain
  // and the literal "/Library/Application Support/" (normally /usr/local/share).
  QString machineAppSupport;
  // The user's temporary directory (QDir::tempPath()).
  QString userTemp;
  // Where private work folders are made: $TMPDIR, else /tmp.
  QString tmpRoot;

  // The paths of this machine. The resource folder is, in order: $FOLIVOX_RESOURCES,
  // <program folder>/../share/folivox, the installed share/folivox, and the source
  // tree only for a program that runs from its build tree.
  static PlatformPaths systemDefaults();

  // The paths in force; tests replace them with folders of their own.
  static const PlatformPaths& current();
  static void setCurrent(const PlatformPaths& paths);

  // Convenience: resourceFolder joined with a relative path.
  QString resource(const QString& relative) const;
};
