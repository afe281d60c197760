// One run of "folivox-cli batch": publishes the documents of a list, each into
// OUTDIR/<name>/, a few at once.
//
// Each document is published by a child "folivox-cli publish", so it gets
// exactly what publish gives for the same options, and a document that hangs
// (a MuPDF call that never returns), crashes or eats memory takes only its own
// process with it: --timeout and Ctrl-C end it with SIGTERM, then SIGKILL
// after a grace period. Publishing is all or nothing, so a killed document
// leaves its earlier book as it was; the batch then finishes or removes what
// the killed publish left in the folder. The render threads are shared out so
// that the documents running together use at most the cores available,
// unless --threads or a line's own --jobs says otherwise.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <deque>
#include <memory>
#include <vector>

#include "session/BatchList.h"

class ChildProcess;

struct BatchSettings {
  QString outDir;         // absolute; exists
  int jobs = 1;           // documents at once
  int threads = 0;        // render threads of each document; 0: the cores shared out
  int cores = 1;          // what "the cores" are
  qint64 timeoutMs = 0;   // per document; 0: none
  qint64 graceMs = 5000;  // from SIGTERM to SIGKILL
  int part = 0;           // run only part `part` (from 0) of `parts` slices of the list
  int parts = 1;
  bool skipDone = false;
  bool json = false;
  QString program;  // this folivox-cli
};

class BatchRun {
 public:
  BatchRun(BatchSettings settings, std::vector<BatchEntry> entries);
  ~BatchRun();
  BatchRun(const BatchRun&) = delete;
  BatchRun& operator=(const BatchRun&) = delete;

  // Runs until every document is done or a termination signal stops it.
  // 0 when every document was published or skipped, 1 when one failed.
  int exec();

 private:
  struct Document;
  enum class Status { Ok, Skipped, Failed, Timeout, Stopped };

  void start(Document& doc);
  void watch(Document& doc);
  void finish(Document& doc);
  void report(const Document& doc, Status status, const QString& error);
  void stopAll();
  int threadsFor(const Document& doc) const;

  BatchSettings m_settings;
  std::vector<std::unique_ptr<Document>> m_documents;
  std::deque<Document*> m_pending;
  std::vector<Document*> m_running;
  bool m_stopping = false;
  int m_counts[5] = {};
};
