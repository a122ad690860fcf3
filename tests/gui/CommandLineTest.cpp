#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace kobalto {
namespace {

TEST(CommandLine, NamesFilesFromTheWorkingFolderAndSkipsTheToolkitsOptions)
{
    using Words = std::vector<std::string>;
    const struct {
        Words arguments;
        Words files;
    } cases[] = {
        {{"kobalto"}, {}},
        {{"kobalto", "a.jpg", "/p/b.png", "sub/../c.gif"}, {"/w/a.jpg", "/p/b.png", "/w/sub/../c.gif"}},
        {{"kobalto", "-platform", "xcb", "a.jpg", "--style", "fusion", "-style=fusion", "-reverse", "b.png"},
         {"/w/a.jpg", "/w/b.png"}},
        {{"kobalto", "-display", ":1", "--", "-x.jpg", "--", ""}, {"/w/-x.jpg", "/w/--"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineFiles(c.arguments, "/w"), c.files) << c.arguments.size();
    EXPECT_EQ(CommandLineFiles({"kobalto", "a.jpg"}, "/"), Words{"/a.jpg"});
}

}  // namespace
}  // namespace kobalto
