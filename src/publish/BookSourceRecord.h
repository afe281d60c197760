// What a book was made from, kept in the book as files/source.json so that a
// batch run with --skip-done can tell that the book is already there: the
// input's file name (the default title comes from it), the SHA-256 of its
// bytes and the publish options that shape the book. No time and no path, so
// that the book's bytes stay the same from run to run and machine to machine.
//
// The batch writes the record after the book is in place; a republish swaps
// in a files/ folder without it. So a record only ever describes the book
// beside it, and a book without one is simply published again.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace BookSourceRecord {

inline const QString kFileName = QStringLiteral("source.json");
// Larger than any record the batch writes: a file beyond it is not one.
inline constexpr qint64 kMaxSize = 1024 * 1024;

// SHA-256 (hex) of a file's bytes; for a folder (of pictures), of each file's
// name and bytes directly in it, in name order. None, with the reason, for
// anything else or a read error.
std::optional<QByteArray> inputDigest(const QString& input, QString* error);

// The record's bytes: one line of JSON,
// {"input":NAME,"options":[...],"sha256":HEX,"v":1}.
QByteArray recordFor(const QString& inputName, const QByteArray& sha256, const QStringList& options);

// `bookFolder` is the folder that holds the book's files/ (the book folder,
// or NAME.app/Contents/Resources). Writes the record atomically.
bool write(const QString& bookFolder, const QByteArray& record, QString* error);
// True when the folder holds a book and exactly this record.
bool matches(const QString& bookFolder, const QByteArray& record);

}  // namespace BookSourceRecord
