// Named notifications between parts of the program that do not know each other.
// An observer receives a post on its own thread: directly when the post comes
// from that thread, otherwise queued, in the order of posting.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <mutex>
#include <vector>

inline const QString FlashTmplProValueChangedNotification = QStringLiteral("FlashTmplProValueChangedNotification");
inline const QString UpdateFlashTmplProTipNotification = QStringLiteral("UpdateFlashTmplProTipNotification");
inline const QString ImportProgressInfoMSG = QStringLiteral("ImportProgressInfoMSG");

struct Notification {
  QString name;
  const void* object = nullptr;  // the sender's subject, if any (not owned)
  QVariantMap userInfo;
};

class NotificationCenter {
 public:
  using Handler = std::function<void(const Notification&)>;

  static NotificationCenter& defaultCenter();

  // Registers `handler` for `name` (empty name: every notification). The
  // handler runs in `observer`'s thread and is dropped when the observer dies.
  void addObserver(QObject* observer, const QString& name, Handler handler);
  void removeObserver(QObject* observer);

  // Safe from any thread.
  void post(const QString& name, const void* object = nullptr, const QVariantMap& userInfo = {});

 private:
  struct Entry {
    QPointer<QObject> observer;
    const QObject* key;
    QString name;
    Handler handler;
  };
  std::mutex m_mutex;
  std::vector<Entry> m_entries;
};
