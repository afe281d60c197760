// One page of an EPUB book as its own fixed-layout XHTML document: the page
// picture filling a viewport of its own size, the page's words over it as
// transparent text placed where the picture shows them (so readers can search,
// select and read aloud), and its link areas as <a> elements.
//
// Every text that comes from the document (words, labels, addresses) is
// written as XML text or attribute values, never as markup, with the
// characters XML cannot carry dropped.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

#include "import/PageText.h"

class EpubPage {
 public:
  struct Link {
    QRectF box;     // fractions of the page picture, from its top-left corner
    QString href;   // another page document ("7.xhtml") or a web address
    QString label;  // what a screen reader says for it
  };

  qint32 number = 0;         // the page's number in the document
  QSize size;                // the picture's pixels: the page's viewport
  QString picture;           // the picture, relative to the page document
  QString title;             // the document's <title>
  QString label;             // the printed page label (the page break's name)
  QString language;          // a language tag
  bool pictureOnly = false;  // no words: the picture gets a text alternative
  QList<PageText::Word> words;
  QList<Link> links;

  QByteArray xhtml() const;

  // The words of a page's text script (files/text/N.js, as PageText writes
  // it). Malformed entries are skipped; boxes are kept inside the page.
  static QList<PageText::Word> wordsOfScript(const QByteArray& script);
  // Whether a web address may become a link in the book: http, https and
  // mailto only (no scripts, no files, nothing inside the package).
  static bool isWebAddress(const QString& url);
};
