#include <gtest/gtest.h>

#include <vector>

#include "graphics/PackedIndex.h"

namespace kobalto {
namespace {

TEST(PackedIndex, TheLeftmostPixelSitsInTheHighBits)
{
    const uint8_t row[] = {0b10110010, 0x5A};
    const struct {
        int bits;
        std::vector<int> pixels;
    } cases[] = {
        {1, {1, 0, 1, 1, 0, 0, 1, 0, 0, 1, 0, 1}},
        {2, {2, 3, 0, 2, 1, 1, 2, 2}},
        {4, {0xB, 0x2, 0x5, 0xA}},
        {8, {0xB2, 0x5A}},
    };
    for (const auto& c : cases)
        for (size_t x = 0; x < c.pixels.size(); ++x)
            EXPECT_EQ(ReadPackedIndex(row, static_cast<int>(x), c.bits), c.pixels[x]) << c.bits << " bits, x " << x;
}

TEST(PackedIndex, AWriteChangesOnlyItsPixelAndTakesTheLowBits)
{
    const struct {
        int bits, x;
        uint8_t value;
        uint8_t first, second;  // the two bytes after the write over 0xFF, 0x00
    } cases[] = {
        {1, 0, 0, 0x7F, 0x00}, {1, 9, 3, 0xFF, 0x40},  {2, 1, 0, 0xCF, 0x00},
        {2, 7, 6, 0xFF, 0x02}, {4, 1, 0x10, 0xF0, 0x00}, {4, 2, 0x3C, 0xFF, 0xC0},
        {8, 1, 0x81, 0xFF, 0x81},
    };
    for (const auto& c : cases) {
        uint8_t row[] = {0xFF, 0x00};
        WritePackedIndex(row, c.x, c.bits, c.value);
        EXPECT_EQ(row[0], c.first) << c.bits << " bits, x " << c.x;
        EXPECT_EQ(row[1], c.second) << c.bits << " bits, x " << c.x;
    }
}

}  // namespace
}  // namespace kobalto
