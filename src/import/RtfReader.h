// A small RTF reader: hands the text of an RTF document to a Sink as it
// reads it, in runs of one format (bold, italic, underline, font size, font
// family, colour) and paragraph ends with their alignment. Destinations it
// does not know (stylesheets, pictures, fields' instructions, ...) are skipped.
//
// It reads untrusted files: groups are kept on an explicit stack (no
// recursion), nesting beyond kMaxDepth shares the deepest state, control
// words and numbers are bounded, and any byte sequence ends in a document.
// Nothing is kept but the run being gathered, so time and memory grow
// linearly with the input, however long a paragraph is.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>

class QTextCharFormat;

class RtfReader {
 public:
  static constexpr int kMaxDepth = 1000;
  // Input bytes read between two calls of the progress function.
  static constexpr qsizetype kReportEvery = 64 * 1024;
  // A run is handed over at this length even when its format goes on.
  static constexpr qsizetype kMaxRun = 4096;

  // Receives the document in reading order.
  class Sink {
   public:
    virtual ~Sink() = default;
    // Text of the current paragraph in one format; never empty.
    virtual void text(QStringView run, const QTextCharFormat& format) = 0;
    // Ends the current paragraph (which may be empty). RTF applies a
    // paragraph's properties at its end, so the alignment comes here.
    virtual void paragraph(Qt::Alignment align) = 0;
  };

  // Called with how many bytes of the input are read; false stops reading.
  using Progress = std::function<bool(qint64 done, qint64 total)>;

  // Hands the text of `rtf` to `sink`, the last paragraph ended too. Returns
  // false with the reason when the bytes are not RTF at all, and false with
  // `error` left empty when `progress` stopped it.
  bool read(const QByteArray& rtf, Sink& sink, QString* error = nullptr, const Progress& progress = {});
};
