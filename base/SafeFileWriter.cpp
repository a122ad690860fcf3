#include "base/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>
#include <vector>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/TFileStream.h"

namespace kobalto {

namespace {

constexpr std::string_view kTempPrefix = ".kobalto-";
constexpr size_t kTempRandomChars = 6;  // mkstemp's XXXXXX

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The process's file mode mask. /proc gives it without changing it; the
// fallback sets it and back, which is safe only because it runs while the
// program starts, before any thread that could create a file meanwhile.
mode_t ReadUmask()
{
    if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found)
            return static_cast<mode_t>(mask & 0777);
    }
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

const mode_t kUmask = ReadUmask();

[[noreturn]] void CannotCreate(const std::string& path)
{
    throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
}

// The file to replace: a link's file, so the link stays. A folder, or a link
// naming nothing, cannot become the output.
std::string ReplacedFile(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return path;  // a new file; a missing folder shows when the temporary is made
    if (S_ISDIR(st.st_mode))
        CannotCreate(path);
    if (!S_ISLNK(st.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        CannotCreate(path);
    const std::string target(real);
    std::free(real);
    if (::stat(target.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        CannotCreate(path);
    return target;
}

thread_local bool folderSyncByCaller = false;

bool IsTemporaryName(std::string_view name)
{
    if (name.size() != kTempPrefix.size() + kTempRandomChars || name.substr(0, kTempPrefix.size()) != kTempPrefix)
        return false;
    for (char c : name.substr(kTempPrefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

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

mode_t DefaultFileMode() { return 0666 & ~kUmask; }

std::string TemporaryPattern(const std::string& folder)
{
    return folder + "/" + std::string(kTempPrefix) + std::string(kTempRandomChars, 'X');
}

ScopedFolderSyncByCaller::ScopedFolderSyncByCaller() : previous_(folderSyncByCaller)
{
    folderSyncByCaller = true;
}

ScopedFolderSyncByCaller::~ScopedFolderSyncByCaller() { folderSyncByCaller = previous_; }

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write)
{
    const std::string target = ReplacedFile(path);
    const std::string folder = FolderOf(target);
    std::string pattern = TemporaryPattern(folder);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0)
        CannotCreate(path);
    const std::string temp(name.data());
    try {
        // Held while the temporary is written, so that a later start never
        // takes it for one a killed run left behind.
        ::flock(fd, LOCK_EX | LOCK_NB);
        // mkstemp makes the file private; give it the mode a new file would get.
        if (fchmod(fd, DefaultFileMode()) != 0) {
            ::close(fd);
            CannotCreate(path);
        }
        TFileStream stream(fd, temp);
        try {
            write(stream);
            // On the device before it replaces anything: a power loss after
            // the rename must not leave an empty file under the output's name.
            stream.Sync();
            stream.Close();
        } catch (const EWriteError&) {
            const int error = stream.LastError();
            throw EWriteError(error ? msg::Format(msg::kCannotWriteFileBecause, {path, std::strerror(error)})
                                    : msg::Format(msg::kCannotWriteFile, {path}));
        }
        if (std::rename(temp.c_str(), target.c_str()) != 0)
            CannotCreate(path);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    if (!folderSyncByCaller)
        SyncFolder(folder);
}

namespace {

// Opens the entry and takes its lock if no one holds it, checking that it is
// still the entry looked at. Returns the descriptor, or -1.
int LockIfUnused(int dirFd, const char* name, const struct stat& seen, int kind)
{
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | kind);
    if (fd < 0)
        return -1;
    struct stat opened;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &opened) != 0 || opened.st_ino != seen.st_ino ||
        opened.st_dev != seen.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A staging folder of a killed run of several threads: its regular files,
// then itself. Anything else inside means it is not ours, and it stays.
bool RemoveStagingFolder(int parentFd, const char* name, int fd)
{
    DIR* inner = ::fdopendir(::dup(fd));
    if (!inner)
        return false;
    std::vector<std::string> files;
    bool onlyFiles = true;
    const int innerFd = ::dirfd(inner);
    while (const dirent* entry = ::readdir(inner)) {
        const std::string_view n = entry->d_name;
        if (n == "." || n == "..")
            continue;
        struct stat st;
        if (::fstatat(innerFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
            onlyFiles = false;
            break;
        }
        files.emplace_back(n);
    }
    if (onlyFiles)
        for (const std::string& f : files)
            ::unlinkat(innerFd, f.c_str(), 0);
    ::closedir(inner);
    return onlyFiles && ::unlinkat(parentFd, name, AT_REMOVEDIR) == 0;
}

}  // namespace

int RemoveStaleTemporaries(const std::string& folder, int maxAgeSeconds)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    const int dirFd = ::dirfd(dir);
    const uid_t me = ::geteuid();
    const time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name))
            continue;
        struct stat st;
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || st.st_uid != me ||
            now - st.st_mtime < maxAgeSeconds || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
            continue;
        // A writer at work holds its lock; a killed one's went with it.
        const bool isFolder = S_ISDIR(st.st_mode);
        const int fd = LockIfUnused(dirFd, entry->d_name, st, isFolder ? O_DIRECTORY : 0);
        if (fd < 0)
            continue;
        if (isFolder ? RemoveStagingFolder(dirFd, entry->d_name, fd) : ::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

}  // namespace kobalto
