// Walks a PDF name tree (/Names, e.g. named destinations) or number tree
// (/Nums, e.g. page labels): nodes with /Kids, leaves with an array of key,
// value pairs. The tree is untrusted, so the walk uses no recursion, enters
// each node once (a /Kids loop ends), goes no deeper than a limit and stops
// after a number of entries.
#pragma once

#include <QtGlobal>
#include <functional>

#include "import/PdfObject.h"

namespace PdfTree {

// Calls `entry(key, value)` for the pairs of every node's `pairsKey` array
// ("Names" or "Nums"), in tree order, at most `maxEntries` times. Nodes deeper
// than `maxDepth` are left out with a warning that names the tree (`what`).
// Returns how many entries were visited. Throws ImportError when MuPDF fails.
qsizetype forEachEntry(const PdfObject& root, const char* pairsKey, int maxDepth, qsizetype maxEntries,
                       const char* what,
                       const std::function<void(const PdfObject& key, const PdfObject& value)>& entry);

}  // namespace PdfTree
