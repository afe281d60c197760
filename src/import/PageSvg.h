// Makes MuPDF's SVG of a page fit to be a zoom page in a book: only the
// drawing elements MuPDF writes, references only within the file or to
// embedded PNG and JPEG pictures, no scripts, event handlers or styles, the
// glyphs' source text dropped, numbers cut to what the eye can see at 400 %.
// The player shows it through <img>, where nothing in it runs anyway; this
// keeps it inert when opened by itself too.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace PageSvg {

// Decimals kept of every coordinate: a thousandth of an em in glyph outlines,
// a thousandth of a point on the page.
constexpr int kDecimals = 3;
// Nesting deeper than this is refused; MuPDF nests one level per clip or group.
constexpr int kMaxDepth = 200;
// Drawings larger than this are refused unread: a zoom picture is lighter by
// far, and parsing one would cost several times its size in memory.
constexpr qsizetype kMaxBytes = 16 << 20;

// The cleaned SVG, or an empty array when `svg` is not well-formed or holds
// anything outside what the player may show.
QByteArray clean(QByteArrayView svg);

}  // namespace PageSvg
