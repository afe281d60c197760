#include "import/PictureFormat.h"

QString PictureFormats::name(PictureFormat format) {
  switch (format) {
    case PictureFormat::Webp:
      return QStringLiteral("webp");
    case PictureFormat::Jpeg:
      return QStringLiteral("jpeg");
    case PictureFormat::Png:
      return QStringLiteral("png");
    case PictureFormat::Auto:
      break;
  }
  return QStringLiteral("auto");
}

std::optional<PictureFormat> PictureFormats::fromName(const QString& name) {
  for (PictureFormat f : {PictureFormat::Auto, PictureFormat::Webp, PictureFormat::Jpeg, PictureFormat::Png})
    if (name.compare(PictureFormats::name(f), Qt::CaseInsensitive) == 0) return f;
  return std::nullopt;
}

PictureFormat PictureFormats::fromSetting(int value) {
  return value == 1 ? PictureFormat::Webp : value == 2 ? PictureFormat::Jpeg : PictureFormat::Auto;
}

int PictureFormats::toSetting(PictureFormat format) {
  return format == PictureFormat::Webp ? 1 : format == PictureFormat::Jpeg ? 2 : 0;
}
