#include <gtest/gtest.h>

#include "platform/ProgramPaths.h"

namespace kobalto::platform {
namespace {

TEST(ProgramPaths, TheExtensionOfTheLastPartAloneIsRemoved)
{
    const struct {
        const char* path;
        const char* without;
    } cases[] = {
        {"/usr/bin/kobalto", "/usr/bin/kobalto"},
        {"/opt/k/kobalto.bin", "/opt/k/kobalto"},
        {"/opt/k.d/kobalto", "/opt/k.d/kobalto"},
        {"/home/u/.kobalto", "/home/u/.kobalto"},
        {"/a/b.c.d", "/a/b.c"},
        {"kobalto.exe", "kobalto"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathWithoutExtension(c.path), c.without) << c.path;
}

TEST(ProgramPaths, SettingsStayBesideTheProgramOnlyWhereItsFolderIsWritable)
{
    EXPECT_EQ(SettingsFilePathFrom("/home/u/kobalto/build/kobalto", true, "", "/home/u"),
              "/home/u/kobalto/build/kobalto.ini");
    EXPECT_EQ(SettingsFilePathFrom("/usr/bin/kobalto", false, "", "/home/u"),
              "/home/u/.config/kobalto/kobalto.ini");
    EXPECT_EQ(SettingsFilePathFrom("/usr/bin/kobalto", false, "/cfg", "/home/u"), "/cfg/kobalto/kobalto.ini");
    EXPECT_EQ(SettingsFilePathFrom("/usr/bin/kobalto", false, "cfg", "/home/u"),
              "/home/u/.config/kobalto/kobalto.ini");
    EXPECT_EQ(SettingsFilePathFrom("", true, "/cfg", "/home/u"), "/cfg/kobalto/kobalto.ini");
}

TEST(ProgramPaths, TheRunningProgramIsTheTestItself)
{
    const std::string self = ProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(self.substr(self.rfind('/') + 1), "platform_tests");
}

}  // namespace
}  // namespace kobalto::platform
