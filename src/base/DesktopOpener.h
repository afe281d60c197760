// Opens a file or folder in the user's own programs (xdg-open) and tells
// whether that failed. Qt's own opening reports success as soon as xdg-open
// starts, so a book that no browser shows looked opened. Here xdg-open is
// watched: ending with an error (no program for that kind of file, the program
// would not start), or missing, is a failure; still running after the
// patience (it waits for the program it started) or ending well is success.
// Nothing is waited for on the caller's thread.
#pragma once

#include <QObject>
#include <QString>

class QProcess;

class DesktopOpener : public QObject {
  Q_OBJECT
 public:
  static constexpr int kPatienceMs = 8000;

  // Starts opening `path`. Exactly one of opened() and failed() follows, after
  // which the opener deletes itself.
  static DesktopOpener* open(const QString& path, QObject* parent = nullptr, int patienceMs = kPatienceMs);

 Q_SIGNALS:
  void opened();
  // `reason` is a sentence that says why, to show the user.
  void failed(const QString& reason);

 private:
  DesktopOpener(QObject* parent, int patienceMs);
  void start(const QString& path);
  void finish(bool ok, const QString& reason = QString());

  QProcess* m_process = nullptr;
  int m_patienceMs;
  bool m_done = false;
};
