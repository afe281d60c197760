#include "import/PngEncoder.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QImageWriter>

QByteArray PngEncoder::encode(const unsigned char* rgb, int width, int height, int stride) {
  // The fewest bytes a pixel that keeps every pixel: grey, a palette, or RGB.
  bool grey = true;
  QHash<quint32, int> colours;
  for (int y = 0; y < height && (grey || colours.size() <= 256); ++y) {
    const unsigned char* p = rgb + static_cast<qptrdiff>(y) * stride;
    for (int x = 0; x < width; ++x, p += 3) {
      grey = grey && p[0] == p[1] && p[1] == p[2];
      if (colours.size() <= 256) colours.insert((quint32(p[0]) << 16) | (quint32(p[1]) << 8) | p[2], 0);
      if (!grey && colours.size() > 256) break;
    }
  }
  QImage image;
  if (grey) {
    image = QImage(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
      const unsigned char* p = rgb + static_cast<qptrdiff>(y) * stride;
      uchar* out = image.scanLine(y);
      for (int x = 0; x < width; ++x) out[x] = p[3 * x];
    }
  } else if (colours.size() <= 256) {
    QList<QRgb> table;
    int index = 0;
    for (auto it = colours.begin(); it != colours.end(); ++it) {
      it.value() = index++;
      table.append(qRgb(static_cast<int>(it.key() >> 16), static_cast<int>((it.key() >> 8) & 0xff),
                        static_cast<int>(it.key() & 0xff)));
    }
    image = QImage(width, height, QImage::Format_Indexed8);
    image.setColorTable(table);
    for (int y = 0; y < height; ++y) {
      const unsigned char* p = rgb + static_cast<qptrdiff>(y) * stride;
      uchar* out = image.scanLine(y);
      for (int x = 0; x < width; ++x, p += 3)
        out[x] = static_cast<uchar>(colours.value((quint32(p[0]) << 16) | (quint32(p[1]) << 8) | p[2]));
    }
  } else {
    image = QImage(rgb, width, height, stride, QImage::Format_RGB888).copy();
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) return {};
  return bytes;
}
