#include "publish/BookIndexSection.h"

#include <vector>

#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "publish/BookTextReader.h"
#include "publish/HTMLConfigInfo.h"

namespace {

qsizetype utf8Size(const QString& s) { return s.toUtf8().size(); }

// The contents as nested lists, depth first without recursion; stops at an
// item that would not fit in `room`.
QString contents(const FlashOutline& outline, qsizetype room) {
  struct Level {
    const FlashOutlineItems* items;
    size_t next;
  };
  QString out = QStringLiteral("<ul>");
  qsizetype outBytes = out.size();
  std::vector<Level> stack{{&outline.items(), 0}};
  const qsizetype closing = QStringLiteral("</li></ul>").size();
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next >= level.items->size()) {
      stack.pop_back();
      out += QStringLiteral("</ul>");
      outBytes += 5;
      if (!stack.empty()) {
        out += QStringLiteral("</li>");
        outBytes += 5;
      }
      continue;
    }
    const FlashOutlineItem& item = *(*level.items)[level.next++];
    const QString li = QStringLiteral("<li>") + HTMLConfigInfo::escapeHtml(item.caption().simplified());
    const qsizetype liBytes = utf8Size(li);
    if (outBytes + liBytes + closing * static_cast<qsizetype>(stack.size() + 1) > room) {
      // Out of room: close what is open and stop.
      for (size_t i = 0; i < stack.size(); ++i) out += i == 0 ? QStringLiteral("</ul>") : QStringLiteral("</li></ul>");
      break;
    }
    out += li;
    outBytes += liBytes;
    if (!item.childItems().empty() && static_cast<int>(stack.size()) < BookIndexSection::kMaxDepth) {
      out += QStringLiteral("<ul>");
      outBytes += 4;
      stack.push_back({&item.childItems(), 0});
    } else {
      out += QStringLiteral("</li>");
      outBytes += 5;
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
    const QString list = contents(*outline, budget - utf8Size(out) - 32);
    if (!list.isEmpty()) out += QStringLiteral("<h2>Contents</h2>") + list;
  }
  if (!pages) return out;
  for (const FlashPagePtr& page : pages->pages()) {
    if (!pages->hasPageText(page->pageIndex())) continue;
    const std::optional<BookTextReader::Page> entry = BookTextReader::entry(pages->pageSearchEntry(page->pageIndex()));
    if (!entry) continue;
    const QString label = pages->hasPageLabels() ? pages->pageLabel(page->pageIndex()) : QString();
    const QString head =
        QStringLiteral("<h2>Page %1</h2><p>")
            .arg(HTMLConfigInfo::escapeHtml(label.isEmpty() ? QString::number(page->pageIndex()) : label));
    const qsizetype room = budget - utf8Size(out) - utf8Size(head) - 4;
    if (room <= 0) break;
    // Whole words only, so the cut never falls inside an escaped character.
    QString text;
    qsizetype textBytes = 0;
    bool full = true;
    for (const QString& word : BookTextReader::searchableText(*entry).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QString escaped = HTMLConfigInfo::escapeHtml(word);
      const qsizetype wordBytes = utf8Size(escaped);
      if (textBytes + 1 + wordBytes > room) {
        full = false;
        break;
      }
      if (!text.isEmpty()) {
        text += QLatin1Char(' ');
        ++textBytes;
      }
      text += escaped;
      textBytes += wordBytes;
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
