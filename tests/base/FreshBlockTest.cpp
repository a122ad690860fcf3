#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "base/FreshMemory.h"
#include "base/TSpanStream.h"

namespace kobalto {
namespace {

TEST(FreshBlock, StartsALargeBlockOnALargePageAndHoldsWhatIsWrittenWhereverItsPagesAreMapped)
{
    for (bool inBackground : {false, true})
        for (size_t size : {size_t{1}, size_t{4096}, (size_t{1} << 20) - 1, size_t{1} << 20, (size_t{5} << 20) + 3}) {
            TFreshBlock block(size, inBackground);
            ASSERT_EQ(block.Size(), size);
            if (size >= size_t{1} << 20) {
                EXPECT_EQ(reinterpret_cast<uintptr_t>(block.Data()) % (uintptr_t{2} << 20), 0u) << size;
            }
            for (size_t i = 0; i < size; ++i)
                block.Data()[i] = static_cast<uint8_t>(i * 7);
            TFreshBlock moved = std::move(block);
            EXPECT_EQ(block.Data(), nullptr);
            EXPECT_EQ(block.Size(), 0u);
            size_t wrong = 0;
            for (size_t i = 0; i < size; ++i)
                wrong += moved.Data()[i] != static_cast<uint8_t>(i * 7);
            EXPECT_EQ(wrong, 0u) << size << (inBackground ? " in the background" : "");
        }
    EXPECT_EQ(TFreshBlock(0).Data(), nullptr);
}

TEST(SpanStream, ReadsAndSeeksWithinItsBytesAndWritesNothing)
{
    std::vector<uint8_t> bytes(10);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    TSpanStream s(bytes);
    EXPECT_EQ(s.Size(), 10);
    uint8_t out[16] = {};
    EXPECT_EQ(s.Read(out, 4), 4u);
    EXPECT_EQ(out[3], 3);
    EXPECT_EQ(s.Seek(-2, TSeekOrigin::End), 8);
    EXPECT_EQ(s.Read(out, 16), 2u);
    EXPECT_EQ(out[1], 9);
    EXPECT_EQ(s.Read(out, 1), 0u);
    EXPECT_EQ(s.Seek(-20, TSeekOrigin::Current), 0);
    EXPECT_EQ(s.Write(out, 1), 0u);
    EXPECT_EQ(bytes[0], 0);
    // Reading into its own bytes further back, as gathering in place does.
    s.SetPosition(4);
    EXPECT_EQ(s.Read(bytes.data() + 1, 6), 6u);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 4, 5, 6, 7, 8, 9, 7, 8, 9}));
}

}  // namespace
}  // namespace kobalto
