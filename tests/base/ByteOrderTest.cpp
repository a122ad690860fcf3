// The byte-order mode of the bounded reader, as TIFF files use it.
#include <gtest/gtest.h>

#include <vector>

#include "base/TByteReader.h"

namespace kobalto {
namespace {

TEST(ByteOrderTest, NumbersFollowTheModeAndSubReadersKeepIt)
{
    const std::vector<uint8_t> bytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    TByteReader r(bytes, "test");
    EXPECT_EQ(r.U16(), 0x3412);  // little-endian until told otherwise
    r.SetByteOrder(TByteOrder::BigEndian);
    EXPECT_EQ(r.U32(), 0x56789ABCu);
    r.Seek(0);
    TByteReader sub = r.Sub(4);
    EXPECT_EQ(sub.U16(), 0x1234);
    EXPECT_EQ(sub.U16(), 0x5678);
    EXPECT_THROW(sub.U16(), std::exception);  // the sub-reader ends where it was cut
}

}  // namespace
}  // namespace kobalto
