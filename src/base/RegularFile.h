// Opens files that must be plain files before anything reads them: documents,
// a book's files, pictures. A named pipe would block the reader until some
// other program writes to it, and a device such as /dev/zero never ends, so
// anything but a regular file is refused, with what it is, and never read.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

namespace RegularFile {

// Opens `path` (a link is followed) read-only into `file`. False, with the
// reason as a phrase ("the file does not exist", "it is a named pipe, not a
// regular file", "Permission denied"), when it is no regular file or cannot
// be opened. What is opened is checked, not only what the name showed.
bool open(QFile& file, const QString& path, QString* why);

// The whole file, when it holds at most `maxBytes` bytes; else nullopt with
// the reason (also "it is larger than N bytes"). A file that grows while it
// is read is caught too.
std::optional<QByteArray> read(const QString& path, qint64 maxBytes, QString* why);

}  // namespace RegularFile
