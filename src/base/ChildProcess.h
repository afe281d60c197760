// A program run as a child process that can be stopped whatever it is doing:
// it runs in a process group of its own, so a signal reaches it and anything
// it started, and a terminal's Ctrl-C reaches only us (we pass it on, once).
// If we die first, the kernel sends it SIGTERM. Its standard input is
// /dev/null; its output and error streams are collected through pipes.
//
// Driven without an event loop: wait() polls any number of children at once.
// Not for use from two threads at once.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class ChildProcess {
 public:
  ChildProcess() = default;
  // A child still running is killed (SIGKILL to its group) and reaped.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` with `args`. False, with the reason, when no process
  // could be made; a program that cannot be run ends with exit code 127.
  bool start(const QString& program, const QStringList& args, QString* error);

  // Reads what the child wrote and reaps it once it has ended. Call after wait().
  void poll();
  bool running() const { return m_pid > 0 && !m_ended; }
  pid_t pid() const { return m_pid; }

  // Sends `sig` to the child's process group; nothing once it has ended.
  void signalGroup(int sig) const;

  // Everything the child wrote on its standard output so far.
  const QByteArray& output() const { return m_out; }
  // Whole lines written on the standard error since the last call (without
  // their line ends; a last line without one once the child has ended).
  QList<QByteArray> takeErrorLines();

  // After the end: the exit code (or -1), the ending signal (or 0), and the
  // peak memory of the child and what it waited for, in kilobytes.
  int exitCode() const { return m_exitCode; }
  int exitSignal() const { return m_signal; }
  long peakMemoryKb() const { return m_peakKb; }

  // Waits at most `timeoutMs` until one of the children has something to read
  // or may have ended; returns early when a signal arrives.
  static void wait(const std::vector<ChildProcess*>& children, int timeoutMs);

 private:
  void readPipe(int& fd, QByteArray& into);
  void reap(bool block);

  pid_t m_pid = -1;
  int m_outFd = -1;
  int m_errFd = -1;
  QByteArray m_out;
  QByteArray m_err;
  bool m_ended = false;
  int m_exitCode = -1;
  int m_signal = 0;
  long m_peakKb = 0;
};
