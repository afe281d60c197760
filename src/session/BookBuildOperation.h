// Writes one book (the preview or a publish) as an Operation, so it runs on an
// OperationQueue's worker thread, behind the window, and can be cancelled
// between two pages.
#pragma once

#include <functional>

#include "import/Operation.h"
#include "session/BookSession.h"

class BookBuildOperation : public Operation {
  Q_OBJECT
 public:
  // The work gets a progress function to hand to the publisher.
  using Work = std::function<PublishResult(const FlashBookOutput::Progress& progress)>;
  static constexpr int kProgressIntervalMs = 200;
  // The worker's niceness: the window's thread, and the drawing of the window,
  // go first.
  static constexpr int kNice = 10;

  explicit BookBuildOperation(Work work, QObject* parent = nullptr);

  void main() override;
  // Read after the operation has finished. A cancelled build has `cancelled` set.
  const PublishResult& result() const { return m_result; }

 Q_SIGNALS:
  // Emitted on the worker thread after the first page, then at most every
  // kProgressIntervalMs and after the last one: each report costs the window
  // a repaint, and a report for each of thousands of pages kept it from
  // answering for half a minute.
  void progress(qsizetype done, qsizetype total);

 private:
  Work m_work;
  PublishResult m_result;
};
