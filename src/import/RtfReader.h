// A small RTF reader: turns RTF into a QTextDocument with paragraphs, bold,
// italic, underline, font size, font family and colour. Destinations it does
// not know (stylesheets, pictures, fields' instructions, ...) are skipped.
//
// It reads untrusted files: groups are kept on an explicit stack (no
// recursion), nesting beyond kMaxDepth shares the deepest state, control
// words and numbers are bounded, and any byte sequence ends in a document.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

class RtfReader {
 public:
  static constexpr int kMaxDepth = 1000;

  // Replaces the content of `doc` with the text of `rtf`. Returns false with
  // a reason when the bytes are not RTF at all.
  bool read(const QByteArray& rtf, QTextDocument& doc, QString* error = nullptr);
};
