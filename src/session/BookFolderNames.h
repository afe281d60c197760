// The names of a batch's book folders, OUTDIR/<name>/: each input's file name
// without its extension, made safe as one folder name (and as part of a web
// address) and unique within the batch. The same list gives the same names on
// every run, so a later run finds the books of an earlier one.
#pragma once

#include <QSet>
#include <QString>

class BookFolderNames {
 public:
  // Longest name in UTF-8 bytes, with room for a "-N" that makes it unique;
  // far below the file systems' 255.
  static constexpr qsizetype kMaxBytes = 120;

  // A name for `input` that no earlier call gave, ignoring case (the books
  // may be copied to a file system that does).
  QString take(const QString& input, bool isFolder);

  // Letters, digits and "-_.+" stay; any other character (path separators,
  // blanks, control characters, newlines) becomes "_", runs of them one;
  // no leading ".", "-" or "_" (no hidden folder, nothing that reads as an
  // option); "book" when nothing is left.
  static QString safeName(const QString& input, bool isFolder);

 private:
  QSet<QString> m_taken;
};
