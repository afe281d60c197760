#include "base/NotificationCenter.h"

#include <QMetaObject>
#include <QThread>

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

void NotificationCenter::addObserver(QObject* observer, const QString& name, Handler handler) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_entries.push_back(Entry{QPointer<QObject>(observer), observer, name, std::move(handler)});
}

void NotificationCenter::removeObserver(QObject* observer) {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::erase_if(m_entries, [observer](const Entry& e) { return e.key == observer || e.observer.isNull(); });
}

void NotificationCenter::post(const QString& name, const void* object, const QVariantMap& userInfo) {
  std::vector<Entry> targets;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [](const Entry& e) { return e.observer.isNull(); });
    for (const Entry& e : m_entries)
      if (e.name.isEmpty() || e.name == name) targets.push_back(e);
  }
  const Notification note{name, object, userInfo};
  for (const Entry& e : targets) {
    QObject* obs = e.observer.data();
    if (obs == nullptr) continue;
    if (obs->thread() == QThread::currentThread()) {
      e.handler(note);
    } else {
      Handler h = e.handler;
      QMetaObject::invokeMethod(
          obs, [h, note]() { h(note); }, Qt::QueuedConnection);
    }
  }
}
