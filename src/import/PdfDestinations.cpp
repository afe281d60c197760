#include "import/PdfDestinations.h"

#include "base/Log.h"
#include "import/MuPdfDocument.h"
#include "import/PdfTree.h"

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

  // The name tree; on duplicate keys the first in tree order wins.
  const PdfObject root = catalog.get("Names").get("Dests");
  if (!root.isDict()) return;
  PdfTree::forEachEntry(root, "Names", kMaxTreeDepth, kMaxNames, "named destinations",
                        [this](const PdfObject& key, const PdfObject& value) {
                          const QByteArray k = key.isString() ? key.bytes() : key.name();
                          if (!m_treeDests.contains(k)) m_treeDests.insert(k, value);
                        });
  qCDebug(lcImport) << "named destinations:" << m_treeDests.size() << "in the name tree," << m_dictDests.size()
                    << "in /Dests";
}
