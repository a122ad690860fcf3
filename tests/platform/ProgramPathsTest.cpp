#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ProgramPaths.h"
#include "tests/support/TestSupport.h"

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

TEST(ProgramPaths, TheUsersSettingsAreReadFirstThenTheFileBesideTheProgram)
{
    test::TempDir dir;
    const std::string program = dir.File("bin/kobalto");
    const std::string beside = dir.File("bin/kobalto.ini");
    const std::string user = dir.File("config/kobalto.ini");
    const struct {
        bool userExists;
        bool besideExists;
        std::string read;
    } cases[] = {
        {true, true, user}, {true, false, user}, {false, true, beside}, {false, false, user},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir.File("bin"));
        std::filesystem::remove_all(dir.File("config"));
        std::filesystem::create_directories(dir.File("bin"));
        std::filesystem::create_directories(dir.File("config"));
        if (c.userExists)
            test::WriteBytes(user, {'\n'});
        if (c.besideExists)
            test::WriteBytes(beside, {'\n'});
        EXPECT_EQ(SettingsFileToRead(user, program), c.read) << c.userExists << c.besideExists;
    }
}

TEST(ProgramPaths, TheRunningProgramIsTheTestItself)
{
    const std::string self = ProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(self.substr(self.rfind('/') + 1), "platform_tests");
}

}  // namespace
}  // namespace kobalto::platform
