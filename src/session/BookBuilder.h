// Builds books on a worker thread, one at a time, and reports on the thread
// that owns the builder. A newer request supersedes the one under way: that
// one is cancelled at its next page and neither its progress nor its result is
// reported any more. The work must not touch what the main thread changes:
// hand it a BookContent taken on the main thread (BookSession::snapshot()).
#pragma once

#include <QObject>
#include <memory>

#include "session/BookBuildOperation.h"

class OperationQueue;

class BookBuilder : public QObject {
  Q_OBJECT
 public:
  explicit BookBuilder(QObject* parent = nullptr);
  // Cancels and waits for the build under way.
  ~BookBuilder() override;

  // Starts `work` once the build under way (cancelled now) has stopped.
  // Returns the request's number, counted from 1.
  quint64 request(BookBuildOperation::Work work);
  // Cancels the newest request; finished() then reports it as cancelled.
  void cancel();
  // Cancels everything and waits until no work runs; nothing more is reported.
  void cancelAndWait();
  bool isBuilding() const { return m_latest != nullptr; }

 Q_SIGNALS:
  void started(quint64 request);
  // Pages written of the newest request.
  void progress(quint64 request, qsizetype done, qsizetype total);
  // The newest request has ended (result.cancelled when it was cancelled).
  void finished(quint64 request, const PublishResult& result);

 private:
  std::unique_ptr<OperationQueue> m_queue;
  std::shared_ptr<BookBuildOperation> m_latest;
  quint64 m_serial = 0;
};
