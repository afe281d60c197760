#include "import/OperationQueue.h"

#include <algorithm>

OperationQueue::OperationQueue(int maxConcurrent, QObject* parent) : QObject(parent) {
  m_pool.setMaxThreadCount(std::max(1, maxConcurrent));
}

OperationQueue::~OperationQueue() {
  cancelAllOperations();
  m_pool.waitForDone();
}

void OperationQueue::addOperation(std::shared_ptr<Operation> op) {
  if (!op) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_operations.push_back(op);
  }
  m_pool.start([this, op]() {
    op->start([this, &op] {
      std::lock_guard<std::mutex> lock(m_mutex);
      std::erase(m_operations, op);
    });
  });
}

std::vector<std::shared_ptr<Operation>> OperationQueue::operations() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_operations;
}

void OperationQueue::cancelAllOperations() {
  for (const std::shared_ptr<Operation>& op : operations()) op->cancel();
}

void OperationQueue::waitUntilAllOperationsAreFinished() { m_pool.waitForDone(); }
