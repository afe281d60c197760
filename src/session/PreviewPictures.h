// Page pictures in the preview book without copies: the preview is rebuilt on
// every Apply, and copying thousands of unchanged pictures each time cost as
// much disk as the import and most of the rebuild's time.
//
// A picture goes into the preview as, in this order of preference: a hard
// link to it (its work folder or picture folder is on the preview's file
// system); a clone that shares its blocks (reflink, on btrfs and XFS); a hard
// link to its copy in the preview folder's picture store, ".pictures/", made
// the first time the picture is asked for and shared by every later build.
// Only regular files are linked; the store's copies are read-only. Where none
// of that works (a file system without hard links), the picture is copied.
//
// One build at a time per preview folder (BookBuilder runs them in turn).
#pragma once

#include <QString>
#include <functional>

class PreviewPictures {
 public:
  static inline const QString kStoreName = QStringLiteral(".pictures");
  // Copies a file's bytes (the publisher's own copy, which reports failures).
  using Copy = std::function<bool(const QString& source, const QString& target)>;

  // Puts `source` at `target` (which must not exist yet) for the preview in
  // `previewFolder`, linked where it can, else through `copy`. False when the
  // picture is not there.
  static bool place(const QString& previewFolder, const QString& source, const QString& target, const Copy& copy);
  // Removes the store's copies that no book in the preview links any more
  // (after a rebuild replaced the old book). Returns how many.
  static int prune(const QString& previewFolder);
};
