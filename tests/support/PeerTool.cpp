#include "tests/support/PeerTool.h"

#include <iostream>
#include <set>

#include "tests/support/TestSupport.h"

namespace kobalto::test {

bool PeerToolAccepts(const std::string& command, const std::string& path, std::string* report)
{
    const std::string tool = command.substr(0, command.find(' '));
    if (!HaveTool(tool)) {
        static std::set<std::string> told;
        if (told.insert(tool).second)
            std::cout << tool << " is not installed (tools/install-deps.sh): its check is skipped\n";
        return true;
    }
    return RunCommand(command + " '" + path + "' 2>&1", report) == 0;
}

bool PeerToolAccepts(const std::string& command, const std::vector<uint8_t>& file, const std::string& name,
                     std::string* report)
{
    TempDir dir;
    WriteBytes(dir.File(name), file);
    return PeerToolAccepts(command, dir.File(name), report);
}

}  // namespace kobalto::test
