#include "base/TerminationSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>

#include "base/Log.h"

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler, read by everyone: plain atomics of int size are
// lock-free and safe in a handler.
std::atomic<int> gWriteFd{-1};
std::atomic<int> gReceived{0};
std::atomic<int> gForced{0};
TerminationSignals* gInstance = nullptr;

void endNow(int sig) {
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

// The forced exit was not done in time: end by the signal that asked for it.
extern "C" void onForcedExitTimeout(int) { endNow(gReceived.load()); }

void wake(int fd, int sig) {
  const char byte = static_cast<char>(sig);
  [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
}

extern "C" void onTerminationSignal(int sig) {
  const int savedErrno = errno;
  const int fd = gWriteFd.load();
  int first = 0;
  int second = 0;
  if (gReceived.compare_exchange_strong(first, sig)) {
    if (fd >= 0) wake(fd, sig);
  } else if (fd >= 0 && gForced.compare_exchange_strong(second, sig)) {
    // Asked again while ending in order: the program removes its work files
    // and ends, or this ends it soon.
    ::signal(SIGALRM, onForcedExitTimeout);
    ::alarm(TerminationSignals::kForcedExitSeconds);
    wake(fd, sig);
  } else {
    endNow(first);
  }
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds) != 0) {
    qCWarning(lcApp) << "signals cannot be watched: no socket pair";
    return;
  }
  m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
  gWriteFd.store(m_fds[0]);
  gInstance = this;
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int sig : kSignals) ::sigaction(sig, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (const int sig : kSignals) ::signal(sig, SIG_DFL);
  ::alarm(0);
  if (gInstance == this) gInstance = nullptr;
  gWriteFd.store(-1);
  for (int& fd : m_fds) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

TerminationSignals* TerminationSignals::instance() { return gInstance; }

int TerminationSignals::received() { return gReceived.load(); }

void TerminationSignals::raiseReceived() {
  const int sig = received();
  if (sig == 0) return;
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void TerminationSignals::readSignal() {
  char byte = 0;
  bool got = false;
  while (::read(m_fds[1], &byte, 1) == 1) got = true;
  if (!got) return;
  const int sig = received();
  if (!m_requested) {
    m_requested = true;
    qCInfo(lcApp) << "ending on signal" << sig;
    Q_EMIT terminationRequested(sig);
  }
  if (gForced.load() != 0) {
    qCInfo(lcApp) << "ending at once on a second signal";
    Q_EMIT terminationForced(sig);
    raiseReceived();
  }
}
