#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "base/SafeFileWriter.h"
#include "base/TFileStream.h"

namespace kobalto::platform {

int64_t FileSize(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    return static_cast<int64_t>(st.st_size);
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

CopyResult CopyFileOverwrite(const std::string& source, const std::string& destination)
{
    if (!FileExists(source))
        return CopyResult::Failed;
    if (SameFile(source, destination))
        return CopyResult::SameFile;
    try {
        TFileStream in(source, TFileStream::Mode::OpenRead);
        WriteFileSafely(destination, [&in](TStream& out) {
            // Not cleared first: a small file touches only the pages it fills.
            constexpr size_t kPiece = size_t{1} << 20;
            const std::unique_ptr<char[]> buffer(new char[kPiece]);
            size_t n;
            while ((n = in.Read(buffer.get(), kPiece)) > 0)
                out.WriteBuffer(buffer.get(), n);
        });
    } catch (const std::exception&) {
        return CopyResult::Failed;
    }
    // The new file has the ordinary mode of a new file: readable and
    // writable by its owner, no set-id or sticky bits.
    return CopyResult::Copied;
}

bool MakeWritable(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    mode_t mode = (st.st_mode & 0777) | S_IWUSR | S_IRUSR;
    return ::chmod(path.c_str(), mode) == 0;
}

bool EnsureFolder(const std::string& path)
{
    if (path.empty())
        return false;
    if (DirectoryExists(path))
        return true;
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    if (slash != std::string::npos && slash > 0 && !EnsureFolder(trimmed.substr(0, slash)))
        return false;
    if (::mkdir(trimmed.c_str(), 0777) == 0)
        return true;
    return errno == EEXIST && DirectoryExists(trimmed);
}

}  // namespace kobalto::platform
