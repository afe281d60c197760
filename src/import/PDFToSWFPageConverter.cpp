#include "import/PDFToSWFPageConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <optional>
#include <thread>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Log.h"
#include "import/ImportError.h"
#include "import/MuPdfDocument.h"
#include "import/PagePictureEncoder.h"
#include "import/PageText.h"
#include "import/PageTextStore.h"

PDFToSWFPageConverter::PDFToSWFPageConverter(const QString& pdfPath, std::shared_ptr<MuPdfDocument> pdfDoc,
                                             qint32 quality)
    : PDFToPageConverter(pdfPath, std::move(pdfDoc), quality),
      m_textStore(std::make_unique<PageTextStore>(
          iConverterWorkFolder.isEmpty() ? QString()
                                         : QDir(iConverterWorkFolder).filePath(QStringLiteral("text.pack")))) {}

PDFToSWFPageConverter::~PDFToSWFPageConverter() = default;

PDFToSWFPageConverter::PageFiles PDFToSWFPageConverter::filesOf(qint32 number) const {
  std::lock_guard<std::mutex> lock(m_filesMutex);
  return m_files.value(number);
}

QString PDFToSWFPageConverter::pageFilePath(qint32 number) const {
  const QString written = filesOf(number).picture;
  return !written.isEmpty() ? written : QDir(iConverterWorkFolder).filePath(QString::asprintf("%d.jpg", number));
}

QString PDFToSWFPageConverter::zoomFilePath(qint32 number) const {
  const QString written = filesOf(number).zoom;
  return !written.isEmpty() ? written : QDir(iConverterWorkFolder).filePath(QString::asprintf("large/%d.jpg", number));
}

QString PDFToSWFPageConverter::thumbFilePath(qint32 number) const {
  const QString written = filesOf(number).thumb;
  return !written.isEmpty() ? written : QDir(iConverterWorkFolder).filePath(QString::asprintf("thumb/%d.jpg", number));
}

PageKind PDFToSWFPageConverter::pageKind(qint32 number) const { return filesOf(number).kind; }

int PDFToSWFPageConverter::zoomQuality() const {
  // Four times the pixels: artefacts are a quarter the size on screen, so a
  // lower quality looks as clean and keeps the file reasonable.
  return std::min(iQuality, 60);
}

int PDFToSWFPageConverter::thumbQuality() const { return std::min(iQuality, 75); }

QString PDFToSWFPageConverter::generatePage(qint32 number) {
  if (!iPDFDoc) return QString();
  pdfPageToImage(number, QDir(iConverterWorkFolder).filePath(QString::number(number)));
  return pageFilePath(number);
}

void PDFToSWFPageConverter::pdfPageToImage(qint32 number, const QString& path) {
  if (!iPDFDoc) return;
  if (!m_encoder || m_encoder->format() != m_format) m_encoder = std::make_unique<PagePictureEncoder>(m_format);
  makeSubfolders();
  const QFileInfo target(path);
  renderPage(*iPDFDoc, *m_encoder, number,
             target.suffix().isEmpty() ? path : target.dir().filePath(target.completeBaseName()));
}

void PDFToSWFPageConverter::makeSubfolders() const {
  for (const char* sub : {"large", "thumb"}) QDir(iConverterWorkFolder).mkpath(QLatin1String(sub));
}

void PDFToSWFPageConverter::renderPage(const MuPdfDocument& doc, PagePictureEncoder& encoder, qint32 number,
                                       const QString& stem) {
  const int index = number - 1;
  const QString folder = QFileInfo(stem).path();
  const QString name = QFileInfo(stem).fileName();
  PageFiles files;
  // Writing fails the import; drawing fails only the page. So the sinks keep
  // a write failure here and it is thrown once MuPDF is done with the page.
  std::optional<ImportError> writeFailure;
  auto write = [&](const QString& base, const PagePictureEncoder::Picture& picture) {
    const QString target = base + QLatin1Char('.') + picture.extension;
    if (writeFailure) return QString();
    try {
      writeAtomically(target, picture.bytes);
    } catch (const ImportError& e) {
      writeFailure = e;
      return QString();
    }
    return target;
  };
  auto lossy = [&](const QString& base, int quality, QString* written, bool zoom) {
    return [&, base, quality, written, zoom](const unsigned char* rgb, int w, int h, int stride) {
      *written = write(base, zoom ? encoder.encodeZoom(rgb, w, h, stride, quality)
                                  : encoder.encodeLossy(rgb, w, h, stride, quality));
    };
  };
  PageText text;
  MuPdfDocument::PageJob job;
  job.scale = kScale;
  qsizetype pictureBytes = 0;
  job.picture = [&](const unsigned char* rgb, int w, int h, int stride) {
    const PagePictureEncoder::Picture picture = encoder.encodePage(rgb, w, h, stride, iQuality, &files.kind);
    pictureBytes = picture.bytes.size();
    files.picture = write(stem, picture);
  };
  job.thumbWidth = kThumbWidth;
  job.thumb = lossy(QDir(folder).filePath(QStringLiteral("thumb/") + name), thumbQuality(), &files.thumb, false);
  if (m_zoomPictures) {
    job.zoomScale = kZoomScale;
    job.zoom = lossy(QDir(folder).filePath(QStringLiteral("large/") + name), zoomQuality(), &files.zoom, true);
    // Text pages zoom as drawings, sharp at any size and cheap to make, unless
    // the drawing is heavier than the zoom picture would be (a page of fine
    // hatching), which is about five to eight page pictures.
    if (encoder.format() != PictureFormat::Jpeg) {
      job.wantsVectorZoom = [&] { return files.kind == PageKind::Text; };
      job.vectorZoom = [&, base = QDir(folder).filePath(QStringLiteral("large/") + name)](QByteArrayView svg) {
        if (svg.size() > kMaxVectorZoomRatio * std::max<qsizetype>(pictureBytes, 1)) return false;
        files.zoom = write(base, {svg, QStringLiteral("svg")});
        return true;
      };
    }
  }
  if (m_takeText) job.text = &text;
  auto noteFiles = [&] {
    std::lock_guard<std::mutex> lock(m_filesMutex);
    m_files.insert(number, files);
  };
  job.timeLimit = m_pageTimeLimit;

  try {
    const MuPdfDocument::RenderInfo info = doc.renderPage(index, job);
    if (info.scaledDown)
      addWarning(QCoreApplication::translate("PDFToSWFPageConverter",
                                             "Page %1 is very large and was drawn at a lower resolution.")
                     .arg(number));
    if (info.errors > 0)
      qCWarning(lcImport, "page %d has %d damaged content parts; it may be incomplete", number, info.errors);
    if (!info.zoomError.isEmpty())
      qCWarning(lcImport, "page %d has no zoom picture: %s", number, qUtf8Printable(info.zoomError));
    if (!info.textError.isEmpty()) {
      qCWarning(lcImport, "page %d: its text could not be read: %s", number, qUtf8Printable(info.textError));
      addWarning(QCoreApplication::translate("PDFToSWFPageConverter",
                                             "The text of page %1 could not be read; it will not be found by search.")
                     .arg(number));
    }
  } catch (const ImportError& e) {
    if (e.aborted() || writeFailure) throw;
    // The page keeps its place in the book, so links and numbers stay aligned.
    QSizeF size(612, 792);
    try {
      size = doc.pageSize(index);
    } catch (const ImportError&) {
    }
    double scale = kScale;
    const double area = size.width() * size.height();
    if (area * scale * scale > MuPdfDocument::kMaxPixels) scale = std::sqrt(MuPdfDocument::kMaxPixels / area);
    const int w = std::max(1, static_cast<int>(std::ceil(size.width() * scale - 0.001)));
    const int h = std::max(1, static_cast<int>(std::ceil(size.height() * scale - 0.001)));
    const std::vector<unsigned char> white(static_cast<size_t>(w) * static_cast<size_t>(h) * 3, 255);
    files = PageFiles();
    const PagePictureEncoder::Picture blank = encoder.encodePage(white.data(), w, h, w * 3, iQuality, &files.kind);
    files.picture = stem + QLatin1Char('.') + blank.extension;
    writeAtomically(files.picture, blank.bytes);
    noteFiles();
    qCWarning(lcImport, "page %d could not be drawn: %s", number, qUtf8Printable(e.reason()));
    addWarning(QCoreApplication::translate("PDFToSWFPageConverter",
                                           "Page %1 could not be drawn (%2); a blank page stands in its place.")
                   .arg(number)
                   .arg(e.reason()));
    return;
  }
  if (writeFailure) throw *writeFailure;
  noteFiles();

  if (text.truncated())
    addWarning(
        QCoreApplication::translate("PDFToSWFPageConverter",
                                    "Page %1 holds more than %2 words; only the first %2 will be found by search.")
            .arg(number)
            .arg(PageText::kMaxWords));
  if (!text.isEmpty()) m_textStore->append(number, text.textScript(number), text.searchEntry(number));
}

void PDFToSWFPageConverter::writeAtomically(const QString& path, QByteArrayView bytes) {
  // Written beside the target and renamed over it: a reader never sees half a
  // picture, and a full disk is noticed. Not synced, which would cost about a
  // tenth of the import time and buys nothing for files in a private
  // temporary folder that is deleted with the page source.
  QString why;
  if (!AtomicFile::writeFile(path, bytes, &why))
    throw ImportError(QCoreApplication::translate("PDFToSWFPageConverter", "Cannot write %1: %2").arg(path, why));
}

qsizetype PDFToSWFPageConverter::renderPages(const QList<qint32>& numbers, int workers, const std::atomic<bool>& stop,
                                             const std::function<void(qsizetype done)>& progress) {
  const qsizetype total = numbers.size();
  if (total == 0) return 0;
  if (iConverterWorkFolder.isEmpty() || !QFileInfo(iConverterWorkFolder).isDir())
    throw ImportError(
        QCoreApplication::translate("PDFToSWFPageConverter", "Cannot create a work folder for the pages of %1%2")
            .arg(QFileInfo(iPDFPath).fileName(),
                 workFolderError().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(workFolderError())));
  makeSubfolders();
  if (workers <= 0) workers = QThread::idealThreadCount();
  workers = static_cast<int>(std::clamp<qsizetype>(workers, 1, std::min<qsizetype>(total, 64)));

  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    qsizetype next = 0;       // next position of `numbers` to claim
    qsizetype completed = 0;  // pages whose file is written
    int running = 0;
    QString fatal;
    std::vector<char> done;
    std::vector<MuPdfDocument*> docs;  // open worker documents, to abort on stop
  } s;
  s.done.assign(static_cast<size_t>(total), 0);

  auto worker = [&]() {
    try {
      std::unique_ptr<MuPdfDocument> doc = MuPdfDocument::open(iPDFPath);
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.docs.push_back(doc.get());
      }
      struct Unregister {
        Shared& s;
        MuPdfDocument* d;
        ~Unregister() {
          std::lock_guard<std::mutex> lock(s.mutex);
          std::erase(s.docs, d);
        }
      } unregister{s, doc.get()};
      PagePictureEncoder encoder(m_format);
      for (;;) {
        qsizetype i;
        {
          std::lock_guard<std::mutex> lock(s.mutex);
          if (stop.load(std::memory_order_acquire) || !s.fatal.isEmpty() || s.next >= total) break;
          i = s.next++;
        }
        const qint32 number = numbers[i];
        renderPage(*doc, encoder, number, QDir(iConverterWorkFolder).filePath(QString::number(number)));
        std::lock_guard<std::mutex> lock(s.mutex);
        s.done[static_cast<size_t>(i)] = 1;
        ++s.completed;
        s.changed.notify_all();
      }
    } catch (const ImportError& e) {
      if (!e.aborted()) {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.fatal.isEmpty()) s.fatal = e.reason();
      }
    } catch (const std::exception& e) {
      std::lock_guard<std::mutex> lock(s.mutex);
      if (s.fatal.isEmpty()) s.fatal = QString::fromLocal8Bit(e.what());
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    --s.running;
    s.changed.notify_all();
  };

  std::vector<std::thread> threads;
  threads.reserve(static_cast<size_t>(workers));
  for (int t = 0; t < workers; ++t) {
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      ++s.running;
    }
    try {
      threads.emplace_back(worker);
    } catch (const std::system_error& e) {
      std::lock_guard<std::mutex> lock(s.mutex);
      --s.running;
      if (threads.empty())
        s.fatal = QCoreApplication::translate("PDFToSWFPageConverter", "Cannot start a rendering thread: %1")
                      .arg(QString::fromLocal8Bit(e.what()));
      break;
    }
  }

  // Progress is posted from this thread only, so observers see 1..N in order.
  {
    std::unique_lock<std::mutex> lock(s.mutex);
    qsizetype posted = 0;
    bool aborted = false;
    for (;;) {
      s.changed.wait_for(lock, std::chrono::milliseconds(50), [&] {
        return s.completed > posted || s.running == 0 || (!aborted && stop.load(std::memory_order_acquire));
      });
      if (!aborted && (stop.load(std::memory_order_acquire) || !s.fatal.isEmpty())) {
        for (MuPdfDocument* d : s.docs) d->abortRendering();
        aborted = true;
      }
      while (posted < s.completed) {
        ++posted;
        lock.unlock();
        try {
          if (progress) progress(posted);
        } catch (const std::exception& e) {
          qCWarning(lcImport) << "progress report failed:" << e.what();
        }
        lock.lock();
      }
      if (s.running == 0) break;
    }
  }
  for (std::thread& t : threads) t.join();

  if (!s.fatal.isEmpty()) throw ImportError(s.fatal);
  qsizetype prefix = 0;
  while (prefix < total && s.done[static_cast<size_t>(prefix)]) ++prefix;
  return prefix;
}

QStringList PDFToSWFPageConverter::warnings() const {
  std::lock_guard<std::mutex> lock(m_warningsMutex);
  return m_warnings;
}

void PDFToSWFPageConverter::addWarning(const QString& text) {
  std::lock_guard<std::mutex> lock(m_warningsMutex);
  m_warnings << text;
}
