#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "platform/ProfileFile.h"
#include "tests/support/TestSupport.h"

namespace kobalto::platform {
namespace {

std::string ReadText(const std::string& path)
{
    const auto bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text)
{
    test::WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(ProfileFile, TheFirstSaveOfTheWindowLaysOutBothSectionsInWriteOrder)
{
    test::TempDir dir;
    const std::string ini = dir.File("kobalto.ini");
    // The order in which the window stores its settings on close.
    ASSERT_TRUE(WriteProfileInt(ini, "MAIN", "Top", 64));
    ASSERT_TRUE(WriteProfileInt(ini, "MAIN", "Left", -8));
    ASSERT_TRUE(WriteProfileInt(ini, "MAIN", "Width", 670));
    ASSERT_TRUE(WriteProfileInt(ini, "MAIN", "Height", 542));
    ASSERT_TRUE(WriteProfileInt(ini, "OPT", "Time", 2000));
    ASSERT_TRUE(WriteProfileString(ini, "OPT", "Zoom", "80"));
    ASSERT_TRUE(WriteProfileBool(ini, "OPT", "Mode", true));
    ASSERT_TRUE(WriteProfileBool(ini, "MAIN", "Maxim", false));
    EXPECT_EQ(ReadText(ini),
              "[MAIN]\nTop=64\nLeft=-8\nWidth=670\nHeight=542\nMaxim=0\n"
              "[OPT]\nTime=2000\nZoom=80\nMode=1\n");
}

TEST(ProfileFile, NamesCompareWithoutCaseAndRewritesKeepTheOtherLines)
{
    test::TempDir dir;
    const std::string ini = dir.File("s.ini");
    WriteText(ini,
              "; kept\r\n[main]\r\n  TOP = 12 \r\nother=x\r\n\r\n[Opt]\r\nzoom=\r\n[MAIN]\r\nTop=99\r\n");
    EXPECT_EQ(ReadProfileInt(ini, "Main", "top", 0), 12);
    EXPECT_EQ(ReadProfileString(ini, "OPT", "ZOOM", "80"), "");
    EXPECT_EQ(ReadProfileString(ini, "OPT", "Time", "none"), "none");
    ASSERT_TRUE(WriteProfileInt(ini, "MAIN", "Top", 5));
    ASSERT_TRUE(WriteProfileInt(ini, "MAIN", "Width", 7));
    ASSERT_TRUE(WriteProfileString(ini, "NEW", "k", "v"));
    // The first section of a name is the one read and written; a new key
    // goes after its section's last line, before the blank one.
    EXPECT_EQ(ReadText(ini), "; kept\r\n[main]\r\nTOP=5\r\nother=x\r\nWidth=7\r\n\r\n[Opt]\r\nzoom=\r\n"
                             "[MAIN]\r\nTop=99\r\n[NEW]\r\nk=v\r\n");
}

TEST(ProfileFile, IntegersReadDecimalAndHexAndFallBackToTheDefault)
{
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"64", 64},         {"-12", -12},       {"+7", 7},           {"0x40", 64},
        {"0X7fffffff", 2147483647}, {" 0x1F ", 31}, {"2147483647", 2147483647},
        {"0x", std::nullopt}, {"0x-5", std::nullopt}, {"-0x10", std::nullopt},
        {"abc", std::nullopt}, {"", std::nullopt}, {"12px", std::nullopt},
        {"2147483648", std::nullopt}, {"0x80000000", std::nullopt}, {"+-3", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseProfileInt(c.text), c.value) << '"' << c.text << '"';

    test::TempDir dir;
    const std::string ini = dir.File("s.ini");
    WriteText(ini, "[OPT]\nTime=\nMode=2\nOff=0\nBad=yes\n");
    EXPECT_EQ(ReadProfileInt(ini, "OPT", "Time", 10000), 10000);
    EXPECT_TRUE(ReadProfileBool(ini, "OPT", "Mode", false));
    EXPECT_FALSE(ReadProfileBool(ini, "OPT", "Off", true));
    EXPECT_TRUE(ReadProfileBool(ini, "OPT", "Bad", true));
    EXPECT_EQ(ReadProfileInt(dir.File("missing.ini"), "OPT", "Time", 3), 3);
}

TEST(ProfileFile, OnePairOfMatchingQuotesAroundAValueIsDropped)
{
    test::TempDir dir;
    const std::string ini = dir.File("s.ini");
    const struct {
        const char* stored;
        const char* text;
    } cases[] = {
        {"\"50\"", "50"},   {"'50'", "50"},         {" \"50\" ", "50"},  {"\"\"", ""},
        {"\"a b \"", "a b "}, {"\"\"50\"\"", "\"50\""}, {"\"50'", "\"50'"}, {"\"", "\""},
        {"5\"0\"", "5\"0\""}, {"'", "'"},
    };
    for (const auto& c : cases) {
        WriteText(ini, std::string("[OPT]\nZoom=") + c.stored + "\n");
        EXPECT_EQ(ReadProfileString(ini, "OPT", "Zoom", "80"), c.text) << c.stored;
    }
    // Integers and booleans read the unquoted text too.
    WriteText(ini, "[MAIN]\nTop='0x40'\nMaxim=\"1\"\n");
    EXPECT_EQ(ReadProfileInt(ini, "MAIN", "Top", 0), 64);
    EXPECT_TRUE(ReadProfileBool(ini, "MAIN", "Maxim", false));
}

TEST(ProfileFile, TextsArriveUpTo2047BytesAndNeverInsideACharacter)
{
    test::TempDir dir;
    const std::string ini = dir.File("s.ini");
    ASSERT_TRUE(WriteProfileString(ini, "OPT", "Long", std::string(3000, '7')));
    EXPECT_EQ(ReadProfileString(ini, "OPT", "Long", ""), std::string(2047, '7'));
    // 2046 ASCII bytes and a 3-byte character: the character does not fit.
    ASSERT_TRUE(WriteProfileString(ini, "OPT", "Kana", std::string(2046, 'a') + "縮"));
    EXPECT_EQ(ReadProfileString(ini, "OPT", "Kana", ""), std::string(2046, 'a'));
    EXPECT_EQ(ReadProfileString(ini, "OPT", "Missing", std::string(2100, 'd')).size(), 2047u);
}

TEST(ProfileFile, AValueCannotAddLinesOfItsOwn)
{
    test::TempDir dir;
    const std::string ini = dir.File("s.ini");
    ASSERT_TRUE(WriteProfileString(ini, "OPT", "Zoom", "8\n[MAIN]\r\nTop=1"));
    EXPECT_EQ(ReadProfileString(ini, "OPT", "Zoom", ""), "8 [MAIN]  Top=1");
    EXPECT_EQ(ReadProfileInt(ini, "MAIN", "Top", -1), -1);
}

TEST(ProfileFile, AFailedWriteReportsAndLeavesTheFileAsItWas)
{
    test::TempDir dir;
    // A folder where a file is expected, and a file where a folder is.
    EXPECT_FALSE(WriteProfileInt(dir.Path(), "MAIN", "Top", 1));
    WriteText(dir.File("plain"), "x");
    EXPECT_FALSE(WriteProfileInt(dir.File("plain") + "/s.ini", "MAIN", "Top", 1));
    EXPECT_EQ(ReadText(dir.File("plain")), "x");
    EXPECT_EQ(ReadProfileInt(dir.Path(), "MAIN", "Top", 4), 4);
}

TEST(ProfileFile, EveryCallSeesTheFileAsItIsNow)
{
    test::TempDir dir;
    const std::string ini = dir.File("s.ini");
    WriteText(ini, "[MAIN]\nTop=1\n");
    EXPECT_EQ(ReadProfileInt(ini, "MAIN", "Top", 0), 1);
    WriteText(ini, "[MAIN]\nTop=2\n");
    EXPECT_EQ(ReadProfileInt(ini, "MAIN", "Top", 0), 2);
    ASSERT_TRUE(WriteProfileInt(ini, "MAIN", "Left", 3));
    EXPECT_EQ(ReadText(ini), "[MAIN]\nTop=2\nLeft=3\n");
}

}  // namespace
}  // namespace kobalto::platform
