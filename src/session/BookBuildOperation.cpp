#include "session/BookBuildOperation.h"

BookBuildOperation::BookBuildOperation(Work work, QObject* parent) : Operation(parent), m_work(std::move(work)) {}

void BookBuildOperation::main() {
  m_result = m_work([this](qsizetype done, qsizetype total) {
    Q_EMIT progress(done, total);
    return !isCancelled();
  });
  if (isCancelled()) m_result.cancelled = true;
}
