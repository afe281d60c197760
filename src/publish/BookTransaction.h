// Publishing as one transaction: a book folder holds the old book or the new
// one, whenever the publishing process is killed, and two publishes into one
// folder never mix.
//
// The new book is written into a staging folder, ".folivox-staging-XXXXXX",
// made (mode 0700) inside the folder that holds the book's entries, so that
// every rename stays on one file system. Only when every file is written does
// commit() swap the staged entries into place; whatever they replace ends up
// in the staging folder, which is then removed. So a republish leaves nothing
// of the earlier book behind (pages of a longer book included).
//
// Why entries and not the whole folder: a web book lives in a folder the user
// chose, beside files of their own, so its entries (NAME.html, files/,
// book.swf) are swapped one by one. A bundle is one entry, NAME.app, in its
// parent folder. Each swap is a single rename: renameat2(RENAME_EXCHANGE) when
// the entry exists, so its path never goes missing; where the file system
// refuses an exchange, a file is renamed over the old one and a folder takes
// two renames with a moment between them. files/, which holds book.bin and
// every page, goes first: from then on the content is the new book's, and for
// the moment until the page is swapped too, the previous page (same player)
// plays it.
//
// The folder and the staging folder are held open, and every step goes
// through those descriptors: the swaps (renameat2 between the two), the
// removal of what was swapped out (openat/unlinkat, never following a link,
// see TreeRemoval.h), and the writing itself: stagingFolder() is a path the
// kernel resolves through the open staging folder (/proc/self/fd/N), so the
// many writers of a book (atomic files, copies, the HTML page) need no
// descriptors of their own, and renaming the staging folder cannot send them
// elsewhere. Before the swaps, the folder and the staging folder must still
// stand where they were made; otherwise nothing is swapped. Where /proc is
// not mounted, the staging folder's own path is used, except in a folder that
// other users may change, which is refused then.
//
// A folder that other users may change (writable by them without the sticky
// bit, or theirs) is refused unless allowed (setSharedFolderAllowed()): they
// could swap the book's files, or plant a files/ that passes for a book's.
//
// Before the first swap the staging folder gets a list of the entries and their
// inode numbers, synced to the disk. A publish killed during the swaps leaves
// that list behind, and the next transaction in the folder, or any command
// that opens the folder (finishInterrupted()), finishes those swaps before
// anything else (an entry whose inode is in place is done), so a half-swapped
// book does not last. A staging folder without the list is what a publish
// killed before it was complete left; it is removed. Staging folders of other
// users are left alone.
//
// With syncing on (the default) and an earlier book to replace, the staged
// files are flushed to the disk (syncfs) before the list is written, so that a
// power cut after the swap cannot leave a new book with empty pages where the
// old one was. A first publish into a folder has nothing to lose and skips it.
//
// A lock (an open-file-description lock on ".folivox-publish.lock" in the
// folder, removed again at the end) keeps two publishes apart: the second one
// fails at once, with a message that says why. It can be tested without
// taking it (folderProblem()).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class BookTransaction {
 public:
  static inline const QString kLockName = QStringLiteral(".folivox-publish.lock");
  static inline const QString kStagingPrefix = QStringLiteral(".folivox-staging-");
  static inline const QString kSwapListName = QStringLiteral(".folivox-swap-list");

  // `folder` holds the book's entries; it must exist.
  explicit BookTransaction(const QString& folder, bool syncToDisk = true);
  ~BookTransaction();  // an uncommitted staging folder is removed; the lock is released
  BookTransaction(const BookTransaction&) = delete;
  BookTransaction& operator=(const BookTransaction&) = delete;

  // Publish into a folder that other users may change (they said so).
  void setSharedFolderAllowed(bool allowed) { m_sharedAllowed = allowed; }

  // Takes the lock, finishes or removes what killed publishes left, and makes
  // the staging folder. False, with error(), when any of that fails;
  // refusedSharedFolder() tells when it was only the folder's permissions.
  bool begin();
  // The folder to write the new entries into (absolute); "" before begin().
  const QString& stagingFolder() const { return m_staging; }
  // `text` with the paths inside the staging folder named as they will be
  // once in place (for messages: the staging folder is gone by then).
  QString finalPaths(QString text) const;
  // Swaps the entries of the staging folder named in `entries` into place, in
  // that order; names missing from the staging folder are left alone. False,
  // with error(), when a swap failed; entries swapped before stay swapped.
  bool commit(const QStringList& entries);
  const QString& error() const { return m_error; }
  bool refusedSharedFolder() const { return m_refusedShared; }

  // Why a publish into `folder` would fail now, or "": it is not a folder, it
  // cannot be made or written (no permission, a read-only file system), other
  // users may change it (unless `sharedAllowed`), another publish holds it.
  // For callers that have long work to do before publishing. `shared` (when
  // given) is set when the folder's permissions were the only problem.
  static QString folderProblem(const QString& folder, bool sharedAllowed, bool* shared = nullptr);
  // Finishes the swaps of a publish that was killed in `folder` and removes
  // what such publishes left (its staging folder, its lock file), unless a
  // publish is under way there. Quiet: failures are logged. For commands
  // that open a book folder.
  static void finishInterrupted(const QString& folder);

  // Tests: behave as on a file system without RENAME_EXCHANGE.
  static void setExchangeAllowed(bool allowed);

 private:
  bool openFolder();
  QString sharedFolderReason() const;
  bool lock();
  void unlock();
  void recoverLeftovers();
  bool makeStaging();
  bool stillInPlace();
  void removeStaging();

  QString m_folder;
  bool m_sync;
  bool m_sharedAllowed = false;
  int m_folderFd = -1;
  int m_lockFd = -1;
  int m_stagingFd = -1;
  QByteArray m_stagingName;  // its name in the folder
  QString m_staging;         // the path writers use
  QString m_error;
  bool m_refusedShared = false;
  bool m_committed = false;
};
