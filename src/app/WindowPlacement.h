// Where the program's windows open: where the user left them last time, else
// at a sensible size in the middle of the screen. Either way through the
// window manager, which adds its frame: a window sized to the whole screen by
// hand had its title bar and close button off the screen.
#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace WindowPlacement {

// Gives `window` the geometry saved under `name`, or else `preferred` (made
// smaller on a small screen) centred on the screen's free area.
void restore(QWidget* window, const QString& name, const QSize& preferred);
// Remembers the geometry of `window` (maximised or not) under `name`.
void save(const QWidget* window, const QString& name);

}  // namespace WindowPlacement
