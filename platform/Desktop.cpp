#include "platform/Desktop.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/FileSystem.h"

namespace kobalto::platform {

namespace {

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "";
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of XDG_DESKTOP_DIR in a user-dirs.dirs text: a quoted path in
// which $HOME stands for the home folder. Empty when absent.
std::string DesktopEntry(const std::string& home, const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    std::string found;
    while (std::getline(lines, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        const std::string key = "XDG_DESKTOP_DIR=";
        if (line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        found = value;
    }
    // A desktop entry of "$HOME/" alone means "no desktop": use the home folder.
    while (found.size() > 1 && found.back() == '/')
        found.pop_back();
    return found;
}

}  // namespace

std::string DesktopFolderFrom(const std::string& home, const std::string& userDirsText)
{
    std::string entry = DesktopEntry(home, userDirsText);
    if (!entry.empty() && entry.front() == '/')
        return entry;
    if (home.empty())
        return "";
    if (DirectoryExists(home + "/Desktop"))
        return home + "/Desktop";
    return home;
}

std::string DesktopFolder()
{
    std::string home = HomeFolder();
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (!home.empty())
        config = home + "/.config";
    std::string text = config.empty() ? "" : ReadText(config + "/user-dirs.dirs");
    return DesktopFolderFrom(home, text);
}

}  // namespace kobalto::platform
