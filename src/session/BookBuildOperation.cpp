#include "session/BookBuildOperation.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QElapsedTimer>

BookBuildOperation::BookBuildOperation(Work work, QObject* parent) : Operation(parent), m_work(std::move(work)) {}

void BookBuildOperation::main() {
  // Only this thread (Linux takes the niceness per thread); the pool's
  // threads do nothing else.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kNice);
  QElapsedTimer sinceReport;
  m_result = m_work([this, &sinceReport](qsizetype done, qsizetype total) {
    if (!sinceReport.isValid() || done >= total || sinceReport.elapsed() >= kProgressIntervalMs) {
      sinceReport.start();
      Q_EMIT progress(done, total);
    }
    return !isCancelled();
  });
  if (isCancelled()) m_result.cancelled = true;
}
