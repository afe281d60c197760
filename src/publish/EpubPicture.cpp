#include "publish/EpubPicture.h"

#include <webp/decode.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "import/ImportError.h"
#include "import/PngEncoder.h"
#include "import/TurboJpegEncoder.h"
#include "publish/FlashBookOutput.h"

namespace {

QByteArray readAll(const QString& path, QString* error) {
  const QFileInfo info(path);
  if (!info.isFile()) {
    *error = QStringLiteral("it is not a file");
    return {};
  }
  if (info.size() > EpubPicture::kMaxBytes) {
    *error = QStringLiteral("it is larger than %1 MB").arg(EpubPicture::kMaxBytes >> 20);
    return {};
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = file.errorString();
    return {};
  }
  QByteArray bytes = file.read(EpubPicture::kMaxBytes + 1);
  if (file.error() != QFileDevice::NoError || bytes.size() > EpubPicture::kMaxBytes || bytes.isEmpty())
    *error = file.errorString().isEmpty() ? QStringLiteral("it cannot be read whole") : file.errorString();
  return bytes;
}

}  // namespace

EpubPicture EpubPicture::fromFile(const QString& path) {
  EpubPicture picture;
  const QString ext = FlashBookOutput::pathExtension(path).toLower();
  const QByteArray bytes = readAll(path, &picture.error);
  if (!picture.ok()) return picture;
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("png")) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, ext == QLatin1String("png") ? "png" : "jpeg");
    picture.size = reader.size();
    if (!picture.size.isValid()) picture.error = QStringLiteral("it is not a picture that can be read");
    picture.bytes = bytes;
    picture.extension = ext == QLatin1String("png") ? QStringLiteral("png") : QStringLiteral("jpg");
    return picture;
  }
  if (ext != QLatin1String("webp")) {
    picture.error = QStringLiteral("e-book readers cannot show this kind of picture");
    return picture;
  }
  WebPBitstreamFeatures features;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
  const size_t size = static_cast<size_t>(bytes.size());
  if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK || features.width <= 0 || features.height <= 0) {
    picture.error = QStringLiteral("it is not a WebP picture that can be read");
    return picture;
  }
  const int w = features.width;
  const int h = features.height;
  if (static_cast<qint64>(w) * h > kMaxPixels) {
    picture.error = QStringLiteral("the picture is larger than %1 megapixels").arg(kMaxPixels >> 20);
    return picture;
  }
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  if (WebPDecodeRGBInto(data, size, rgb.data(), rgb.size(), w * 3) == nullptr) {
    picture.error = QStringLiteral("the WebP picture is damaged");
    return picture;
  }
  picture.size = QSize(w, h);
  if (features.format == 2) {  // lossless: text and line art stay sharp
    picture.bytes = PngEncoder::encode(rgb.data(), w, h, w * 3);
    picture.extension = QStringLiteral("png");
  } else {
    try {
      TurboJpegEncoder jpeg;
      const QByteArrayView encoded = jpeg.encode(rgb.data(), w, h, w * 3, kJpegQuality);
      picture.bytes = QByteArray(encoded.data(), encoded.size());
      picture.extension = QStringLiteral("jpg");
    } catch (const ImportError& e) {
      picture.error = e.reason();
    }
  }
  if (picture.bytes.isEmpty() && picture.ok()) picture.error = QStringLiteral("it could not be converted");
  return picture;
}
