#pragma once
// A format's own checking tool (pngcheck, tiffinfo, giftext, ...) as a
// second opinion on files we write.
#include <cstdint>
#include <string>
#include <vector>

namespace kobalto::test {

// Runs command (the tool and its options, e.g. "pngcheck -q") on the file
// at path. True when the tool accepts the file, or when it is not installed:
// the check is then skipped, and said so once on the test output. What the
// tool printed (both streams) goes to report.
bool PeerToolAccepts(const std::string& command, const std::string& path, std::string* report = nullptr);
// The same for bytes, written to a temporary file named name (tools that go
// by the extension need the right one).
bool PeerToolAccepts(const std::string& command, const std::vector<uint8_t>& file, const std::string& name,
                     std::string* report = nullptr);

}  // namespace kobalto::test
