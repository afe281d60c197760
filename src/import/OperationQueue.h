// Runs Operations on worker threads of its own QThreadPool.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <memory>
#include <mutex>
#include <vector>

#include "import/Operation.h"

class OperationQueue : public QObject {
  Q_OBJECT

 public:
  // At most `maxConcurrent` operations run at once; the others wait in order.
  explicit OperationQueue(int maxConcurrent = 1, QObject* parent = nullptr);
  // Cancels what is left and waits for running operations to end.
  ~OperationQueue() override;

  // The queue keeps the operation alive until it has finished.
  void addOperation(std::shared_ptr<Operation> op);
  // The operations added and not yet finished, in order of addition.
  std::vector<std::shared_ptr<Operation>> operations() const;
  int operationCount() const { return static_cast<int>(operations().size()); }
  void cancelAllOperations();
  void waitUntilAllOperationsAreFinished();

 private:
  QThreadPool m_pool;
  mutable std::mutex m_mutex;
  std::vector<std::shared_ptr<Operation>> m_operations;
};
