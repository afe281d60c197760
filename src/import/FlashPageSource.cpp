#include "import/FlashPageSource.h"

#include <algorithm>
#include <limits>
#include <set>

#include "base/Log.h"
#include "import/PictureHeader.h"

qint32 FlashPageSource::integerValue(QStringView text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i].isSpace()) ++i;
  bool negative = false;
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  qint64 value = 0;
  const qint64 limit = negative ? -static_cast<qint64>(std::numeric_limits<qint32>::min())
                                : static_cast<qint64>(std::numeric_limits<qint32>::max());
  for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
    value = value * 10 + (text[i].unicode() - '0');
    if (value > limit) value = limit;  // saturate, keep scanning the digits
  }
  return static_cast<qint32>(negative ? -value : value);
}

QList<qint32> FlashPageSource::parsePageRange(const QString& text, qint32 total) {
  QList<qint32> result;
  if (text.toUpper() == QLatin1String("ALL")) {
    for (qint32 i = 1; i <= total; ++i) result.append(i);
    return result;
  }
  // Numbers inside 1..total are marked in a bitmap, anything else (lone
  // numbers above total, 0) in a small set: memory stays O(total + text).
  std::vector<bool> inRange(total > 0 ? static_cast<size_t>(total) + 1 : 1, false);
  std::set<qint32> outside;
  auto add = [&](qint32 v) {
    if (v >= 0 && v <= total)
      inRange[static_cast<size_t>(v)] = true;
    else
      outside.insert(v);
  };
  const QStringList pieces = text.split(QLatin1Char(','));
  for (const QString& piece : pieces) {
    if (!piece.contains(QLatin1Char('-'))) {
      add(integerValue(piece));
      continue;
    }
    const QStringList parts = piece.split(QLatin1Char('-'));
    const qint32 a = integerValue(parts.value(0));
    const qint32 b = std::min(integerValue(parts.value(1)), std::max<qint32>(total, 0));
    for (qint64 v = a; v <= b; ++v) add(static_cast<qint32>(v));
  }
  for (qint32 v : outside)
    if (v < 0) result.append(v);
  for (size_t v = 0; v < inRange.size(); ++v)
    if (inRange[v]) result.append(static_cast<qint32>(v));
  for (qint32 v : outside)
    if (v >= 0) result.append(v);
  if (lcImport().isDebugEnabled()) {
    for (qsizetype i = 0; i < result.size(); ++i) qCDebug(lcImport, "range[%d]=%d", static_cast<int>(i), result[i]);
  }
  return result;
}

QList<QPair<qint32, qint32>> FlashPageSource::rangesPastTheEnd(const QString& text, qint32 total) {
  QList<QPair<qint32, qint32>> past;
  if (text.toUpper() == QLatin1String("ALL")) return past;
  for (const QString& piece : text.split(QLatin1Char(','))) {
    if (!piece.contains(QLatin1Char('-'))) continue;
    const QStringList parts = piece.split(QLatin1Char('-'));
    const qint32 a = integerValue(parts.value(0));
    const qint32 b = integerValue(parts.value(1));
    const qint32 first = std::max(a, std::max<qint32>(total, 0) + 1);
    if (b >= first) past.append({first, b});
  }
  return past;
}

FlashPagePtr FlashPageSource::getPageAtIndex(qint32 position) const {
  if (position < 0 || static_cast<size_t>(position) >= iPages.size()) return nullptr;
  return iPages[static_cast<size_t>(position)];
}

FlashPagePtr FlashPageSource::getNormalPageAtIndex(qint32 number) const {
  for (const FlashPagePtr& p : iNormalPages)
    if (p->pageIndex() == number) return p;
  return nullptr;
}

FlashPagePtr FlashPageSource::getZoomedPageAtIndex(qint32 number) const {
  for (const FlashPagePtr& p : iZoomedPages)
    if (p->pageIndex() == number) return p;
  return nullptr;
}

FlashPagePtr FlashPageSource::getThumbPageAtIndex(qint32 number) const {
  for (const FlashPagePtr& p : iThumbPages)
    if (p->pageIndex() == number) return p;
  return nullptr;
}

void FlashPageSource::clearPages() {
  iPages.clear();
  iNormalPages.clear();
  iZoomedPages.clear();
  iThumbPages.clear();
}

void FlashPageSourceImg::addImgPageFromFile(const QString& path) {
  iPages.push_back(std::make_shared<FlashPageImage>(path, static_cast<qint32>(iPages.size()) + 1));
}

bool FlashPageSourceImg::addCheckedImgPageFromFile(const QString& path, QString* why) {
  const PictureHeader::Result header = PictureHeader::readFile(path);
  if (!header.ok()) {
    if (why) *why = header.error;
    return false;
  }
  addImgPageFromFile(path);
  m_sizes.insert(static_cast<qint32>(iPages.size()), header.size);
  return true;
}

void FlashPageSourceImg::generateNormalPages() {
  for (const FlashPagePtr& page : iPages) {
    if (getNormalPageAtIndex(page->pageIndex())) continue;
    const auto at = std::min(static_cast<size_t>(std::max(page->pageIndex() - 1, 0)), iNormalPages.size());
    iNormalPages.insert(iNormalPages.begin() + static_cast<std::ptrdiff_t>(at), page->copyPage(100, 100));
  }
}
