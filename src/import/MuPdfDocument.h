// One open PDF document with its own MuPDF context.
//
// A MuPdfDocument is used by one thread at a time; parallel rendering opens one
// per worker (MuPDF's contexts are not shared between threads). Every MuPDF
// error is turned into ImportError at this boundary.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>

#include "import/PdfObject.h"

class PageText;
struct fz_context;
struct pdf_document;

class MuPdfDocument {
 public:
  // MuPDF's resource cache per document (fonts, images). Bounded so that
  // several workers together stay well under the memory we allow an import.
  static constexpr size_t kDefaultStoreBytes = 64u << 20;

  // Opens the PDF at `path`. Throws ImportError with a reason that names the
  // file, e.g. "Cannot open a.pdf: the document is protected by a password".
  static std::unique_ptr<MuPdfDocument> open(const QString& path, size_t storeBytes = kDefaultStoreBytes);

  ~MuPdfDocument();
  MuPdfDocument(const MuPdfDocument&) = delete;
  MuPdfDocument& operator=(const MuPdfDocument&) = delete;

  const QString& path() const { return m_path; }
  int pageCount() const { return m_pageCount; }
  // True when MuPDF had to rebuild a damaged cross-reference table.
  bool wasRepaired() const;

  // The page as it is drawn: crop box, rotation applied, in points.
  QSizeF pageSize(int index) const;
  // The page's crop box (clipped to the media box), unrotated, in points,
  // in the page's own coordinates. Letter size when the page has no usable box.
  QRectF cropBox(int index) const;
  // The page's /Rotate, inherited and normalised into 0..359.
  int rotation(int index) const;

  // Renders page `index` scaled by `scale` into an RGB picture on white and
  // hands it to `sink` while it exists (the pixels do not outlive the call).
  // Pictures above kMaxPixels are drawn at a smaller scale: a hostile page
  // size must not cost gigabytes. Throws ImportError (with the code
  // FZ_ERROR_ABORT once abortRendering() was called).
  using RgbSink = std::function<void(const unsigned char* rgb, int width, int height, int stride)>;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // A fuzzer tries millions of pages; a lower bound keeps each one quick.
  static constexpr double kMaxPixels = 4'000'000;
#else
  static constexpr double kMaxPixels = 40'000'000;
#endif
  struct RenderInfo {
    bool scaledDown = false;  // drawn smaller than asked, see kMaxPixels
    int errors = 0;           // content errors MuPDF drew past; the page may be incomplete
    QString zoomError;        // why the zoom picture was not made, if it was asked for
    QString textError;        // why the text was not taken, if it was asked for
  };
  RenderInfo render(int index, float scale, const RgbSink& sink) const;

  // Everything an import takes from one page, from the page loaded once.
  struct PageJob {
    float scale = 2.0f;
    RgbSink picture;     // the page drawn at `scale`
    int thumbWidth = 0;  // > 0: `picture` shrunk to this width goes to `thumb`
    RgbSink thumb;
    float zoomScale = 0;  // > 0: the page drawn again at this scale goes to `zoom`
    RgbSink zoom;
    // When set and true once the picture is done: the page as SVG (text as
    // paths, PageSvg::clean) goes to `vectorZoom` in place of the zoom
    // picture, unless it returns false or no SVG can be made.
    std::function<bool()> wantsVectorZoom;
    std::function<bool(QByteArrayView svg)> vectorZoom;
    PageText* text = nullptr;  // receives the page's words, in the picture's frame
    // > 0: MuPDF's work on the page (reading its content, drawing, taking the
    // text) stops when it has run this long. Without its picture the page
    // fails; a zoom picture or text cut short is left out.
    std::chrono::milliseconds timeLimit{0};
  };
  // Sinks run in the order picture, thumb, zoom. The picture's failure throws
  // as render() does (also when the page ran out of time: "it took longer
  // than 60 s"); a zoom picture or text that cannot be made is left out
  // (RenderInfo says so) and the page goes on. The pixels of each picture do
  // not outlive its sink call.
  RenderInfo renderPage(int index, const PageJob& job) const;
  // Asks a render() running on another thread to stop soon. Stays in force.
  void abortRendering();

  // The plain text of a page, lines separated by '\n'.
  QString pageText(int index) const;
  // The document's own title (its Info dictionary's /Title), simplified to one
  // line and at most kMaxTitleLength long; "" when it has none.
  static constexpr qsizetype kMaxTitleLength = 300;
  QString title() const;
  // Its /Author, on the same terms; and its /Lang (catalog), when that is a
  // well-formed language tag ("en-GB"), else "".
  QString author() const;
  QString language() const;

  // The pdf_ object layer, for the link and outline readers.
  PdfObject trailer() const;
  PdfObject catalog() const;
  PdfObject pageObject(int index) const;
  // Index (from 0) of the page whose dictionary is `page`, or -1.
  int pageIndexOfObject(const PdfObject& page) const;

  fz_context* context() const { return m_ctx; }
  pdf_document* pdf() const { return m_doc; }

 private:
  MuPdfDocument() = default;

  QString m_path;
  FILE* m_file = nullptr;  // the file checked at open(), which MuPDF reads
  fz_context* m_ctx = nullptr;
  pdf_document* m_doc = nullptr;
  int m_pageCount = 0;
  struct Cookie;
  std::unique_ptr<Cookie> m_cookie;
};
