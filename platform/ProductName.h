#pragma once
#include <string>

namespace kobalto::platform {

// The operating system's product name: PRETTY_NAME of /etc/os-release
// (quotes removed), or empty text when it cannot be read.
std::string ProductName();
// The same from an os-release text.
std::string ProductNameFrom(const std::string& osReleaseText);

}  // namespace kobalto::platform
