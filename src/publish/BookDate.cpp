#include "publish/BookDate.h"

#include "base/Log.h"

QDateTime BookDate::date() {
  const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
  if (!epoch.isEmpty()) {
    bool ok = false;
    const qint64 seconds = epoch.toLongLong(&ok);
    if (ok && seconds >= 0) return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    qCWarning(lcPublish) << "SOURCE_DATE_EPOCH is not a number of seconds, ignored:" << epoch;
  }
  return QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::UTC);
}
