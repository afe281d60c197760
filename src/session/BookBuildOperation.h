// Writes one book (the preview or a publish) as an Operation, so it runs on an
// OperationQueue's worker thread and can be cancelled between two pages.
#pragma once

#include <functional>

#include "import/Operation.h"
#include "session/BookSession.h"

class BookBuildOperation : public Operation {
  Q_OBJECT
 public:
  // The work gets a progress function to hand to the publisher.
  using Work = std::function<PublishResult(const FlashBookOutput::Progress& progress)>;

  explicit BookBuildOperation(Work work, QObject* parent = nullptr);

  void main() override;
  // Read after the operation has finished. A cancelled build has `cancelled` set.
  const PublishResult& result() const { return m_result; }

 Q_SIGNALS:
  // Emitted on the worker thread after each page.
  void progress(qsizetype done, qsizetype total);

 private:
  Work m_work;
  PublishResult m_result;
};
