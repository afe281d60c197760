// The book's own words in its HTML page, for search engines and for readers
// whose browser does not run the player: the title, the contents and the
// text of the first pages, up to a budget. It fills the placeholder
// ${book.text}; the template hides it from sighted readers (class fv-index).
// Everything in it is escaped text: a page that reads <img onerror=...> shows
// those characters.
#pragma once

#include <QString>

class FlashOutline;
class FlashPageSource;

class BookIndexSection {
 public:
  // This many bytes of HTML (UTF-8) at most: what search engines need, and
  // small enough that the page a reader loads first stays light. The contents
  // and the pages' text are cut at an item or a word so that it is not exceeded.
  static constexpr qsizetype kBudget = 32 * 1024;
  // Bookmarks deeper than this are left out of the contents.
  static constexpr int kMaxDepth = 8;

  // `outline` and `pages` may be null.
  static QString html(const QString& title, const FlashOutline* outline, const FlashPageSource* pages,
                      qsizetype budget = kBudget);
};
