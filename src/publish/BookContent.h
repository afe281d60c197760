// What a book is made of, as one value: the template that shows it, the
// pages, and the link areas and bookmarks read from the document (either may
// be absent). Builds work from one (the preview build, a publish on a worker,
// the command line, the EPUB export): it is taken on the main thread, with a
// copy of the template, since pages, links and bookmarks are not changed once
// imported, only replaced.
#pragma once

#include <memory>
#include <utility>

class FlashOutline;
class FlashPageSource;
class FlashPagesAnnotations;
class FlashTemplate;

struct BookContent {
  BookContent() = default;
  BookContent(std::shared_ptr<FlashTemplate> tmpl, std::shared_ptr<FlashPageSource> pages,
              std::shared_ptr<FlashPagesAnnotations> annotations = {}, std::shared_ptr<FlashOutline> outline = {})
      : tmpl(std::move(tmpl)),
        pages(std::move(pages)),
        annotations(std::move(annotations)),
        outline(std::move(outline)) {}

  std::shared_ptr<FlashTemplate> tmpl;
  std::shared_ptr<FlashPageSource> pages;
  std::shared_ptr<FlashPagesAnnotations> annotations;
  std::shared_ptr<FlashOutline> outline;
};
