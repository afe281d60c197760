// Finds the page that a link or bookmark destination points at: an explicit
// destination [page /XYZ ...], a named destination (in the /Names /Dests name
// tree or the older /Dests dictionary), or either wrapped as << /D [...] >>.
#pragma once

#include <QByteArray>
#include <QHash>

#include "import/PdfObject.h"

class MuPdfDocument;

class PdfDestinations {
 public:
  // Bounds for damaged or hostile name trees.
  static constexpr int kMaxTreeDepth = 32;
  static constexpr int kMaxNames = 1'000'000;

  explicit PdfDestinations(const MuPdfDocument& doc);

  // Page index (from 0) named by a destination, or -1 when it names no page
  // of this document.
  int pageIndexOfDest(const PdfObject& dest) const;
  // Page index of a /GoTo action's destination; -1 for every other action
  // (remote GoToR, URI, JavaScript, ...).
  int pageIndexOfAction(const PdfObject& action) const;

 private:
  int resolve(const PdfObject& dest, int hops) const;
  PdfObject lookupNamed(const PdfObject& needle) const;
  void loadNames() const;

  const MuPdfDocument& m_doc;
  mutable bool m_loaded = false;
  mutable QHash<QByteArray, PdfObject> m_treeDests;  // keys are strings in the name tree
  mutable QHash<QByteArray, PdfObject> m_dictDests;  // keys are names in /Dests
};
