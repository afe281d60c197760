#include "session/BookBuilder.h"

#include "import/OperationQueue.h"

BookBuilder::BookBuilder(QObject* parent) : QObject(parent), m_queue(std::make_unique<OperationQueue>(1)) {}

BookBuilder::~BookBuilder() { cancelAndWait(); }

quint64 BookBuilder::request(BookBuildOperation::Work work) {
  // Builds write the same files: the old one stops before the new one starts
  // (the queue runs one at a time).
  m_queue->cancelAllOperations();
  const quint64 serial = ++m_serial;
  auto op = std::make_shared<BookBuildOperation>(std::move(work));
  m_latest = op;
  const std::weak_ptr<BookBuildOperation> weak = op;
  connect(
      op.get(), &BookBuildOperation::progress, this,
      [this, weak, serial](qsizetype done, qsizetype total) {
        if (weak.lock() == m_latest && m_latest) Q_EMIT progress(serial, done, total);
      },
      Qt::QueuedConnection);
  connect(
      op.get(), &Operation::finished, this,
      [this, weak, serial]() {
        const std::shared_ptr<BookBuildOperation> done = weak.lock();
        if (!done || done != m_latest) return;  // superseded
        m_latest.reset();
        PublishResult result = done->result();
        if (done->isCancelled()) result.cancelled = true;
        Q_EMIT finished(serial, result);
      },
      Qt::QueuedConnection);
  m_queue->addOperation(op);
  Q_EMIT started(serial);
  return serial;
}

void BookBuilder::cancel() {
  if (m_latest) m_latest->cancel();
}

void BookBuilder::cancelAndWait() {
  m_latest.reset();
  m_queue->cancelAllOperations();
  m_queue->waitUntilAllOperationsAreFinished();
}
