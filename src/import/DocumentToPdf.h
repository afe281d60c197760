// Turns plain-text, RTF and (with LibreOffice) word-processor documents into
// a PDF that the import can read. Text is laid out like the import dialog's
// text view: 468 points wide, printed on pages of 648 x 468 points with
// margins of 40 (left, right, top) and 50 (bottom) points. Text is printed
// as it is read (TextPagePrinter), so time and memory grow linearly with it.
#pragma once

#include <QString>
#include <functional>

class QTextDocument;

class DocumentToPdf {
 public:
  static constexpr double kPageWidth = 648;
  static constexpr double kPageHeight = 468;
  static constexpr double kMarginLeft = 40;
  static constexpr double kMarginRight = 40;
  static constexpr double kMarginTop = 40;
  static constexpr double kMarginBottom = 50;
  static constexpr double kViewWidth = 468;
  static constexpr double kTextInsetX = 30;  // plain text only
  static constexpr double kTextInsetY = 15;
  static constexpr double kFontSize = 12;
  // Larger text is refused before any work: about 64,000 pages of plain text,
  // converted in about a minute with memory that does not grow with it.
  static constexpr qint64 kMaxInputBytes = 64LL << 20;

  // Called as the conversion goes on with how much of the source is done (in
  // bytes; `total` 0 when unknown); returning false stops the conversion.
  using Progress = std::function<bool(qint64 done, qint64 total)>;

  // Each returns true on success; on failure `error` says why, naming the file.
  // The target is written atomically: it is complete or untouched. A document
  // with nothing to print (empty, or white space only) is refused.
  static bool CreateTXTtoPDF(const QString& source, const QString& target, QString* error = nullptr,
                             const Progress& progress = {});
  static bool CreateRTFtoPDF(const QString& source, const QString& target, QString* error = nullptr,
                             const Progress& progress = {});
  // .docx, .odt, .doc and the like, through `libreoffice --headless`. Its
  // scratch files go beside the target.
  static bool CreateOfficeToPDF(const QString& source, const QString& target, QString* error = nullptr,
                                const Progress& progress = {});
  // Prints `doc` block by block (it is never laid out as a whole),
  // kViewWidth wide less twice `insetX`, with `insetY` above the text. Lines
  // are never split across pages nor drawn twice.
  static bool PrinttoPDF(const QTextDocument& doc, const QString& target, QString* error = nullptr, double insetX = 0,
                         double insetY = 0, const Progress& progress = {});

  // True for the extensions convertToPDF() handles (txt, rtf, docx, odt, doc), any case.
  static bool needsConversion(const QString& path);
  // Picks the conversion by the source's extension.
  static bool convertToPDF(const QString& source, const QString& target, QString* error = nullptr,
                           const Progress& progress = {});

  // Plain text from file bytes: UTF-8 (invalid sequences become U+FFFD), or
  // UTF-16 when the bytes start with its byte-order mark.
  static QString decodeText(const QByteArray& bytes);
};
