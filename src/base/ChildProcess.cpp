#include "base/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

// A child's output is a line or two; a runaway one is cut, not hoarded.
constexpr qsizetype kMaxOutput = 1 << 20;
constexpr qsizetype kMaxLine = 64 * 1024;

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

ChildProcess::~ChildProcess() {
  if (running()) {
    signalGroup(SIGKILL);
    reap(true);
  }
  closeFd(m_outFd);
  closeFd(m_errFd);
}

bool ChildProcess::start(const QString& program, const QStringList& args, QString* error) {
  // Everything the child needs is made before fork(): between fork() and exec
  // only async-signal-safe calls are allowed, and we have threads.
  std::vector<QByteArray> words{QFile::encodeName(program)};
  for (const QString& a : args) words.push_back(QFile::encodeName(a));
  std::vector<char*> argv;
  for (QByteArray& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  int out[2] = {-1, -1};
  int err[2] = {-1, -1};
  const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (devNull < 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
    if (error)
      *error = QCoreApplication::translate("ChildProcess", "cannot start %1: %2")
                   .arg(program, QString::fromLocal8Bit(std::strerror(errno)));
    for (int fd : {devNull, out[0], out[1], err[0], err[1]})
      if (fd >= 0) ::close(fd);
    return false;
  }
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(127);  // we died before the line above
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD}) ::sigaction(sig, &byDefault, nullptr);
    if (::dup2(devNull, 0) < 0 || ::dup2(out[1], 1) < 0 || ::dup2(err[1], 2) < 0) ::_exit(127);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  const int forkErrno = errno;
  ::close(devNull);
  ::close(out[1]);
  ::close(err[1]);
  if (pid < 0) {
    ::close(out[0]);
    ::close(err[0]);
    if (error)
      *error = QCoreApplication::translate("ChildProcess", "cannot start %1: %2")
                   .arg(program, QString::fromLocal8Bit(std::strerror(forkErrno)));
    return false;
  }
  ::setpgid(pid, pid);  // as the child does: whichever runs first, the group exists before we signal it
  m_pid = pid;
  m_outFd = out[0];
  m_errFd = err[0];
  for (const int fd : {m_outFd, m_errFd}) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  return true;
}

void ChildProcess::readPipe(int& fd, QByteArray& into) {
  char buffer[16384];
  while (fd >= 0) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      if (into.size() < kMaxOutput) into.append(buffer, static_cast<qsizetype>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n == 0 || errno != EAGAIN) closeFd(fd);  // end of stream, or broken
      return;
    }
  }
}

void ChildProcess::reap(bool block) {
  if (m_pid <= 0 || m_ended) return;
  int status = 0;
  rusage usage{};
  pid_t done = -1;
  do {
    done = ::wait4(m_pid, &status, block ? 0 : WNOHANG, &usage);
  } while (done < 0 && errno == EINTR);
  if (done != m_pid) return;
  m_ended = true;
  m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  m_signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  m_peakKb = usage.ru_maxrss;
  // What it started and left behind goes with it; the group id stays taken
  // (and cannot name another group) for as long as any member lives.
  ::kill(-m_pid, SIGKILL);
}

void ChildProcess::poll() {
  readPipe(m_outFd, m_out);
  readPipe(m_errFd, m_err);
  reap(false);
  if (m_ended) {
    // Whatever it wrote before it ended is in the pipes by now.
    readPipe(m_outFd, m_out);
    readPipe(m_errFd, m_err);
    closeFd(m_outFd);
    closeFd(m_errFd);
  }
}

void ChildProcess::signalGroup(int sig) const {
  if (running()) ::kill(-m_pid, sig);
}

QList<QByteArray> ChildProcess::takeErrorLines() {
  QList<QByteArray> lines;
  qsizetype start = 0;
  for (;;) {
    const qsizetype end = m_err.indexOf('\n', start);
    if (end < 0) break;
    lines << m_err.mid(start, end - start);
    start = end + 1;
  }
  m_err.remove(0, start);
  if ((m_ended && !m_err.isEmpty()) || m_err.size() >= kMaxLine) {
    lines << m_err;
    m_err.clear();
  }
  return lines;
}

void ChildProcess::wait(const std::vector<ChildProcess*>& children, int timeoutMs) {
  std::vector<pollfd> fds;
  for (const ChildProcess* c : children)
    for (const int fd : {c->m_outFd, c->m_errFd})
      if (fd >= 0) fds.push_back(pollfd{fd, POLLIN, 0});
  // An ending child is noticed by the time out; a signal ends the wait early.
  ::poll(fds.data(), fds.size(), timeoutMs);
}
