// The formats a book's page pictures may take, and what a page's pixels say
// it is: text and line art, or a photograph.
#pragma once

#include <QString>
#include <optional>

// The user's choice (--picture-format, the import sheet): `Auto` picks per
// page the lightest of WebP and JPEG, `Webp` uses WebP for every page, `Jpeg`
// makes every picture a JPEG as books were before WebP (byte for byte). `Png`
// keeps to what every e-book reader shows: text pages lossless PNG,
// photographs JPEG (the EPUB export's default; not a stored setting).
enum class PictureFormat { Auto, Webp, Jpeg, Png };

// What a page's picture shows, decided from its pixels while it is drawn.
// `Text` pages (text and line art: few colours, hard edges) are stored
// losslessly and may be inverted for reading at night; `Photo` pages hold
// photographs or shading and are stored lossy.
enum class PageKind { Unknown, Text, Photo };

namespace PictureFormats {
// "auto", "webp", "jpeg", "png".
QString name(PictureFormat format);
// The format of a name (case ignored), or none.
std::optional<PictureFormat> fromName(const QString& name);
// The stored setting (0 auto, 1 webp, 2 jpeg); anything else is auto.
PictureFormat fromSetting(int value);
int toSetting(PictureFormat format);
}  // namespace PictureFormats
