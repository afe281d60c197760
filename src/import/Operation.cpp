#include "import/Operation.h"

#include "base/Log.h"

Operation::Operation(QObject* parent) : QObject(parent) {}

Operation::~Operation() = default;

void Operation::cancel() { m_cancelled.store(true, std::memory_order_release); }

void Operation::waitForFinished() const {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_finishedChanged.wait(lock, [this] { return m_done; });
}

void Operation::start(const std::function<void()>& whenFinished) {
  if (isFinished() || m_executing.exchange(true)) return;  // used once
  if (!isCancelled()) {
    try {
      main();
    } catch (const std::exception& e) {
      qCCritical(lcImport) << "operation failed:" << e.what();
    }
  }
  m_executing.store(false, std::memory_order_release);
  m_finished.store(true, std::memory_order_release);
  if (whenFinished) whenFinished();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
  }
  m_finishedChanged.notify_all();
  Q_EMIT finished();
}
