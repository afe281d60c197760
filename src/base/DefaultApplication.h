// Whether the desktop has an application that opens a kind of file, as the
// file manager would ask (xdg-mime). Opening a URL reports success even when
// nothing will show it, so callers ask first.
#pragma once

#include <QString>

class DefaultApplication {
 public:
  // The desktop file of the default application for `mimeType`, or "" when
  // there is none or it cannot be asked (no xdg-mime, no answer within 3 s).
  static QString forMimeType(const QString& mimeType);
};
