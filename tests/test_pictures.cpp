// The page pictures: which pages are taken for text and which for photographs,
// how close each comes to the lossless render, a jpeg book made as before, and
// zoom drawings that can hold nothing that runs.
#include <turbojpeg.h>
#include <webp/decode.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

#include "PdfFixture.h"
#include "TestEnv.h"
#include "import/FlashPageSourcePDF.h"
#include "import/MuPdfDocument.h"
#include "import/PDFToSWFPageConverter.h"
#include "import/PagePictureEncoder.h"
#include "import/PageSvg.h"
#include "import/PictureSimilarity.h"
#include "import/TurboJpegEncoder.h"

namespace {

// Pictures as RGB888, the layout the renderer hands over.
QImage textPage() {
  QImage img(1224, 1584, QImage::Format_RGB888);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(22);
  p.setFont(font);
  for (int line = 0; line < 50; ++line) {
    p.setPen(line % 7 == 3 ? QColor(0, 0, 200) : Qt::black);  // a link now and then
    p.drawText(140, 160 + line * 26,
               QStringLiteral("Line %1 of a manual page, with words that wrap and a few numbers 0123.").arg(line));
  }
  p.drawRect(120, 120, 984, 1340);
  return img;
}

// Smooth colour with grain, as in a photograph.
void paintPhoto(QImage& img, const QRect& r) {
  QRandomGenerator rng(7);
  for (int y = r.top(); y <= r.bottom(); ++y) {
    uchar* row = img.scanLine(y);
    for (int x = r.left(); x <= r.right(); ++x) {
      const int grain = static_cast<int>(rng.bounded(17)) - 8;
      row[3 * x] = static_cast<uchar>(std::clamp(90 + 120 * x / img.width() + grain, 0, 255));
      row[3 * x + 1] = static_cast<uchar>(std::clamp(140 + 60 * y / img.height() + grain, 0, 255));
      row[3 * x + 2] = static_cast<uchar>(std::clamp(60 + (x + y) % 160 / 2 + grain, 0, 255));
    }
  }
}

QImage photoPage() {
  QImage img(1224, 1584, QImage::Format_RGB888);
  paintPhoto(img, img.rect());
  return img;
}

QImage mixedPage() {
  QImage img = textPage();
  paintPhoto(img, QRect(300, 500, 600, 450));
  return img;
}

// The picture's pixels back, from WebP or JPEG.
QImage decode(QByteArrayView bytes, QSize size) {
  QImage out(size, QImage::Format_RGB888);
  if (bytes.startsWith("RIFF")) {
    if (!WebPDecodeRGBInto(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<size_t>(bytes.size()),
                           out.bits(), static_cast<size_t>(out.sizeInBytes()), static_cast<int>(out.bytesPerLine())))
      return QImage();
    return out;
  }
  tjhandle h = tjInitDecompress();
  const int failed =
      tjDecompress2(h, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                    out.bits(), size.width(), static_cast<int>(out.bytesPerLine()), size.height(), TJPF_RGB, 0);
  tjDestroy(h);
  return failed ? QImage() : out;
}

double ssim(const QImage& a, const QImage& b) {
  return PictureSimilarity::ssim(a.constBits(), static_cast<int>(a.bytesPerLine()), b.constBits(),
                                 static_cast<int>(b.bytesPerLine()), a.width(), a.height());
}

// A page that is one picture of `w` x `h` grainy pixels, drawn at one device
// pixel per picture pixel (at 144 dpi, half a point each).
void addPhotoPage(PdfFixture& pdf, int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  paintPhoto(img, img.rect());
  QByteArray raw;
  for (int y = 0; y < h; ++y) raw.append(reinterpret_cast<const char*>(img.constScanLine(y)), 3 * w);
  const QByteArray zlib = qCompress(raw).mid(4);  // a zlib stream without Qt's length
  const int image =
      pdf.add("<< /Type /XObject /Subtype /Image /Width " + QByteArray::number(w) + " /Height " +
              QByteArray::number(h) + " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
              QByteArray::number(zlib.size()) + " >>\nstream\n" + zlib + "\nendstream");
  PdfFixture::Page& page = pdf.addPage();
  page.xobjects = "/Im1 " + PdfFixture::ref(image);
  page.content = "q " + QByteArray::number(w / 2) + " 0 0 " + QByteArray::number(h / 2) + " 36 36 cm /Im1 Do Q";
}

}  // namespace

class TestPictures : public QObject {
  Q_OBJECT

  QTemporaryDir m_dir;
  QString path(const QString& name) const { return m_dir.filePath(name); }

 private Q_SLOTS:
  void pagesTakeTheFormatOfWhatTheyShow() {
    // Text stays exact. A photograph, or text around one, is lossy at the
    // import's default quality (85) and at least as close to the render as the
    // JPEG of that quality, which stood for every page before.
    struct Case {
      const char* name;
      QImage page;
      PageKind kind;
    };
    const Case cases[] = {{"text", textPage(), PageKind::Text},
                          {"photo", photoPage(), PageKind::Photo},
                          {"mixed", mixedPage(), PageKind::Photo}};
    for (const Case& c : cases) {
      const QImage& img = c.page;
      const auto stride = static_cast<int>(img.bytesPerLine());
      QCOMPARE(PagePictureEncoder::classify(img.constBits(), img.width(), img.height(), stride), c.kind);
      double jpegFidelity = 0;
      for (PictureFormat format : {PictureFormat::Jpeg, PictureFormat::Auto, PictureFormat::Webp}) {
        PagePictureEncoder encoder(format);
        PageKind kind = PageKind::Unknown;
        const PagePictureEncoder::Picture picture =
            encoder.encodePage(img.constBits(), img.width(), img.height(), stride, 85, &kind);
        const QString what = QStringLiteral("%1 page as %2").arg(QLatin1String(c.name), PictureFormats::name(format));
        QCOMPARE(kind, c.kind);
        const QString expected = format == PictureFormat::Jpeg                               ? QStringLiteral("jpg")
                                 : format == PictureFormat::Webp || c.kind == PageKind::Text ? QStringLiteral("webp")
                                                                                             : picture.extension;
        QVERIFY2(picture.extension == expected, qPrintable(what));
        const QImage back = decode(picture.bytes, img.size());
        QVERIFY2(!back.isNull(), qPrintable(what));
        const double s = ssim(img, back);
        if (format == PictureFormat::Jpeg) {
          jpegFidelity = s;
          QVERIFY2(s >= 0.8, qPrintable(what + QStringLiteral(": SSIM %1").arg(s)));
        } else if (c.kind == PageKind::Text) {
          for (int y = 0; y < img.height(); ++y)
            QVERIFY2(
                std::memcmp(img.constScanLine(y), back.constScanLine(y), static_cast<size_t>(3 * img.width())) == 0,
                qPrintable(what + QStringLiteral(": not lossless")));
        } else {
          QVERIFY2(s >= jpegFidelity - PagePictureEncoder::kSameFidelity,
                   qPrintable(what + QStringLiteral(": SSIM %1, the JPEG's %2").arg(s).arg(jpegFidelity)));
        }
      }
    }
  }

  void autoTakesTheLighterOfWebpAndJpegForPhotographs() {
    const QImage img = photoPage();
    const auto stride = static_cast<int>(img.bytesPerLine());
    PagePictureEncoder autoEncoder(PictureFormat::Auto);
    PagePictureEncoder jpeg(PictureFormat::Jpeg);
    PagePictureEncoder webp(PictureFormat::Webp);
    for (int quality : {85, 45}) {
      const qsizetype a =
          autoEncoder.encodePage(img.constBits(), img.width(), img.height(), stride, quality, nullptr).bytes.size();
      const qsizetype j =
          jpeg.encodePage(img.constBits(), img.width(), img.height(), stride, quality, nullptr).bytes.size();
      const qsizetype w =
          webp.encodePage(img.constBits(), img.width(), img.height(), stride, quality, nullptr).bytes.size();
      QVERIFY2(a == std::min(j, w) || a == j,
               qPrintable(QStringLiteral("q%1: auto %2, jpeg %3, webp %4").arg(quality).arg(a).arg(j).arg(w)));
    }
  }

  void documentPagesGetLightPicturesAndZoomDrawings() {
    PdfFixture pdf(2);
    addPhotoPage(pdf, 400, 400);
    QVERIFY(pdf.write(path(QStringLiteral("doc.pdf"))));
    FlashPageSourcePDF source(path(QStringLiteral("doc.pdf")), QStringLiteral("ALL"), 144, 85, 1);
    source.setZoomPictures(true);
    source.setPictureFormat(PictureFormat::Auto);
    source.generatePages();
    source.generateNormalPages();
    QCOMPARE(source.pages().size(), size_t(3));
    for (int n : {1, 2}) {
      const FlashPagePtr page = source.getNormalPageAtIndex(n);
      QCOMPARE(page->pictureKind(), PageKind::Text);
      QVERIFY(page->pageFilePath().endsWith(QStringLiteral("/%1.webp").arg(n)));
      const QString zoom = source.getZoomedPageAtIndex(n)->pageFilePath();
      QVERIFY2(zoom.endsWith(QStringLiteral("/large/%1.svg").arg(n)), qPrintable(zoom));
      const QByteArray svg = readFile(zoom);
      QVERIFY(svg.startsWith("<svg") && svg.contains("<path") && !svg.contains("data-text"));
      QVERIFY(source.getThumbPageAtIndex(n)->pageFilePath().endsWith(QStringLiteral("/thumb/%1.webp").arg(n)));
    }
    // A photograph zooms as a picture: a drawing would carry the picture anyway.
    const FlashPagePtr photo = source.getNormalPageAtIndex(3);
    QCOMPARE(photo->pictureKind(), PageKind::Photo);
    const QString zoom = source.getZoomedPageAtIndex(3)->pageFilePath();
    QVERIFY2(zoom.endsWith(QStringLiteral(".webp")) || zoom.endsWith(QStringLiteral(".jpg")), qPrintable(zoom));
  }

  void pagesLongerThanWebpAllowsAreJpeg() {
    // 100 x 9000 points: 18000 pixels high at 144 dpi, past WebP's 16383.
    PdfFixture pdf(1);
    pdf.page(0).mediaBox = "[0 0 100 9000]";
    QVERIFY(pdf.write(path(QStringLiteral("scroll.pdf"))));
    for (PictureFormat format : {PictureFormat::Auto, PictureFormat::Webp}) {
      FlashPageSourcePDF source(path(QStringLiteral("scroll.pdf")), QStringLiteral("ALL"), 144, 85, 1);
      source.setPictureFormat(format);
      source.setZoomPictures(true);
      source.generatePages();
      QCOMPARE(source.pages().size(), size_t(1));
      QVERIFY2(source.warnings().isEmpty(), qPrintable(source.warnings().join(u' ')));
      QVERIFY(source.pages().front()->pageFilePath().endsWith(QStringLiteral("/1.jpg")));
      QCOMPARE(QImage(source.pages().front()->pageFilePath()).size(), QSize(200, 18000));
      QVERIFY(source.getThumbPageAtIndex(1)->pageFilePath().endsWith(QStringLiteral(".jpg")));
    }
  }

  void jpegBooksAreMadeAsBefore() {
    // Today's pictures: TurboJPEG at the quality, of MuPDF's render at scale
    // 2 (thumbnail and zoom picture at their own qualities), byte for byte.
    PdfFixture pdf(1);
    QVERIFY(pdf.write(path(QStringLiteral("one.pdf"))));
    FlashPageSourcePDF source(path(QStringLiteral("one.pdf")), QStringLiteral("ALL"), 144, 85, 1);
    source.setZoomPictures(true);
    source.generatePages();
    const FlashPagePtr page = source.pages().front();
    QVERIFY(page->pageFilePath().endsWith(QStringLiteral("/1.jpg")));
    QCOMPARE(page->pictureKind(), PageKind::Text);
    QVERIFY(source.getZoomedPageAtIndex(1)->pageFilePath().endsWith(QStringLiteral("/large/1.jpg")));

    const auto doc = MuPdfDocument::open(path(QStringLiteral("one.pdf")));
    TurboJpegEncoder jpeg;
    QByteArray picture, zoom;
    doc->render(0, PDFToSWFPageConverter::kScale, [&](const unsigned char* rgb, int w, int h, int stride) {
      picture = jpeg.encode(rgb, w, h, stride, 85).toByteArray();
    });
    doc->render(0, PDFToSWFPageConverter::kZoomScale, [&](const unsigned char* rgb, int w, int h, int stride) {
      zoom = jpeg.encode(rgb, w, h, stride, 60).toByteArray();
    });
    QVERIFY(readFile(page->pageFilePath()) == picture);
    QVERIFY(readFile(source.getZoomedPageAtIndex(1)->pageFilePath()) == zoom);
  }

  void zoomDrawingsHoldNothingThatRuns() {
    const QByteArray head =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 0 612 "
        "792\">";
    // What MuPDF writes passes, lighter.
    const QByteArray good = head +
                            "<defs><path id=\"font_1_36\" d=\"M.055999757 .34179688C.1 -.2 1.5e-3 .5Z\"/></defs>"
                            "<use data-text=\"&lt;b&gt;\" xlink:href=\"#font_1_36\" "
                            "transform=\"matrix(10.9091,0,0,-10.9091,90,58.052003)\"/>"
                            "<image width=\"2\" height=\"2\" xlink:href=\"data:image/png;base64,iVBORw0KGgo=\"/></svg>";
    const QByteArray cleaned = PageSvg::clean(good);
    QCOMPARE(cleaned, head +
                          "<defs><path id=\"font_1_36\" d=\"M.056 .342C.1 -.2 .002 .5Z\"/></defs>"
                          "<use xlink:href=\"#font_1_36\" transform=\"matrix(10.909,0,0,-10.909,90,58.052)\"/>"
                          "<image width=\"2\" height=\"2\" xlink:href=\"data:image/png;base64,iVBORw0KGgo=\"/></svg>");
    // Numbers that run into each other, hex, huge values, stray signs and dots
    // come out as a drawing a second cleaning leaves as it is.
    for (const char* d : {"M1 1..........0", "M1 2e1E-2 3e1E+2", "M1 0x1 inf 1.e5", "M1 --.0001 +-5 ++7",
                          "M1 111111111111111111111111111111.5 1e300"}) {
      const QByteArray once = PageSvg::clean(head + "<path d=\"" + d + "\"/></svg>");
      QVERIFY2(!once.isEmpty(), d);
      QCOMPARE(PageSvg::clean(once), once);
    }
    // Anything else is refused, and the page then zooms as a picture.
    const QByteArray hostile[] = {
        head + "<script>alert(1)</script></svg>",
        head + "<path d=\"M0 0\" onload=\"alert(1)\"/></svg>",
        head + "<use xlink:href=\"http://example.org/a.svg#x\"/></svg>",
        head + "<image href=\"file:///etc/passwd\"/></svg>",
        head + "<image xlink:href=\"data:text/html;base64,PHNjcmlwdD4=\"/></svg>",
        head + "<path d=\"M0 0\" fill=\"url(http://example.org/#p)\"/></svg>",
        head + "<foreignObject><div xmlns=\"http://www.w3.org/1999/xhtml\">x</div></foreignObject></svg>",
        head + "<g style=\"background:url(x)\"/></svg>",
        head + "<a xlink:href=\"javascript:alert(1)\"><path d=\"M0 0\"/></a></svg>",
        "<!DOCTYPE svg [<!ENTITY x \"y\">]>" + head + "<g>&x;</g></svg>",
        head + "text where none belongs</svg>",
        "<html/>",
        head + "<g>",
        head + QByteArray("<g>").repeated(PageSvg::kMaxDepth + 5) +
            QByteArray("</g>").repeated(PageSvg::kMaxDepth + 5) + "</svg>",
        head + QByteArray("<g/>").repeated(PageSvg::kMaxBytes / 4) + "</svg>"};
    for (const QByteArray& svg : hostile) QVERIFY2(PageSvg::clean(svg).isEmpty(), svg.left(200).constData());
  }
};

FOLIVOX_TEST_MAIN(TestPictures)
#include "test_pictures.moc"
