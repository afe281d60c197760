// A borrowed handle on one object of an open PDF (MuPDF's pdf_ layer). It is
// valid while its MuPdfDocument lives and is used on one thread at a time, like
// the document. Every accessor that reaches into MuPDF is guarded: a MuPDF
// error arrives as ImportError. A missing or mistyped object reads as null,
// 0 or empty, so readers of damaged files need no special cases.
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>

struct fz_context;
struct pdf_obj;

class PdfObject {
 public:
  PdfObject() = default;
  PdfObject(fz_context* ctx, pdf_obj* obj) : m_ctx(ctx), m_obj(obj) {}

  // True for an absent object and for the PDF null object.
  bool isNull() const;
  bool isDict() const;
  bool isArray() const;
  bool isName() const;
  bool isString() const;
  bool isNumber() const;

  // Dictionary value for `key` (no leading slash), null when absent.
  PdfObject get(const char* key) const;
  // Like get(), climbing /Parent for attributes pages inherit (/Rotate, /CropBox).
  PdfObject getInheritable(const char* key) const;

  // Array length or number of dictionary entries; 0 for anything else.
  int length() const;
  PdfObject at(int index) const;
  PdfObject keyAt(int index) const;
  PdfObject valueAt(int index) const;

  // A name's text without the slash; empty for anything that is not a name.
  QByteArray name() const;
  bool nameIs(const char* text) const { return name() == text; }
  // A string's raw bytes; empty for anything that is not a string.
  QByteArray bytes() const;
  // A text string decoded (PDFDocEncoding, UTF-16BE or UTF-8 with its mark).
  QString text() const;
  float real() const;
  int integer() const;
  // [x1 y1 x2 y2] as a normalised rectangle; null QRectF unless it holds four numbers.
  QRectF rect() const;

  // The same object reached twice gives the same identity (an indirect
  // reference by its object number, a direct object by its address): what a
  // reader needs to notice that it is going round in a circle.
  qint64 identity() const;

  fz_context* context() const { return m_ctx; }
  pdf_obj* raw() const { return m_obj; }

 private:
  fz_context* m_ctx = nullptr;
  pdf_obj* m_obj = nullptr;
};
