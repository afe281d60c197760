// Renders PDF pages to JPEG files at twice their size in points (144 pixels
// per inch), on white, at the converter's quality.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "import/PDFToPageConverter.h"

class TurboJpegEncoder;

class PDFToSWFPageConverter : public PDFToPageConverter {
 public:
  static constexpr float kScale = 2.0f;

  PDFToSWFPageConverter(const QString& pdfPath, std::shared_ptr<MuPdfDocument> pdfDoc, qint32 quality);
  ~PDFToSWFPageConverter() override;

  // Work folder / "%d.jpg".
  QString pageFilePath(qint32 number) const;

  // Renders page `number` with PDFDoc() on the calling thread and returns its
  // file; "" without a document. Throws ImportError when the file cannot be written.
  QString generatePage(qint32 number) override;
  // Renders one page of PDFDoc() to `path`. A page that cannot be drawn becomes
  // a white page of its size and a warning. Throws ImportError when the file
  // cannot be written.
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
  void renderPage(const MuPdfDocument& doc, TurboJpegEncoder& encoder, qint32 number, const QString& path);
  void addWarning(const QString& text);
  static void writeAtomically(const QString& path, QByteArrayView bytes);

  std::unique_ptr<TurboJpegEncoder> m_encoder;  // for generatePage() on the calling thread
  mutable std::mutex m_warningsMutex;
  QStringList m_warnings;
};
