#pragma once
// The file operations of the batch and the writers.
#include <cstdint>
#include <string>

namespace kobalto::platform {

// Size in bytes of the file at path; 0 when no file is there (a folder is
// not a file).
int64_t FileSize(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// True when both paths exist and name the same file.
bool SameFile(const std::string& a, const std::string& b);

enum class CopyResult { Copied, SameFile, Failed };
// Copies source over destination, replacing it, and leaves the copy writable
// by its owner with no other special bits. Copying a file onto itself is no
// copy at all: the file is already there, unchanged. The copy goes through a
// temporary file, so a failed copy leaves the destination as it was.
CopyResult CopyFileOverwrite(const std::string& source, const std::string& destination);

// Makes an existing file writable by its owner, so that it can be replaced;
// nothing happens when there is no file. Reports whether it changed a file.
bool MakeWritable(const std::string& path);

// Creates the folder and every missing parent, outermost first. Reports
// whether the folder exists afterwards.
bool EnsureFolder(const std::string& path);

}  // namespace kobalto::platform
