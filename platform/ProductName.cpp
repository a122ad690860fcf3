#include "platform/ProductName.h"

#include <fstream>
#include <sstream>

namespace kobalto::platform {

std::string ProductNameFrom(const std::string& osReleaseText)
{
    std::istringstream lines(osReleaseText);
    std::string line;
    const std::string key = "PRETTY_NAME=";
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return "";
}

std::string ProductName()
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream in(path);
        if (!in)
            continue;
        std::stringstream text;
        text << in.rdbuf();
        return ProductNameFrom(text.str());
    }
    return "";
}

}  // namespace kobalto::platform
