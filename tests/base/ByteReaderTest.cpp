#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/TByteReader.h"

namespace kobalto {
namespace {

TEST(ByteReader, ReadsBothByteOrdersAndStopsAtItsEnd)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05};
    TByteReader r(bytes, "test");
    EXPECT_EQ(r.U16LE(), 0x0201);
    EXPECT_EQ(r.U16BE(), 0x0304);
    EXPECT_THROW(r.U16LE(), EReadError);
    EXPECT_EQ(r.Position(), 4u);  // a failed read moves nothing
    EXPECT_EQ(r.U8(), 5);

    TByteReader whole(bytes, "test");
    EXPECT_EQ(whole.U32BE(), 0x01020304u);
    whole.Seek(1);
    TByteReader sub = whole.Sub(2);
    EXPECT_EQ(sub.U16LE(), 0x0302);
    EXPECT_THROW(sub.U8(), EReadError);
    EXPECT_THROW(whole.Seek(6), EReadError);
    EXPECT_THROW(whole.Take(SIZE_MAX), EReadError);
}

[[noreturn]] void ThrowFormatError(std::string_view format)
{
    throw EInvalidGraphic(msg::Format("Stream read error in %s file.", {format}));
}

TEST(ByteReader, TruncationRaisesTheFormatsOwnError)
{
    const uint8_t bytes[] = {1};
    TByteReader r(bytes, "TGA", ThrowFormatError);
    try {
        r.U32LE();
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Stream read error in TGA file.");
    }
}

}  // namespace
}  // namespace kobalto
