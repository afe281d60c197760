// What the XHTML documents of an EPUB book (each page, the navigation
// document) have in common: the <html> element with its namespaces and
// language, the <head> with character set and title, and how the bytes of
// these and of the package document are written. One place, so that every
// document of a book declares itself alike.
#pragma once

#include <QByteArray>
#include <QString>
#include <pugixml.hpp>
#include <string>

namespace EpubXhtml {

// `text` as UTF-8 for an element or attribute, without the characters XML
// cannot carry.
std::string safe(const QString& text);

// Starts `doc` as an XHTML document in `language` with `title`: <html> with
// the XHTML and EPUB namespaces and a <head> holding the character set and
// the title. Returns <html>; the caller adds to its <head> and appends <body>.
pugi::xml_node start(pugi::xml_document& doc, const QString& language, const QString& title);

// Pages go on one line, as they are the bulk of what a reader downloads.
enum class Layout { Indented, OneLine };

// The document's bytes: the XML declaration, the HTML doctype when the root
// is <html>, then the elements indented by two spaces, or on one line followed
// by a newline.
QByteArray serialise(const pugi::xml_document& doc, Layout layout);

}  // namespace EpubXhtml
