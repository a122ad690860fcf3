#pragma once
// The window's command line: kobalto [TOOLKIT OPTION...] [--] [FILE...].
#include <string>
#include <vector>

namespace kobalto {

// The files named on the command line, in order, each made absolute against
// workingFolder (without resolving links or ".."), since a later start hands
// them to a window running elsewhere. Words starting with "-" are the
// toolkit's options and are skipped, with the next word for the options that
// take one; after "--" every word is a file.
std::vector<std::string> CommandLineFiles(const std::vector<std::string>& arguments,
                                          const std::string& workingFolder);

// The process's working folder; empty when unknown.
std::string WorkingFolder();

}  // namespace kobalto
