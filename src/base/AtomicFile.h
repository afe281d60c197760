// Replaces a file as a whole, or not at all.
//
// The bytes go to a temporary file beside the target (same folder, so the
// final rename is atomic). Every write is checked as it happens: nothing is
// buffered, so a full disk or a file-size limit shows at the write that hit
// it, not in a flush that nobody looks at. commit() then optionally syncs,
// closes (NFS reports some errors only there) and renames over the target.
// After any failure the target is left as it was, the temporary file is
// removed, and errorString() holds the system's reason ("No space left on
// device"). A symbolic link at the target is replaced, never followed.
//
// A new file gets the permissions of any new file (0666 less the umask); a
// replaced one keeps its own.
//
// It is a QIODevice, so writers that stream (QPdfWriter) can use it too.
// Not for use from two threads at once.
#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>

class AtomicFile : public QIODevice {
 public:
  // Sync::Yes flushes the file and its folder to the disk before and after the
  // rename: for files whose loss after a power cut costs the user something.
  enum class Sync { No, Yes };

  explicit AtomicFile(const QString& target, Sync sync = Sync::No);
  ~AtomicFile() override;  // an uncommitted file is discarded

  // Creates the temporary file; only WriteOnly is supported.
  bool open(OpenMode mode = QIODevice::WriteOnly) override;
  // Puts the file in place. False, with the reason, when any write failed or
  // the file could not be synced, closed or renamed; the target is then untouched.
  bool commit();
  // Drops what was written; the target stays as it was.
  void cancelWriting();
  // Closing without commit() drops the file, as cancelWriting() does.
  void close() override { discard(); }

  bool isSequential() const override { return true; }
  const QString& target() const { return m_target; }

  // Writes `bytes` to `target` atomically. On failure `error` (when given)
  // gets the reason and the target is untouched.
  static bool writeFile(const QString& target, QByteArrayView bytes, QString* error = nullptr, Sync sync = Sync::No);

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  void fail(int error);
  void discard();

  QString m_target;
  QString m_temp;
  Sync m_sync;
  int m_fd = -1;
  int m_errno = 0;
};
