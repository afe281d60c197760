// The file attributes that travel with a zip entry: dates, POSIX permissions
// and the kind of file. Each value is optional, as an entry may carry none.
// "ZK" names the zip archive; see docs/NAMES.md for the historical names.
#pragma once

#include <QDateTime>
#include <QtGlobal>
#include <optional>

struct ZKFileAttributes {
  enum class FileType { Unknown, Regular, Directory, SymbolicLink };

  std::optional<QDateTime> modificationDate;
  std::optional<QDateTime> creationDate;
  std::optional<quint32> posixPermissions;  // the 0777 bits
  FileType fileType = FileType::Unknown;
};
