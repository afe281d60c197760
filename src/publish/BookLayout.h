// What belongs to a published book, so that publishing over a folder replaces
// an earlier book and never the user's own files. The layout is the one
// FlashBookOutput.h draws and docs/book-files.md describes, optional files
// (files/large, files/thumb, files/text, files/pages.js, a batch's
// files/source.json) included.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace BookLayout {

// The entries named (relative to `folder`) that publishing would replace, and
// everything below them, that no publish writes: the user's index.html, a
// "files" folder of their own, a note put into files/page/. Paths are relative
// to `folder`; at most `limit` are listed. Entries that do not exist are fine.
//
// A book's own entries are: files/ with only the book's files in the book's
// places; an HTML page that the book beside it wrote (its entry record names
// it) or that shows itself as ours (it names files/book.bin, or its generator
// is Folivox); book.swf that the book beside it wrote (or beside a book from
// before entry records); and an application bundle (NAME.app) that holds a
// book. So a page of the user's own beside a book published under another
// name is foreign. Symbolic links are never a book's. Empty folders and the
// file browsers' own litter (.DS_Store, Thumbs.db) are not counted.
QStringList foreignEntries(const QString& folder, const QStringList& entries, int limit = 20);

// True when `folder`/files holds a book's configuration.
bool holdsBook(const QString& folder);

// The document the book was made from, files/document.pdf, when the template
// offers it for download (the downloadDocument switch).
inline const QString kDocumentFile = QStringLiteral("document.pdf");

// The entry record, files/.folivox-entries: the names of the entries the book
// wrote beside files/ (its HTML page, book.swf), one a line, in UTF-8. Only
// names: no times, no paths, so that the same book gives the same bytes.
inline const QString kEntryRecord = QStringLiteral("files/.folivox-entries");
QByteArray entryRecord(const QStringList& names);
// The names the record in `folder` holds; nullopt when there is none (a book
// published before records, or no book).
std::optional<QStringList> recordedEntries(const QString& folder);

}  // namespace BookLayout
