#pragma once
// Where the program is and where it keeps its settings.
#include <string>

namespace kobalto::platform {

// The running program file's full path (/proc/self/exe); empty when unknown.
std::string ProgramPath();

// The path with the extension of its last part removed ("/opt/k/kobalto.bin"
// gives "/opt/k/kobalto"; a dot in a folder name or at the start of the name
// is no extension).
std::string PathWithoutExtension(const std::string& path);

// The settings file: beside the program, with the extension ".ini", when the
// program's folder is writable; otherwise $XDG_CONFIG_HOME/kobalto/kobalto.ini
// (~/.config/kobalto/kobalto.ini by default), so an installed program still
// remembers its settings.
std::string SettingsFilePath();

// The same choice over given inputs.
std::string SettingsFilePathFrom(const std::string& programPath, bool programFolderWritable,
                                 const std::string& configHome, const std::string& home);

// The settings file to read: writeFile (as SettingsFilePath gives it) when
// it exists, else the ini file beside the program when that exists, so a
// file placed beside an installed program is still read; else writeFile.
std::string SettingsFileToRead(const std::string& writeFile, const std::string& programPath);

}  // namespace kobalto::platform
