// Removes folder trees through descriptors. Each folder is opened from the
// one above it (openat with O_NOFOLLOW | O_DIRECTORY) and its entries are
// unlinked relative to it (unlinkat), so the removal never leaves the tree:
// a symbolic link in it is removed, never followed, and a folder that someone
// swaps for a link while the removal runs leads nowhere. A path-based removal
// (QDir::removeRecursively) can be steered that way into another user's files
// by whoever may write into the tree's folders.
#pragma once

#include <QByteArray>
#include <QString>

namespace TreeRemoval {

// Folders nested deeper than this are left in place (with an error): no book
// or work folder comes near it, and each level holds a descriptor.
inline constexpr int kMaxDepth = 64;

// Removes everything inside the open folder `folderFd`; the folder itself
// stays. False when something could not be removed, with the first reason in
// `error` (when given); the rest is removed all the same.
bool removeContents(int folderFd, QString* error = nullptr);

// Removes the entry `name` of the open folder `parentFd`: a folder with
// everything in it, or a file or link. An entry that is not there counts as
// removed. False, with the reason, when something stays.
bool removeEntry(int parentFd, const QByteArray& name, QString* error = nullptr);

}  // namespace TreeRemoval
