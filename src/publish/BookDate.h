// The one time stamp a published book carries (the book.bin entry, the
// EPUB's entries and its modification date): SOURCE_DATE_EPOCH when set, the
// usual way to ask for reproducible output, else a constant, so that the same
// input gives the same bytes whenever it is published.
#pragma once

#include <QDateTime>

namespace BookDate {
// In UTC; 1980-01-01 00:00 without SOURCE_DATE_EPOCH (or with one that is not
// a number of seconds, which is logged).
QDateTime date();
}  // namespace BookDate
