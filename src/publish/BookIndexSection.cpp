#include "publish/BookIndexSection.h"

#include <vector>

#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "publish/BookTextReader.h"
#include "publish/HTMLConfigInfo.h"

namespace {

// The contents as nested lists, depth first without recursion; stops at an
// item that would not fit in `room`.
QString contents(const FlashOutline& outline, qsizetype room) {
  struct Level {
    const FlashOutlineItems* items;
    size_t next;
  };
  QString out = QStringLiteral("<ul>");
  std::vector<Level> stack{{&outline.items(), 0}};
  const qsizetype closing = QStringLiteral("</li></ul>").size();
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next >= level.items->size()) {
      stack.pop_back();
      out += QStringLiteral("</ul>");
      if (!stack.empty()) out += QStringLiteral("</li>");
      continue;
    }
    const FlashOutlineItem& item = *(*level.items)[level.next++];
    const QString li = QStringLiteral("<li>") + HTMLConfigInfo::escapeHtml(item.caption().simplified());
    if (out.size() + li.size() + closing * static_cast<qsizetype>(stack.size() + 1) > room) {
      // Out of room: close what is open and stop.
      for (size_t i = 0; i < stack.size(); ++i) out += i == 0 ? QStringLiteral("</ul>") : QStringLiteral("</li></ul>");
      break;
    }
    out += li;
    if (!item.childItems().empty() && static_cast<int>(stack.size()) < BookIndexSection::kMaxDepth) {
      out += QStringLiteral("<ul>");
      stack.push_back({&item.childItems(), 0});
    } else {
      out += QStringLiteral("</li>");
    }
  }
  return out == QStringLiteral("<ul></ul>") ? QString() : out;
}

}  // namespace

QString BookIndexSection::html(const QString& title, const FlashOutline* outline, const FlashPageSource* pages,
                               qsizetype budget) {
  QString out;
  const QString t = HTMLConfigInfo::escapeHtml(title.simplified()).left(1000);
  if (!t.isEmpty()) out += QStringLiteral("<h1>") + t + QStringLiteral("</h1>");
  if (outline && !outline->items().empty()) {
    const QString list = contents(*outline, budget - out.size() - 32);
    if (!list.isEmpty()) out += QStringLiteral("<h2>Contents</h2>") + list;
  }
  if (!pages) return out;
  for (const FlashPagePtr& page : pages->pages()) {
    if (!pages->hasPageText(page->pageIndex())) continue;
    const std::optional<BookTextReader::Page> entry = BookTextReader::entry(pages->pageSearchEntry(page->pageIndex()));
    if (!entry) continue;
    const QString label = pages->hasPageLabels() ? pages->pageLabel(page->pageIndex()) : QString();
    const QString head = QStringLiteral("<h2>Page %1</h2><p>")
                             .arg(HTMLConfigInfo::escapeHtml(label.isEmpty() ? QString::number(page->pageIndex()) : label));
    const qsizetype room = budget - out.size() - head.size() - 4;
    if (room <= 0) break;
    // Whole words only, so the cut never falls inside an escaped character.
    QString text;
    bool full = true;
    for (const QString& word : BookTextReader::searchableText(*entry).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QString escaped = HTMLConfigInfo::escapeHtml(word);
      if (text.size() + 1 + escaped.size() > room) {
        full = false;
        break;
      }
      if (!text.isEmpty()) text += QLatin1Char(' ');
      text += escaped;
    }
    if (text.isEmpty()) {
      if (full) continue;
      break;
    }
    out += head + text + QStringLiteral("</p>");
    if (!full) break;
  }
  return out;
}
