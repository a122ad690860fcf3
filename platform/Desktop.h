#pragma once
#include <string>

namespace kobalto::platform {

// The user's desktop folder: XDG_DESKTOP_DIR of ~/.config/user-dirs.dirs
// (or $XDG_CONFIG_HOME/user-dirs.dirs), else ~/Desktop when it exists, else
// the home folder. Empty only when no home folder is known.
std::string DesktopFolder();

// The same lookup over given inputs, so it can be tested without a real home.
std::string DesktopFolderFrom(const std::string& home, const std::string& userDirsText);

}  // namespace kobalto::platform
