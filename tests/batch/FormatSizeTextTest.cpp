#include <gtest/gtest.h>

#include "batch/FormatSizeText.h"
#include "batch/ParsePercent.h"

namespace kobalto {
namespace {

TEST(FormatSizeText, OneDecimalDigitThousandsAndTheMegabyteSwitch)
{
    const struct {
        float kb;
        const char* text;
    } cases[] = {
        {0, "0.0KB"},           {976.5625f, "976.6KB"},  {999.97f, "1,000.0KB"},   {1000, "1,000.0KB"},
        {1010, "1.0MB"},        {2929.6875f, "2.9MB"},   {0.04f, "0.0KB"},         {0.05f, "0.1KB"},
        {1023.0f, "1.0MB"},     {3145728.0f, "3,072.0MB"}, {-0.3f, "-0.3KB"},
        // A terabyte-sized text keeps all its digits.
        {1073741824.0f, "1,048,576.0MB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSizeText(c.kb), c.text) << c.kb;
}

TEST(FormatSizeText, BytesBecomeKilobytesOf1024)
{
    EXPECT_EQ(FormatSizeText(BytesToKb(0)), "0.0KB");
    EXPECT_EQ(FormatSizeText(BytesToKb(1023969)), "1,000.0KB");
    EXPECT_EQ(FormatSizeText(BytesToKb(1034240)), "1.0MB");
    EXPECT_EQ(FormatSizeText(BytesToKb(3000000)), "2.9MB");
    EXPECT_EQ(FormatSizeText(BytesToKb(1000000)), "976.6KB");
    // Sizes past 2 GiB are counted in 64 bits.
    EXPECT_EQ(FormatSizeText(BytesToKb(int64_t{3} << 30)), "3,072.0MB");
}

TEST(ParsePercent, OnlyDecimalIntegersCount)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {{"80", 80}, {"5", 5}, {"", 0}, {"ab", 0}, {"12a", 0}, {" 12", 0},
                 {"+30", 30}, {"-4", -4}, {"150", 150}, {"99999999999", 0}, {"0x40", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ParsePercent(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace kobalto
