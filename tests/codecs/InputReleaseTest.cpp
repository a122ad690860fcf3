// The release behind a reader: contiguous from where it starts, never
// reaching the block of the file the reader is in, a stretch at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "codecs/extended/InputRelease.h"

namespace kobalto {
namespace {

TEST(ReleaseBehind, GivesBackWholeBlocksBehindTheReaderOnly)
{
    constexpr size_t kBlock = 64 << 10;  // what one fault maps back
    std::vector<uint8_t> file(8 << 20);
    const std::span<const uint8_t> input(file);
    // The offset where the block holding input[offset] starts.
    const auto blockStart = [&](size_t offset) {
        return offset - (reinterpret_cast<uintptr_t>(input.data()) + offset) % kBlock;
    };
    struct C {
        const char* name;
        size_t start;
        std::vector<size_t> reached;
        size_t releasedUpTo;  // 0: nothing released; else the block start of this offset
    };
    const C cases[] = {
        {"less than a stretch", 0, {1000, 100000, 200000}, 0},
        {"a stretch", 0, {300000}, 300000},
        {"row by row", 5000, {60000, 120000, 180000, 240000, 300000, 360000}, 300000},
        {"back and forth", 0, {3 << 20, 1 << 20, (3 << 20) + 1000}, 3 << 20},
        {"past the end", 0, {file.size() + 1}, 0},
        {"to the end", 1 << 20, {file.size()}, file.size()},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::span<const uint8_t>> given;
        TReleaseBehind behind([&](std::span<const uint8_t> done) { given.push_back(done); }, input, c.start);
        for (size_t offset : c.reached) {
            const size_t before = given.size();
            behind.Reached(offset);
            // Nothing at or after the block the reader is in.
            if (given.size() > before) {
                EXPECT_LE(given.back().data() + given.back().size(), input.data() + blockStart(offset));
            }
        }
        if (c.releasedUpTo == 0) {
            EXPECT_TRUE(given.empty());
            continue;
        }
        ASSERT_FALSE(given.empty());
        EXPECT_EQ(given.front().data(), input.data() + c.start);
        for (size_t i = 1; i < given.size(); ++i)
            EXPECT_EQ(given[i].data(), given[i - 1].data() + given[i - 1].size()) << i;
        EXPECT_EQ(given.back().data() + given.back().size(), input.data() + blockStart(c.releasedUpTo));
    }
}

}  // namespace
}  // namespace kobalto
