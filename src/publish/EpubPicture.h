// A page picture as an EPUB carries it: in a format every reading system
// shows (JPEG or PNG; EPUB checkers and many readers still refuse WebP).
// JPEG and PNG pictures go in as they are; a WebP picture is decoded and
// becomes a PNG when it was lossless (text and line art, kept sharp) and a
// JPEG otherwise (see PngEncoder).
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

class EpubPicture {
 public:
  // Larger files are refused: they would only be a hostile file's way into memory.
  static constexpr qint64 kMaxBytes = 256LL << 20;
  static constexpr int kJpegQuality = 90;
  // A WebP picture that claims more pixels is refused before it is decoded
  // (a few hundred hostile bytes may claim 16383 x 16383).
  static constexpr qint64 kMaxPixels = 64LL << 20;

  QByteArray bytes;
  QString extension;  // "jpg" or "png"
  QSize size;         // in pixels
  QString error;      // why there is none

  bool ok() const { return error.isEmpty(); }

  // The picture of the file at `path`.
  static EpubPicture fromFile(const QString& path);
};
