// What belongs to a published book, so that publishing over a folder replaces
// an earlier book and never the user's own files. The layout is the one
// FlashBookOutput.h draws and docs/book-files.md describes, optional files
// (files/large, files/thumb, files/text, files/pages.js, a batch's
// files/source.json) included.
#pragma once

#include <QString>
#include <QStringList>

namespace BookLayout {

// The entries named (relative to `folder`) that publishing would replace, and
// everything below them, that no publish writes: the user's index.html, a
// "files" folder of their own, a note put into files/page/. Paths are relative
// to `folder`; at most `limit` are listed. Entries that do not exist are fine.
//
// A book's own entries are: an HTML page beside a book's files/ or one that
// plays a book (it names files/book.bin), files/ with only the book's files in
// the book's places,
// book.swf beside such a files/, and an application bundle (NAME.app) that
// holds a book. Symbolic links are never a book's. Empty folders and the file
// browsers' own litter (.DS_Store, Thumbs.db) are not counted.
QStringList foreignEntries(const QString& folder, const QStringList& entries, int limit = 20);

// True when `folder`/files holds a book's configuration.
bool holdsBook(const QString& folder);

}  // namespace BookLayout
