#include "import/MuPdfDocument.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "base/LanguageTag.h"
#include "base/Log.h"
#include "base/RegularFile.h"
#include "import/DrawingDeadline.h"
#include "import/MuPdfGuard.h"
#include "import/PageSvg.h"
#include "import/PageText.h"
#include "import/RgbDownscale.h"
#include "import/XmlSafeText.h"

using MuPdfGuard::guarded;
using MuPdfGuard::Owned;

static_assert(ImportError::kAborted == FZ_ERROR_ABORT);

struct MuPdfDocument::Cookie {
  fz_cookie c{};
  std::atomic<bool> cancelled{false};  // abortRendering() was called
};

namespace {

// MuPDF reports what it repairs or skips through these; by default it prints
// to stderr, which would clutter the command-line tool's output.
void logMuPdfWarning(void*, const char* message) { qCDebug(lcImport, "MuPDF warning: %s", message); }
void logMuPdfError(void*, const char* message) { qCDebug(lcImport, "MuPDF error: %s", message); }

// Whether the cookie's abort flag is set. Other threads set it (a cancel, a
// time limit) while MuPDF reads it as a plain int.
bool stopped(fz_cookie* cookie) { return std::atomic_ref<int>(cookie->abort).load() != 0; }

// Letter, MuPDF's own choice for pages without a usable media box.
const QRectF kLetter(0, 0, 612, 792);

// The pages the page tree really holds, counting no further than `limit`.
// The root's /Count is only a claim: a damaged or hostile file may say two
// billion over a single page, and every page list is sized by the count.
// A kid is a page unless it is a page tree node, as MuPDF's page look-up
// decides; each node is entered once, so a /Kids loop ends.
int countPageTreeLeaves(const PdfObject& root, int limit) {
  std::vector<PdfObject> stack{root};
  std::unordered_set<qint64> visited;
  int leaves = 0;
  while (!stack.empty() && leaves < limit) {
    const PdfObject node = stack.back();
    stack.pop_back();
    const PdfObject type = node.get("Type");
    const bool isTreeNode =
        !type.isNull() ? type.nameIs("Pages") : node.get("Kids").isArray() && node.get("MediaBox").isNull();
    if (!isTreeNode) {
      ++leaves;
      continue;
    }
    if (!visited.insert(node.identity()).second) continue;
    const PdfObject kids = node.get("Kids");
    for (int i = kids.length() - 1; i >= 0; --i) stack.push_back(kids.at(i));
  }
  return leaves;
}

}  // namespace

std::unique_ptr<MuPdfDocument> MuPdfDocument::open(const QString& path, size_t storeBytes) {
  const QString fileName = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
  auto failure = [&fileName](const QString& why) {
    return ImportError(QCoreApplication::translate("MuPdfDocument", "Cannot open %1: %2").arg(fileName, why));
  };

  // Checked here rather than left to MuPDF: its repair code will find "pages"
  // in almost any file, and its messages do not say what the user should fix.
  // MuPDF then reads the file opened and checked here, not whatever the name
  // stands for by then.
  QFile file;
  QString why;
  if (!RegularFile::open(file, path, &why)) throw failure(why);
  const QByteArray head = file.read(1024);
  if (head.isEmpty())
    throw failure(file.error() == QFileDevice::NoError
                      ? QCoreApplication::translate("MuPdfDocument", "the file is empty")
                      : file.errorString());
  if (!head.contains("%PDF-")) throw failure(QCoreApplication::translate("MuPdfDocument", "it is not a PDF document"));
  const int fd = ::dup(file.handle());
  FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, "rb");
  if (stream == nullptr) {
    if (fd >= 0) ::close(fd);
    throw failure(QString::fromLocal8Bit(std::strerror(errno)));
  }

  std::unique_ptr<MuPdfDocument> doc(new MuPdfDocument);
  doc->m_file = stream;
  doc->m_path = path;
  doc->m_cookie = std::make_unique<Cookie>();
  doc->m_ctx = fz_new_context(nullptr, nullptr, storeBytes);
  if (doc->m_ctx == nullptr) throw failure(QCoreApplication::translate("MuPdfDocument", "out of memory"));
  fz_context* ctx = doc->m_ctx;
  fz_set_warning_callback(ctx, logMuPdfWarning, nullptr);
  fz_set_error_callback(ctx, logMuPdfError, nullptr);

  pdf_document* pdf = nullptr;
  int needsPassword = 0;
  int count = 0;
  try {
    Owned<fz_stream, fz_drop_stream> input(ctx);
    guarded(ctx, [&] {
      input.ptr = fz_open_file_ptr_no_close(ctx, stream);
      pdf = pdf_open_document_with_stream(ctx, input.ptr);
    });
    doc->m_doc = pdf;
    guarded(ctx, [&] { needsPassword = pdf_needs_password(ctx, pdf); });
    if (!needsPassword) guarded(ctx, [&] { count = pdf_count_pages(ctx, pdf); });
  } catch (const ImportError& e) {
    throw failure(QCoreApplication::translate("MuPdfDocument", "the file is damaged (%1)").arg(e.reason()));
  }
  if (needsPassword)
    throw failure(QCoreApplication::translate("MuPdfDocument", "the document is protected by a password"));
  if (count > 0) {
    int real = 0;
    try {
      real = countPageTreeLeaves(doc->catalog().get("Pages"), count);
    } catch (const ImportError& e) {
      throw failure(QCoreApplication::translate("MuPdfDocument", "the file is damaged (%1)").arg(e.reason()));
    }
    if (real < count) {
      qCWarning(lcImport, "%s: the page tree claims %d pages but holds %d", qPrintable(fileName), count, real);
      count = real;
    }
  }
  doc->m_pageCount = std::max(count, 0);
  return doc;
}

MuPdfDocument::~MuPdfDocument() {
  if (m_ctx) {
    if (m_doc) pdf_drop_document(m_ctx, m_doc);
    fz_drop_context(m_ctx);
  }
  if (m_file) std::fclose(m_file);
}

bool MuPdfDocument::wasRepaired() const {
  int r = 0;
  guarded(m_ctx, [&] { r = pdf_was_repaired(m_ctx, m_doc); });
  return r != 0;
}

QSizeF MuPdfDocument::pageSize(int index) const {
  pdf_obj* page = pageObject(index).raw();
  fz_rect box{};
  fz_matrix ctm{};
  guarded(m_ctx, [&] {
    pdf_page_obj_transform(m_ctx, page, &box, &ctm);
    box = fz_transform_rect(box, ctm);
  });
  const QSizeF size(static_cast<qreal>(box.x1 - box.x0), static_cast<qreal>(box.y1 - box.y0));
  if (!(size.width() >= 1 && size.height() >= 1) || !std::isfinite(size.width()) || !std::isfinite(size.height()))
    return kLetter.size();
  return size;
}

QRectF MuPdfDocument::cropBox(int index) const {
  const PdfObject page = pageObject(index);
  QRectF media = page.getInheritable("MediaBox").rect();
  if (!(media.width() > 0 && media.height() > 0)) media = kLetter;
  const QRectF crop = page.getInheritable("CropBox").rect().intersected(media);
  return crop.width() > 0 && crop.height() > 0 ? crop : media;
}

int MuPdfDocument::rotation(int index) const {
  const int r = pageObject(index).getInheritable("Rotate").integer();
  return ((r % 360) + 360) % 360;
}

MuPdfDocument::RenderInfo MuPdfDocument::render(int index, float scale, const RgbSink& sink) const {
  PageJob job;
  job.scale = scale;
  job.picture = sink;
  return renderPage(index, job);
}

namespace {

// A picture being drawn (the device draws into the pixmap, so it is dropped first).
struct Drawing {
  explicit Drawing(fz_context* ctx) : pix(ctx), dev(ctx) {}
  Owned<fz_pixmap, fz_drop_pixmap> pix;
  Owned<fz_device, fz_drop_device> dev;
};

// The largest scale at or below `scale` that keeps the picture within kMaxPixels.
float boundedScale(double area, float scale) {
  if (area * scale * scale > MuPdfDocument::kMaxPixels)
    return static_cast<float>(std::sqrt(MuPdfDocument::kMaxPixels / area));
  return scale;
}

// A loaded page, and when it is run more than once its display list, so the
// content is read once for all the pictures and the text.
struct LoadedPage {
  explicit LoadedPage(fz_context* ctx) : page(ctx), list(ctx) {}
  Owned<fz_page, fz_drop_page> page;
  Owned<fz_display_list, fz_drop_display_list> list;
};

// Inside guarded() only.
void runPage(fz_context* ctx, const LoadedPage& p, fz_device* dev, fz_matrix ctm, fz_cookie* cookie) {
  if (p.list.ptr)
    fz_run_display_list(ctx, p.list.ptr, dev, ctm, fz_infinite_rect, cookie);
  else
    fz_run_page(ctx, p.page.ptr, dev, ctm, cookie);
}

void draw(fz_context* ctx, const LoadedPage& page, const fz_rect& bounds, float scale, fz_cookie* cookie, Drawing& d) {
  const fz_matrix ctm = fz_scale(scale, scale);
  guarded(ctx, [&] {
    const fz_irect bbox = fz_round_rect(fz_transform_rect(bounds, ctm));
    d.pix.ptr = fz_new_pixmap_with_bbox(ctx, fz_device_rgb(ctx), bbox, nullptr, 0);
    fz_clear_pixmap_with_value(ctx, d.pix.ptr, 255);
    d.dev.ptr = fz_new_draw_device(ctx, fz_identity, d.pix.ptr);
    runPage(ctx, page, d.dev.ptr, ctm, cookie);
    fz_close_device(ctx, d.dev.ptr);
  });
  if (stopped(cookie)) throw ImportError(QStringLiteral("rendering was stopped"), FZ_ERROR_ABORT);
}

void handOver(fz_context* ctx, const Drawing& d, const MuPdfDocument::RgbSink& sink) {
  int width = 0, height = 0, stride = 0;
  unsigned char* samples = nullptr;
  guarded(ctx, [&] {
    width = fz_pixmap_width(ctx, d.pix.ptr);
    height = fz_pixmap_height(ctx, d.pix.ptr);
    stride = fz_pixmap_stride(ctx, d.pix.ptr);
    samples = fz_pixmap_samples(ctx, d.pix.ptr);
  });
  if (width <= 0 || height <= 0 || samples == nullptr) throw ImportError(QStringLiteral("the page has no size"));
  sink(samples, width, height, stride);
}

// The page's words from MuPDF's structured text, in the coordinates of its
// bounds: the frame of the picture as drawn.
void takeText(fz_context* ctx, const LoadedPage& page, const fz_rect& bounds, fz_cookie* cookie, PageText& text) {
  Owned<fz_stext_page, fz_drop_stext_page> stext(ctx);
  Owned<fz_device, fz_drop_device> dev(ctx);
  // Ligatures spelled out and white space made plain (both MuPDF's defaults);
  // characters outside the page are left out.
  fz_stext_options options{};
  options.flags = FZ_STEXT_MEDIABOX_CLIP;
  guarded(ctx, [&] {
    stext.ptr = fz_new_stext_page(ctx, bounds);
    dev.ptr = fz_new_stext_device(ctx, stext.ptr, &options);
    runPage(ctx, page, dev.ptr, fz_identity, cookie);
    fz_close_device(ctx, dev.ptr);
  });
  if (stopped(cookie)) throw ImportError(QStringLiteral("rendering was stopped"), FZ_ERROR_ABORT);
  for (const fz_stext_block* block = stext.ptr->first_block; block; block = block->next) {
    if (block->type != FZ_STEXT_BLOCK_TEXT) continue;
    for (const fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
      text.beginLine(static_cast<double>(line->dir.x), static_cast<double>(line->dir.y));
      for (const fz_stext_char* ch = line->first_char; ch; ch = ch->next) {
        const fz_rect b = fz_rect_from_quad(ch->quad);
        text.addChar(static_cast<char32_t>(ch->c),
                     QRectF(QPointF(static_cast<double>(b.x0), static_cast<double>(b.y0)),
                            QPointF(static_cast<double>(b.x1), static_cast<double>(b.y1))),
                     static_cast<double>(ch->size),
                     QPointF(static_cast<double>(ch->origin.x), static_cast<double>(ch->origin.y)));
      }
      text.endLine();
    }
    text.endBlock();
  }
}

// The page as SVG with its text as paths, cleaned (PageSvg); empty when
// MuPDF cannot write it or the result is refused.
QByteArray pageSvg(fz_context* ctx, const LoadedPage& page, const fz_rect& bounds, fz_cookie* cookie) {
  Owned<fz_buffer, fz_drop_buffer> buf(ctx);
  Owned<fz_output, fz_drop_output> out(ctx);
  Owned<fz_device, fz_drop_device> dev(ctx);
  const fz_matrix shift = fz_translate(-bounds.x0, -bounds.y0);
  guarded(ctx, [&] {
    buf.ptr = fz_new_buffer(ctx, 64 * 1024);
    out.ptr = fz_new_output_with_buffer(ctx, buf.ptr);
    dev.ptr = fz_new_svg_device(ctx, out.ptr, bounds.x1 - bounds.x0, bounds.y1 - bounds.y0, FZ_SVG_TEXT_AS_PATH, 1);
    runPage(ctx, page, dev.ptr, shift, cookie);
    fz_close_device(ctx, dev.ptr);
    fz_close_output(ctx, out.ptr);
  });
  if (cookie->abort) throw ImportError(QStringLiteral("rendering was stopped"), FZ_ERROR_ABORT);
  unsigned char* data = nullptr;
  const size_t size = fz_buffer_storage(ctx, buf.ptr, &data);
  return PageSvg::clean(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

}  // namespace

MuPdfDocument::RenderInfo MuPdfDocument::renderPage(int index, const PageJob& job) const {
  if (index < 0 || index >= m_pageCount) throw ImportError(QStringLiteral("there is no page %1").arg(index + 1));
  LoadedPage p(m_ctx);

  fz_context* ctx = m_ctx;
  fz_document* fzdoc = &m_doc->super;
  fz_rect bounds{};
  guarded(ctx, [&] {
    p.page.ptr = fz_load_page(ctx, fzdoc, index);
    bounds = fz_bound_page(ctx, p.page.ptr);
  });

  RenderInfo info;
  const double area = static_cast<double>(bounds.x1 - bounds.x0) * static_cast<double>(bounds.y1 - bounds.y0);
  if (!std::isfinite(area) || area <= 0) throw ImportError(QStringLiteral("the page has no size"));
  const float scale = boundedScale(area, job.scale);
  info.scaledDown = scale < job.scale;

  fz_cookie* cookie = &m_cookie->c;
  cookie->errors = 0;
  cookie->progress = 0;
  cookie->incomplete = 0;
  // A time limit of an earlier page may have stopped it; a cancel stays.
  std::atomic_ref<int>(cookie->abort).store(0);
  if (m_cookie->cancelled.load()) std::atomic_ref<int>(cookie->abort).store(1);
  const DrawingDeadline deadline(&cookie->abort, job.timeLimit);
  // What stopped MuPDF, when it was the time limit and not a cancel.
  const auto timedOut = [&] { return deadline.expired() && !m_cookie->cancelled.load(); };
  const QString tooLong =
      QStringLiteral("it took longer than %1 s").arg(static_cast<double>(job.timeLimit.count()) / 1000.0);
  // Past the picture, running out of time costs only what is left to make.
  const auto work = [&] {
    // The page's content is read once into a display list when it is run more
    // than once (text, zoom picture); a picture alone is drawn straight away.
    if (job.text || (job.zoomScale > 0 && (job.zoom || job.vectorZoom))) {
      Owned<fz_device, fz_drop_device> dev(ctx);
      guarded(ctx, [&] {
        p.list.ptr = fz_new_display_list(ctx, bounds);
        dev.ptr = fz_new_list_device(ctx, p.list.ptr);
        fz_run_page(ctx, p.page.ptr, dev.ptr, fz_identity, cookie);
        fz_close_device(ctx, dev.ptr);
      });
      if (stopped(cookie)) throw ImportError(QStringLiteral("rendering was stopped"), FZ_ERROR_ABORT);
    }
    {
      Drawing d(ctx);
      draw(ctx, p, bounds, scale, cookie, d);
      info.errors = cookie->errors;
      handOver(ctx, d, [&](const unsigned char* rgb, int width, int height, int stride) {
        job.picture(rgb, width, height, stride);
        if (job.thumbWidth > 0 && job.thumb) {
          const int w = std::min(job.thumbWidth, width);
          const int h = std::max(1, static_cast<int>(std::lround(static_cast<double>(height) * w / width)));
          const std::vector<unsigned char> small = downscaleRgb(rgb, width, height, stride, w, h);
          job.thumb(small.data(), w, h, w * 3);
        }
      });
    }

    if (job.text) {
      const QRectF frame(QPointF(static_cast<double>(bounds.x0), static_cast<double>(bounds.y0)),
                         QPointF(static_cast<double>(bounds.x1), static_cast<double>(bounds.y1)));
      PageText text(frame);
      try {
        takeText(ctx, p, bounds, cookie, text);
      } catch (const ImportError& e) {
        if (e.aborted() && !timedOut()) throw;
        info.textError = e.aborted() ? tooLong : e.reason();
        text = PageText(frame);
      }
      *job.text = std::move(text);
    }

    if (job.zoomScale > 0 && job.zoom && job.vectorZoom && job.wantsVectorZoom && job.wantsVectorZoom()) {
      QByteArray svg;
      try {
        svg = pageSvg(ctx, p, bounds, cookie);
      } catch (const ImportError& e) {
        if (e.aborted() && !timedOut()) throw;
        if (e.aborted()) {
          info.zoomError = tooLong;
          return;
        }
      }
      if (!svg.isEmpty() && job.vectorZoom(svg)) return;
    }
    if (job.zoomScale > 0 && job.zoom) {
      const float zoomScale = boundedScale(area, job.zoomScale);
      if (zoomScale <= scale) {
        info.zoomError = QStringLiteral("the page is too large for a sharper picture");
      } else {
        try {
          Drawing d(ctx);
          draw(ctx, p, bounds, zoomScale, cookie, d);
          handOver(ctx, d, job.zoom);
        } catch (const ImportError& e) {
          if (e.aborted() && !timedOut()) throw;
          info.zoomError = e.aborted() ? tooLong : e.reason();
        }
      }
    }
  };
  try {
    work();
  } catch (const ImportError& e) {
    if (e.aborted() && timedOut()) throw ImportError(tooLong);
    throw;
  }
  return info;
}

void MuPdfDocument::abortRendering() {
  m_cookie->cancelled.store(true);
  std::atomic_ref<int>(m_cookie->c.abort).store(1);
}

QString MuPdfDocument::pageText(int index) const {
  if (index < 0 || index >= m_pageCount) return QString();
  Owned<fz_stext_page, fz_drop_stext_page> text(m_ctx);
  Owned<fz_buffer, fz_drop_buffer> buf(m_ctx);
  fz_context* ctx = m_ctx;
  fz_document* fzdoc = &m_doc->super;
  const char* utf8 = nullptr;
  guarded(ctx, [&] {
    text.ptr = fz_new_stext_page_from_page_number(ctx, fzdoc, index, nullptr);
    buf.ptr = fz_new_buffer_from_stext_page(ctx, text.ptr);
    utf8 = fz_string_from_buffer(ctx, buf.ptr);
  });
  return QString::fromUtf8(utf8);
}

QString MuPdfDocument::title() const {
  // Read through the object layer: fz_lookup_metadata would cut a long title
  // at its buffer mid-character.
  const QString raw = trailer().get("Info").get("Title").text().left(kMaxTitleLength * 4);
  return xmlSafeText(raw).simplified().left(kMaxTitleLength).trimmed();
}

QString MuPdfDocument::author() const {
  const QString raw = trailer().get("Info").get("Author").text().left(kMaxTitleLength * 4);
  return xmlSafeText(raw).simplified().left(kMaxTitleLength).trimmed();
}

QString MuPdfDocument::language() const {
  const QString tag = catalog().get("Lang").text().trimmed();
  return LanguageTag::isWellFormed(tag) ? tag : QString();
}

PdfObject MuPdfDocument::trailer() const {
  pdf_obj* t = nullptr;
  guarded(m_ctx, [&] { t = pdf_trailer(m_ctx, m_doc); });
  return PdfObject(m_ctx, t);
}

PdfObject MuPdfDocument::catalog() const { return trailer().get("Root"); }

PdfObject MuPdfDocument::pageObject(int index) const {
  if (index < 0 || index >= m_pageCount) return PdfObject(m_ctx, nullptr);
  pdf_obj* p = nullptr;
  guarded(m_ctx, [&] { p = pdf_lookup_page_obj(m_ctx, m_doc, index); });
  return PdfObject(m_ctx, p);
}

int MuPdfDocument::pageIndexOfObject(const PdfObject& page) const {
  if (page.raw() == nullptr) return -1;
  int n = -1;
  pdf_obj* obj = page.raw();
  try {
    guarded(m_ctx, [&] { n = pdf_lookup_page_number(m_ctx, m_doc, obj); });
  } catch (const ImportError&) {
    return -1;  // not a page of this document
  }
  return n >= 0 && n < m_pageCount ? n : -1;
}
