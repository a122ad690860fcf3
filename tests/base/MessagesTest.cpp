#include <gtest/gtest.h>

#include "base/Messages.h"

namespace kobalto {
namespace {

TEST(Messages, FormatFillsPlacesLeftToRight)
{
    EXPECT_EQ(msg::Format("ファイル %s を作成できません", {"/a/b.bmp"}), "ファイル /a/b.bmp を作成できません");
    EXPECT_EQ(msg::Format("%s of %d%%", {"a", "7"}), "a of 7%");
    EXPECT_EQ(msg::Format("%s and %s", {"one"}), "one and %s");
}

}  // namespace
}  // namespace kobalto
