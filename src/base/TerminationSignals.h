// Turns SIGINT (Ctrl-C), SIGTERM and SIGHUP into a Qt signal on the thread
// that made the object, so that a program ends in order: work folders and
// the preview removed, as when it quits by itself. The signal handler only
// writes a byte into a socket pair that a QSocketNotifier watches.
//
// A second signal while the first is handled means "now": terminationForced()
// lets the program remove its work folders, then the process ends by the first
// signal. Should that thread be too busy to hear it within kForcedExitSeconds,
// or a third signal come, the process ends at once (the next start sweeps what
// it left).
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  static constexpr unsigned kForcedExitSeconds = 2;

  // Installs the handlers; one object at a time, made after the application object.
  explicit TerminationSignals(QObject* parent = nullptr);
  // Restores the default actions.
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // The object in force, or null.
  static TerminationSignals* instance();
  // The first signal received, or 0. Safe from any thread.
  static int received();
  // After the program has cleaned up: ends the process by the signal it
  // received, with the default action, so that the shell or service manager
  // that started it sees how it ended. Returns when no signal was received.
  static void raiseReceived();

 Q_SIGNALS:
  // Once, for the first signal.
  void terminationRequested(int signalNumber);
  // Once, for the second signal, just before the process ends: remove work
  // files quickly, and leave everything else.
  void terminationForced(int signalNumber);

 private:
  void readSignal();

  bool m_requested = false;

  int m_fds[2] = {-1, -1};
  QSocketNotifier* m_notifier = nullptr;
};
