// Renders PDF pages to picture files at twice their size in points (144
// pixels per inch), on white, in the picture format chosen (JPEG at the
// converter's quality, or per page the format that suits it: see
// PagePictureEncoder); with each picture a thumbnail and, when asked, a zoom
// picture and the page's words, all from the page loaded once.
// The name is historical: this writes WebP or JPEG pictures; nothing produces SWF (docs/NAMES.md).
#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

#include "import/PDFToPageConverter.h"
#include "import/PictureFormat.h"

class PageTextStore;
class PagePictureEncoder;

class PDFToSWFPageConverter : public PDFToPageConverter {
 public:
  static constexpr float kScale = 2.0f;
  // Zoom pictures have twice the normal resolution; thumbnails are this wide.
  static constexpr float kZoomScale = 4.0f;
  static constexpr int kThumbWidth = 200;
  // A text page's zoom page is an SVG (text as paths) while it weighs at most
  // this many times the page picture; heavier ones get a zoom picture.
  static constexpr qsizetype kMaxVectorZoomRatio = 8;

  PDFToSWFPageConverter(const QString& pdfPath, std::shared_ptr<MuPdfDocument> pdfDoc, qint32 quality);
  ~PDFToSWFPageConverter() override;

  // What renderPages() makes of each page besides its picture and thumbnail.
  bool zoomPictures() const { return m_zoomPictures; }
  void setZoomPictures(bool on) { m_zoomPictures = on; }
  bool takeText() const { return m_takeText; }
  void setTakeText(bool on) { m_takeText = on; }
  // The format of the pictures renderPages() writes (default Jpeg).
  PictureFormat pictureFormat() const { return m_format; }
  void setPictureFormat(PictureFormat format) { m_format = format; }
  // How long MuPDF may work on one page (0: no limit); a page that takes
  // longer becomes a white page and a warning.
  std::chrono::milliseconds pageTimeLimit() const { return m_pageTimeLimit; }
  void setPageTimeLimit(std::chrono::milliseconds limit) { m_pageTimeLimit = limit; }
  // The JPEG quality of zoom pictures and thumbnails for the converter's quality.
  int zoomQuality() const;
  int thumbQuality() const;

  // Work folder / "%d.EXT", EXT the extension of the picture's format once
  // the page is rendered, "jpg" before.
  QString pageFilePath(qint32 number) const;
  // Work folder / large/%d.EXT and thumb/%d.EXT, likewise. Pages without such
  // a picture (one that could not be drawn) have no file there.
  QString zoomFilePath(qint32 number) const;
  QString thumbFilePath(qint32 number) const;
  // What a rendered page's picture shows; Unknown before it is rendered.
  PageKind pageKind(qint32 number) const;
  // The words of the pages that have text (work folder / text.pack).
  const PageTextStore& textStore() const { return *m_textStore; }

  // Renders page `number` with PDFDoc() on the calling thread and returns its
  // file; "" without a document. Throws ImportError when the file cannot be written.
  QString generatePage(qint32 number) override;
  // Renders one page of PDFDoc() to `path`, whose extension becomes that of
  // the picture's format. A page that cannot be drawn becomes a white page of
  // its size and a warning. Throws ImportError when the file cannot be written.
  void pdfPageToImage(qint32 number, const QString& path);

  // Renders `numbers` on `workers` threads (0: one per core), each with its own
  // MuPDF context and document. `progress(done)` runs on the calling thread
  // after each finished page, with done = 1, 2, ... in that order. `stop` is
  // read before each page starts; pages being drawn when it is set are
  // abandoned. Returns how many of `numbers`, from the first, have their file.
  // Throws ImportError when a page file cannot be written or a worker cannot
  // open the document.
  qsizetype renderPages(const QList<qint32>& numbers, int workers, const std::atomic<bool>& stop,
                        const std::function<void(qsizetype done)>& progress);

  // Pages that were drawn blank or smaller than asked, one line each.
  QStringList warnings() const;

 private:
  // The files of a rendered page, as written.
  struct PageFiles {
    QString picture, zoom, thumb;
    PageKind kind = PageKind::Unknown;
  };
  // Renders page `number` to `stem`.EXT (its thumbnail and zoom picture to the
  // subfolders) and notes its files.
  void renderPage(const MuPdfDocument& doc, PagePictureEncoder& encoder, qint32 number, const QString& stem);
  PageFiles filesOf(qint32 number) const;
  void addWarning(const QString& text);
  void makeSubfolders() const;
  static void writeAtomically(const QString& path, QByteArrayView bytes);

  std::unique_ptr<PagePictureEncoder> m_encoder;  // for generatePage() on the calling thread
  PictureFormat m_format = PictureFormat::Jpeg;
  mutable std::mutex m_filesMutex;  // written by the workers
  QHash<qint32, PageFiles> m_files;
  bool m_zoomPictures = false;
  bool m_takeText = false;
  std::chrono::milliseconds m_pageTimeLimit{0};
  std::unique_ptr<PageTextStore> m_textStore;
  mutable std::mutex m_warningsMutex;
  QStringList m_warnings;
};
