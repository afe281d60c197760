#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {

QString key(const QString& name) { return QStringLiteral("windows/") + name; }

}  // namespace

namespace WindowPlacement {

void restore(QWidget* window, const QString& name, const QSize& preferred) {
  const QSettings store(QStringLiteral("Folivox"), QStringLiteral("Folivox"));
  const QByteArray saved = store.value(key(name)).toByteArray();
  // restoreGeometry() also moves a window whose screen is gone onto one that is there.
  if (!saved.isEmpty() && window->restoreGeometry(saved)) return;
  const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    window->resize(preferred);
    return;
  }
  // Room for the frame and the panels of any desktop.
  const QRect free = screen->availableGeometry();
  const QSize size = preferred.boundedTo(QSize(free.width() * 9 / 10, free.height() * 9 / 10));
  window->resize(size);
  window->move(free.center() - QPoint(size.width() / 2, size.height() / 2));
}

void save(const QWidget* window, const QString& name) {
  QSettings store(QStringLiteral("Folivox"), QStringLiteral("Folivox"));
  store.setValue(key(name), window->saveGeometry());
}

}  // namespace WindowPlacement
