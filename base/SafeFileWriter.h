#pragma once
// Writes a file so that it is either complete or not there at all: the
// content goes to a temporary file in the target's folder, which replaces the
// target only after the whole write succeeded. A failed write leaves any
// existing file untouched.
#include <sys/types.h>

#include <functional>
#include <string>

#include "base/TStream.h"

namespace kobalto {

// The mode a new file gets under the process's umask. The first call reads
// the umask; make it before starting threads that create files.
mode_t DefaultFileMode();

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write);

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
