// A unit of background work for an OperationQueue: main() runs once on a
// worker thread; cancel() may be called from any thread at any time.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

class Operation : public QObject {
  Q_OBJECT

 public:
  explicit Operation(QObject* parent = nullptr);
  ~Operation() override;

  // The work. Long operations test isCancelled() between their steps.
  virtual void main() = 0;
  // Marks the operation cancelled. An operation cancelled before it starts
  // never runs main(), but still finishes.
  virtual void cancel();

  bool isCancelled() const { return m_cancelled.load(std::memory_order_acquire); }
  bool isFinished() const { return m_finished.load(std::memory_order_acquire); }

  // Blocks until the operation has finished (for the command-line tool and tests).
  void waitForFinished() const;
  // Runs the operation on the calling thread: main() unless cancelled, then
  // finished. `whenFinished` runs after isFinished() turns true and before
  // finished() is emitted (the queue forgets the operation there).
  void start(const std::function<void()>& whenFinished = {});

 Q_SIGNALS:
  // Emitted on the worker thread once isFinished() is true; connect with a
  // queued (or automatic) connection to handle it on the receiver's thread.
  void finished();

 private:
  std::atomic<bool> m_cancelled{false};
  std::atomic<bool> m_executing{false};
  std::atomic<bool> m_finished{false};
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_finishedChanged;
  bool m_done = false;  // finished and handed back to the queue; guarded by m_mutex
};
