#include <gtest/gtest.h>

#include "base/Checked.h"
#include "base/Exceptions.h"
#include "base/Limits.h"

namespace kobalto {
namespace {

TEST(Checked, ArithmeticRefusesToWrap)
{
    EXPECT_EQ(CheckedMul(1u << 20, 1u << 10), size_t{1} << 30);
    EXPECT_THROW(CheckedMul(SIZE_MAX / 2, 3), EInvalidGraphic);
    EXPECT_THROW(CheckedAdd(SIZE_MAX, 1), EInvalidGraphic);
    EXPECT_NO_THROW(CheckImageSize(16384, 16384, "x"));  // exactly 2^28
    EXPECT_THROW(CheckImageSize(16385, 16384, "x"), EInvalidGraphic);
    EXPECT_THROW(CheckImageSize(65535, 65535, "x"), EInvalidGraphic);
    EXPECT_THROW(CheckImageSize(-1, 1, "x"), EInvalidGraphic);
    EXPECT_NO_THROW(CheckImageSize(0, 0, "x"));
}

}  // namespace
}  // namespace kobalto
