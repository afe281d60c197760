// The documents imported most recently, newest first, kept in the user
// settings (key "recentDocuments") for File > Open Recent. Files that are
// gone are dropped when the list is read.
#pragma once

#include <QStringList>

class RecentDocuments {
 public:
  static constexpr qsizetype kMaxCount = 10;

  // The list, without files that no longer exist.
  static QStringList list();
  // Puts `path` (made absolute) first; an older entry of it goes.
  static void add(const QString& path);
  static void clear();
};
