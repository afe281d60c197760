#include "import/PdfDestinations.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "base/Log.h"
#include "import/MuPdfDocument.h"

PdfDestinations::PdfDestinations(const MuPdfDocument& doc) : m_doc(doc) {}

int PdfDestinations::pageIndexOfDest(const PdfObject& dest) const { return resolve(dest, 0); }

int PdfDestinations::pageIndexOfAction(const PdfObject& action) const {
  if (!action.isDict() || !action.get("S").nameIs("GoTo")) return -1;
  return resolve(action.get("D"), 0);
}

int PdfDestinations::resolve(const PdfObject& dest, int hops) const {
  // A named destination may lead to a dictionary, which leads to an array:
  // a few hops are normal, more mean a loop.
  if (hops > 4 || dest.isNull()) return -1;
  if (dest.isArray()) {
    if (dest.length() < 1) return -1;
    const PdfObject target = dest.at(0);
    if (target.isDict()) return m_doc.pageIndexOfObject(target);
    if (target.isNumber()) {  // some writers put a page number (from 0) here
      const int n = target.integer();
      return n >= 0 && n < m_doc.pageCount() ? n : -1;
    }
    return -1;
  }
  if (dest.isDict()) return resolve(dest.get("D"), hops + 1);
  if (dest.isName() || dest.isString()) return resolve(lookupNamed(dest), hops + 1);
  return -1;
}

PdfObject PdfDestinations::lookupNamed(const PdfObject& needle) const {
  loadNames();
  // A name looks first in /Dests, where keys are names; a string first in the
  // name tree, where keys are strings. Either falls back on the other.
  if (needle.isName()) {
    const QByteArray key = needle.name();
    const PdfObject found = m_dictDests.value(key);
    return found.raw() ? found : m_treeDests.value(key);
  }
  const QByteArray key = needle.bytes();
  const PdfObject found = m_treeDests.value(key);
  return found.raw() ? found : m_dictDests.value(key);
}

void PdfDestinations::loadNames() const {
  if (m_loaded) return;
  m_loaded = true;
  const PdfObject catalog = m_doc.catalog();

  const PdfObject dests = catalog.get("Dests");
  if (dests.isDict()) {
    const int n = std::min(dests.length(), kMaxNames);
    for (int i = 0; i < n; ++i) m_dictDests.insert(dests.keyAt(i).name(), dests.valueAt(i));
  }

  // The name tree, walked without recursion; every node is visited once, so a
  // /Kids loop ends.
  const PdfObject root = catalog.get("Names").get("Dests");
  if (!root.isDict()) return;
  std::vector<std::pair<PdfObject, int>> stack{{root, 0}};
  std::unordered_set<qint64> visited;
  qsizetype count = 0;
  while (!stack.empty() && count < kMaxNames) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    if (!node.isDict() || !visited.insert(node.identity()).second) continue;
    const PdfObject names = node.get("Names");
    const int len = names.isArray() ? names.length() : 0;
    for (int i = 0; i + 1 < len && count < kMaxNames; i += 2, ++count) {
      const PdfObject key = names.at(i);
      const QByteArray k = key.isString() ? key.bytes() : key.name();
      if (!m_treeDests.contains(k)) m_treeDests.insert(k, names.at(i + 1));
    }
    const PdfObject kids = node.get("Kids");
    if (!kids.isArray()) continue;
    if (depth >= kMaxTreeDepth) {
      qCWarning(lcImport) << "named destinations nested deeper than" << kMaxTreeDepth << "levels are ignored";
      continue;
    }
    // Pushed in reverse so the leftmost kid is read first; on duplicate keys
    // the first in tree order wins.
    for (int i = kids.length() - 1; i >= 0; --i) stack.emplace_back(kids.at(i), depth + 1);
  }
  qCDebug(lcImport) << "named destinations:" << m_treeDests.size() << "in the name tree," << m_dictDests.size()
                    << "in /Dests";
}
