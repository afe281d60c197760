// The list a batch works through: one document a line, "INPUT [publish
// options]". Words are split as a POSIX shell splits them, without any
// expansion: blanks separate, '...' keeps everything, "..." keeps all but
// \" \\ \$ \`, $'...' reads \n \t \r as line break, tab and return and keeps
// any other character after a backslash, and a backslash outside quotes keeps
// the next character. Blank lines and words from a "#" that starts a word to
// the line's end are skipped.
//
// The list comes from a file or a pipe, so it is read as untrusted bytes:
// bounded in size, line length, words a line and lines, UTF-8 only, no NUL.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

struct BatchEntry {
  int line = 0;         // in the list, from 1
  QString input;        // as written
  QStringList options;  // the publish options, as written
  QString error;        // why this line cannot be run ("" when it can)
};

namespace BatchList {

inline constexpr qint64 kMaxListSize = 64 * 1024 * 1024;
inline constexpr qsizetype kMaxLineLength = 64 * 1024;
inline constexpr qsizetype kMaxWords = 256;
inline constexpr qsizetype kMaxEntries = 1'000'000;

struct Result {
  std::vector<BatchEntry> entries;  // one per line with words, in list order
  QString error;                    // why the whole list is refused ("" when it is not)
};

// A line that cannot be read becomes an entry with an error, so that the other
// documents still run; only a list beyond kMaxListSize or kMaxEntries is
// refused as a whole.
Result parse(const QByteArray& bytes);

// Reads the list at `path`, "-" for the standard input, up to kMaxListSize.
// False, with the reason, when it cannot be read whole.
bool read(const QString& path, QByteArray* bytes, QString* error);

// Splits one line into words; false, with the reason, for an unclosed quote
// or a backslash at the end.
bool splitWords(const QString& line, QStringList* words, QString* error);

}  // namespace BatchList
