#include "base/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/TFileStream.h"

namespace kobalto {

namespace {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

thread_local bool folderSyncByCaller = false;

}  // namespace

// Makes a rename in folder survive a power loss. Best effort: some file
// systems refuse to sync a folder, and the file is complete and in place
// either way; at worst a power loss brings back the old file, never an
// empty one.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

ScopedFolderSyncByCaller::ScopedFolderSyncByCaller() : previous_(folderSyncByCaller)
{
    folderSyncByCaller = true;
}

ScopedFolderSyncByCaller::~ScopedFolderSyncByCaller() { folderSyncByCaller = previous_; }

mode_t DefaultFileMode()
{
    // umask can only be read by setting it, which would race with threads
    // creating files; the process never changes it, so one read serves.
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write)
{
    std::string pattern = FolderOf(path) + "/.kobalto-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0)
        throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
    const std::string temp(name.data());
    try {
        // mkstemp makes the file private; give it the mode a new file would get.
        if (fchmod(fd, DefaultFileMode()) != 0) {
            ::close(fd);
            throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
        }
        TFileStream stream(fd, temp);
        write(stream);
        // On the device before it replaces anything: a power loss after the
        // rename must not leave an empty file under the output's name.
        stream.Sync();
        stream.Close();
        if (std::rename(temp.c_str(), path.c_str()) != 0)
            throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    if (!folderSyncByCaller)
        SyncFolder(FolderOf(path));
}

}  // namespace kobalto
