#pragma once
// Writes a file so that it is either complete or not there at all: the
// content goes to a temporary file in the target's folder, which replaces the
// target only after the whole write succeeded. A failed write leaves any
// existing file untouched and no temporary behind.
#include <sys/types.h>

#include <functional>
#include <string>

#include "base/TStream.h"

namespace kobalto {

// The mode a new file gets under the process's umask, read once as the
// program starts, before any thread could create a file.
mode_t DefaultFileMode();

// A path that is a folder, or a link naming nothing, raises EFCreateError
// with the path; a link to a file is followed, so the link stays and the
// file it names is replaced. A failed write or sync raises EWriteError
// naming the path and the system's reason; the writer's own exceptions pass
// as they are.
void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write);

// The mkstemp/mkdtemp pattern of a temporary in folder, a name that
// RemoveStaleTemporaries recognises.
std::string TemporaryPattern(const std::string& folder);

// Removes what a run killed in the middle of a write left in folder: regular
// files named like the temporaries above (".kobalto-" and six letters or
// digits), owned by this user, unchanged for at least maxAge seconds and
// not locked by a writer still at work; and folders named and owned alike,
// unlocked and as old, that hold only regular files (the finished outputs
// a run of several threads keeps before it places them). Nothing else is
// touched; errors are ignored. Returns how many went.
int RemoveStaleTemporaries(const std::string& folder, int maxAgeSeconds = 60);

// While one lives, writes on this thread do not sync the folder after their
// rename: for files that are renamed once more, into a folder their owner
// syncs itself. The file's own data is still synced before the rename.
class ScopedFolderSyncByCaller {
public:
    ScopedFolderSyncByCaller();
    ~ScopedFolderSyncByCaller();
    ScopedFolderSyncByCaller(const ScopedFolderSyncByCaller&) = delete;
    ScopedFolderSyncByCaller& operator=(const ScopedFolderSyncByCaller&) = delete;

private:
    bool previous_;
};

// Makes the renames in folder survive a power loss. Best effort: some file
// systems refuse to sync a folder.
void SyncFolder(const std::string& folder);

}  // namespace kobalto
