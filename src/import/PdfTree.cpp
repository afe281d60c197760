#include "import/PdfTree.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "base/Log.h"

namespace PdfTree {

qsizetype forEachEntry(const PdfObject& root, const char* pairsKey, int maxDepth, qsizetype maxEntries,
                       const char* what,
                       const std::function<void(const PdfObject& key, const PdfObject& value)>& entry) {
  std::vector<std::pair<PdfObject, int>> stack{{root, 0}};
  std::unordered_set<qint64> visited;
  qsizetype count = 0;
  while (!stack.empty() && count < maxEntries) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    if (!node.isDict() || !visited.insert(node.identity()).second) continue;
    const PdfObject pairs = node.get(pairsKey);
    const int len = pairs.isArray() ? pairs.length() : 0;
    for (int i = 0; i + 1 < len && count < maxEntries; i += 2, ++count) entry(pairs.at(i), pairs.at(i + 1));
    const PdfObject kids = node.get("Kids");
    if (!kids.isArray()) continue;
    if (depth >= maxDepth) {
      qCWarning(lcImport) << what << "nested deeper than" << maxDepth << "levels are ignored";
      continue;
    }
    // Pushed in reverse so the leftmost kid is read first.
    for (int i = kids.length() - 1; i >= 0; --i) stack.emplace_back(kids.at(i), depth + 1);
  }
  return count;
}

}  // namespace PdfTree
