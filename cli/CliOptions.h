#pragma once
// The command line of kobalto-cli, parsed.
#include <optional>
#include <string>
#include <vector>

namespace kobalto::cli {

struct Options {
    enum class Command { Help, Version, Shrink, Convert } command = Command::Help;
    // shrink
    std::optional<std::string> percent;
    std::optional<std::string> outDir;
    std::vector<std::string> files;
    bool keepGoing = false;
    // Files shrunk at once; 0 until given, then the number of cores.
    unsigned jobs = 0;
    // convert
    double factor = 1.0;
    bool smooth = false;
    std::string input;
    std::string output;
};

// Raises UsageError with a one-line reason for a malformed command line.
Options ParseOptions(const std::vector<std::string>& args);

struct UsageError {
    std::string reason;
};

extern const char* const kUsage;

}  // namespace kobalto::cli
