// A folder that belongs to this process alone: made new by mkdtemp (mode
// 0700) in a parent that no other user can tamper with, locked (flock on the
// folder) for as long as the object lives, and removed with everything in it
// when the object dies. The lock lets a later run tell a folder in use from
// the leftover of a run that was killed (removeLeftovers()); it is released by
// the kernel however the process ends, so a reused pid cannot fool it.
#pragma once

#include <sys/types.h>

#include <QString>
#include <memory>

class PrivateFolder {
 public:
  // Makes <parent>/<prefix><pid>-XXXXXX. With `makeParent`, a missing parent is
  // made first (mode 0700). Returns null, with the reason in `error`, when the
  // parent is not safe (unsafeParentReason()) or the folder cannot be made.
  static std::unique_ptr<PrivateFolder> create(const QString& parent, const QString& prefix, QString* error = nullptr,
                                               bool makeParent = false);
  // Removes the folder, unless something else stands at its path by now.
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const QString& path() const { return m_path; }
  // The open folder (O_DIRECTORY), for openat() and friends.
  int fd() const { return m_fd; }
  // True while the folder made here still stands at path(): false once it was
  // removed or replaced behind this object's back.
  bool isIntact() const;

  // Why `folder` may not hold private folders, or "" when it may: it must be
  // a folder owned by this user or by root, and writable by nobody else unless
  // it is sticky (as /tmp is), where others cannot rename or remove our entries.
  static QString unsafeParentReason(const QString& folder);
  // The same rule for a folder already looked at: why other users may rename,
  // replace or remove its entries, or "". Write permission for the folder's
  // group does not count when the group is this user's own private group (the
  // user's name, no other members: the umask 002 of such systems).
  static QString othersMayChangeReason(uid_t owner, gid_t group, mode_t mode);

  // Removes the folders <parent>/<prefix>* that belong to this user and that
  // no running process holds (their program was killed). Links, other users'
  // folders and folders whose lock cannot be tested are left alone. Returns
  // how many were removed.
  static int removeLeftovers(const QString& parent, const QString& prefix);

 private:
  PrivateFolder(QString path, int fd) : m_path(std::move(path)), m_fd(fd) {}

  QString m_path;
  int m_fd = -1;
};
