#include <gtest/gtest.h>

#include "imaging/Extension.h"

namespace kobalto {
namespace {

TEST(Extension, LowerFileExtTakesTheLastDotOfTheName)
{
    const struct {
        const char* path;
        const char* ext;
    } cases[] = {{"/home/u/PHOTO.JPG", ".jpg"}, {"a.b.Tiff", ".tiff"}, {"noext", ""},
                 {"/x.d/name", ""},             {"/x.d/name.", "."},    {"/p/ÄÖ.PNG", ".png"}};
    for (const auto& c : cases)
        EXPECT_EQ(LowerFileExt(c.path), c.ext) << c.path;
}

TEST(Extension, AcceptanceIsASubstringTestOfTheList)
{
    const char* xp = "Windows XP";
    const struct {
        const char* path;
        bool accepted;
    } cases[] = {
        {"photo.jpg", true},   {"PHOTO.JPG", true},  {"a.tiff", true},   {"a.tif", true},   {"a.jpe", true},
        {"a.jp", true},        {"a.j", true},        {"a.p", true},      {"a.ps", true},    {"a.pd", true},
        {"a.e", true},         {"a.", true},         {"a.bmp;", true},   {"a.png;.tga", true}, {"a.ic", true},
        {"a.ico", true},       {"a.jfif", false},    {"a.icon", false},  {"a.txt", false},  {"name", false},
        {"/x.d/name", false},  {"a.webp", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsImageFileSupportedOn(c.path, xp), c.accepted) << c.path;
}

TEST(Extension, IconsAreRefusedOnlyWhereTheProductNameSaysWindows7)
{
    EXPECT_FALSE(IsImageFileSupportedOn("a.ico", "Windows 7 Professional"));
    EXPECT_FALSE(IsImageFileSupportedOn("a.ic", "Windows 7 Professional"));
    EXPECT_TRUE(IsImageFileSupportedOn("a.bmp", "Windows 7 Professional"));
    EXPECT_TRUE(IsImageFileSupportedOn("a.ico", "windows 7"));
    EXPECT_TRUE(IsImageFileSupportedOn("a.ico", "Debian GNU/Linux 12 (bookworm)"));
    EXPECT_TRUE(IsImageFileSupportedOn("a.ico", ""));
}

}  // namespace
}  // namespace kobalto
