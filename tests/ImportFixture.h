// What the import tests share: the progress posts an import makes, an import of a
// PDF started on its own thread, and where MuPDF draws a page's ink.
#pragma once

#include <QImageReader>
#include <QList>
#include <QRectF>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "base/NotificationCenter.h"
#include "import/ImportPDFOperation.h"
#include "import/MuPdfDocument.h"

struct Progress {
  int pageIndex;
  int totalPage;
  QString type;
};

// Records ImportProgressInfoMSG posts while it lives.
class ProgressRecorder : public QObject {
 public:
  ProgressRecorder() {
    NotificationCenter::defaultCenter().addObserver(this, ImportProgressInfoMSG, [this](const Notification& n) {
      posts.append({n.userInfo.value(QStringLiteral("pageIndex")).toInt(),
                    n.userInfo.value(QStringLiteral("totalPage")).toInt(),
                    n.userInfo.value(QStringLiteral("type")).toString()});
      if (onPost) onPost(posts.last());
    });
  }
  ~ProgressRecorder() override { NotificationCenter::defaultCenter().removeObserver(this); }
  QList<Progress> posts;
  std::function<void(const Progress&)> onPost;
};

// Expected posts for N pages: 1..N "geneatePage", then 1..N "geneateNormalPage".
inline void verifyProgress(const QList<Progress>& posts, int n) {
  QCOMPARE(posts.size(), 2 * n);
  for (int i = 0; i < 2 * n; ++i) {
    QCOMPARE(posts[i].pageIndex, i % n + 1);
    QCOMPARE(posts[i].totalPage, n);
    QCOMPARE(posts[i].type, i < n ? QStringLiteral("geneatePage") : QStringLiteral("geneateNormalPage"));
  }
}

inline QSize jpegSize(const QString& path) {
  QImageReader reader(path, "jpeg");
  return reader.size();
}

inline std::shared_ptr<ImportPDFOperation> runImport(const QString& file, const QString& range = QStringLiteral("ALL"),
                                                     bool links = false, bool bookmarks = false) {
  auto op = std::make_shared<ImportPDFOperation>(file, range, 144, 85);
  op->setImportLinks(links);
  op->setImportBookmarks(bookmarks);
  op->start();
  return op;
}

// "what: box x y w h, ink x y w h": the message when a box misses the ink.
inline QString boxAndInk(const QByteArray& what, const QRectF& box, const QRectF& ink) {
  const auto text = [](const QRectF& r) {
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
  };
  return QString::fromLatin1(what) + ": box " + text(box) + ", ink " + text(ink);
}

// Where MuPDF draws dark pixels on page `index`, as fractions of the picture.
inline QRectF inkBox(const MuPdfDocument& doc, int index, QSize* pictureSize = nullptr) {
  QRectF box;
  doc.render(index, 2.0f, [&](const unsigned char* rgb, int w, int h, int stride) {
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
      const unsigned char* p = rgb + static_cast<ptrdiff_t>(y) * stride;
      for (int x = 0; x < w; ++x, p += 3) {
        if (p[0] + p[1] + p[2] >= 3 * 128) continue;
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
    }
    if (x1 >= 0) box = QRectF(double(x0) / w, double(y0) / h, double(x1 + 1 - x0) / w, double(y1 + 1 - y0) / h);
    if (pictureSize) *pictureSize = QSize(w, h);
  });
  return box;
}
