#include "base/SafeFileWriter.h"

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

mode_t DefaultFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write)
{
    std::string pattern = FolderOf(path) + "/.kobalto-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0)
        throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
    std::string temp(name.data());
    // mkstemp makes the file private; give it the mode a new file would get.
    fchmod(fd, DefaultFileMode());
    try {
        TFileStream stream(fd, temp);
        write(stream);
        stream.Close();
        if (std::rename(temp.c_str(), path.c_str()) != 0)
            throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

}  // namespace kobalto
