#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

int Cli(const std::string& args, std::string* out = nullptr)
{
    return test::RunCommand(std::string(KOBALTO_CLI_PATH) + " " + args, out);
}

TEST(CliVersion, VersionAndHelpNameTheBuiltVersion)
{
    const std::string version = std::string("kobalto-cli ") + KOBALTO_VERSION + "\n";
    std::string out;
    EXPECT_EQ(Cli("--version", &out), 0);
    EXPECT_EQ(out, version);
    EXPECT_EQ(Cli("--help", &out), 0);
    EXPECT_EQ(out.substr(0, version.size()), version);
    EXPECT_EQ(Cli("--version extra 2>/dev/null", &out), 2);
}

// The manual renders without a warning and describes every option the
// usage names.
TEST(CliManual, RendersCleanlyAndCoversEveryOptionOfTheUsage)
{
    if (!test::HaveTool("man"))
        GTEST_SKIP() << "man is not installed";
    std::string warnings, page, help;
    ASSERT_EQ(test::RunCommand("man --warnings -E UTF-8 -l '" KOBALTO_MANUAL_PATH "' 2>&1 >/dev/null", &warnings), 0);
    EXPECT_EQ(warnings, "");
    ASSERT_EQ(test::RunCommand("MANWIDTH=80 man -E UTF-8 -l '" KOBALTO_MANUAL_PATH "' 2>/dev/null", &page), 0);
    ASSERT_EQ(Cli("--help", &help), 0);
    std::set<std::string> options;
    const std::regex option("--[a-z]+");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it)
        options.insert(it->str());
    EXPECT_GE(options.size(), 6u);
    for (const std::string& o : options)
        EXPECT_NE(page.find(o), std::string::npos) << o;
    EXPECT_NE(page.find(KOBALTO_VERSION), std::string::npos);
}

}  // namespace
}  // namespace kobalto
