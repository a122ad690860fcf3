#include "platform/ProgramPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "base/Text.h"
#include "platform/FileSystem.h"

namespace kobalto::platform {

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder()
{
    std::string home = Env("HOME");
    if (home.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            home = pw->pw_dir;
    return home;
}

}  // namespace

std::string ProgramPath()
{
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string PathWithoutExtension(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart)
        return path;
    return path.substr(0, dot);
}

std::string SettingsFilePathFrom(const std::string& programPath, bool programFolderWritable,
                                 const std::string& configHome, const std::string& home)
{
    if (!programPath.empty() && programFolderWritable)
        return PathWithoutExtension(programPath) + ".ini";
    // XDG's base-directory rules say a relative value is to be ignored.
    std::string base = !configHome.empty() && configHome.front() == '/' ? configHome : home + "/.config";
    return base + "/kobalto/kobalto.ini";
}

std::string SettingsFilePath()
{
    const std::string program = ProgramPath();
    const std::string folder = FolderPart(program);
    const bool writable = !program.empty() && ::access(folder.empty() ? "/" : folder.c_str(), W_OK) == 0;
    return SettingsFilePathFrom(program, writable, Env("XDG_CONFIG_HOME"), HomeFolder());
}

std::string SettingsFileToRead(const std::string& writeFile, const std::string& programPath)
{
    if (FileExists(writeFile) || programPath.empty())
        return writeFile;
    const std::string beside = PathWithoutExtension(programPath) + ".ini";
    return FileExists(beside) ? beside : writeFile;
}

}  // namespace kobalto::platform
