#include "app/CommandLine.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace kobalto {

namespace {

// The toolkit's options that take the next word as their value.
constexpr std::array<std::string_view, 15> kOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",   "display",       "geometry", "title",
    "name",        "style",          "stylesheet",    "session",  "qmljsdebugger",
};

bool TakesValue(std::string_view option)
{
    option.remove_prefix(option.starts_with("--") ? 2 : 1);
    if (option.find('=') != std::string_view::npos)
        return false;
    return std::find(kOptionsWithValue.begin(), kOptionsWithValue.end(), option) != kOptionsWithValue.end();
}

}  // namespace

std::vector<std::string> CommandLineFiles(const std::vector<std::string>& arguments,
                                          const std::string& workingFolder)
{
    std::vector<std::string> files;
    bool options = true;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (options && word == "--") {
            options = false;
            continue;
        }
        if (options && word.starts_with("-")) {
            if (TakesValue(word))
                ++i;
            continue;
        }
        if (word.empty())
            continue;
        if (word.front() == '/' || workingFolder.empty())
            files.push_back(word);
        else
            files.push_back(workingFolder + (workingFolder.back() == '/' ? "" : "/") + word);
    }
    return files;
}

std::string WorkingFolder()
{
    char* folder = ::getcwd(nullptr, 0);
    if (!folder)
        return {};
    std::string result(folder);
    ::free(folder);
    return result;
}

}  // namespace kobalto
