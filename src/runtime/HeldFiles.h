#pragma once
#include <QString>

#include <functional>

namespace runtime {

// The files of a run that carry the record (the temporary document, the page image) are held
// under an exclusive flock from when they are written until they are deleted. Another copy of
// the program can then tell them from the ones a run that was killed left behind: nobody holds
// those.

// Takes the hold on the regular file now at `path`, opened without following a link, or on
// `fd` when given (a descriptor of that file, which the hold then owns and closes on failure).
// A path held before moves to the file now there. Throws AppError when the file is missing, not
// a regular file, held by another process, or no longer at the path once held. Where the file
// system has no locks the file is still remembered, so that it is deleted with the others.
void holdFile(const QString &path, int fd = -1);

// Lets go of the path's hold, if it has one; the file stays. deleteFileQuietly does this.
void releaseFile(const QString &path);

// Deletes every held file that is still at its path and lets go of it: the end of a run that no
// window's close handler saw.
void deleteHeldFiles();

// Deletes the regular files of this user in `folder` whose names `matches` accepts and which no
// process holds. Links, folders and other users' files stay; a file that cannot be opened,
// locked or removed is left as it is. Returns how many were deleted.
int removeUnheldFiles(const QString &folder, const std::function<bool(const QString &name)> &matches);

} // namespace runtime
