#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/Extended.h"

namespace kobalto {
namespace {

TEST(Extended, DivisionFaultsRaiseWithTheSystemsTexts)
{
    EXPECT_THROW(Divide(0, 0), EInvalidOp);
    EXPECT_THROW(Divide(5, 0), EZeroDivide);
    EXPECT_THROW(Divide(-5, 0), EZeroDivide);
    try {
        Divide(1, 0);
    } catch (const EZeroDivide& e) {
        EXPECT_STREQ(e.what(), "0 による浮動小数点数除算");
    }
    try {
        Divide(0, 0);
    } catch (const EInvalidOp& e) {
        EXPECT_STREQ(e.what(), "不正な浮動小数点数演算命令");
    }
    EXPECT_EQ(Divide(1, 4), 0.25L);
}

TEST(Extended, TruncationGoesTowardZeroAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(TruncToInt32(2.999999L), 2);
    EXPECT_EQ(TruncToInt32(-2.999999L), -2);
    EXPECT_EQ(TruncToInt32(2147483647.9L), 2147483647);
    EXPECT_THROW(TruncToInt32(2147483648.0L), EInvalidOp);
    EXPECT_EQ(TruncToInt32(-2147483648.5L), -2147483647 - 1);
    EXPECT_THROW(TruncToInt32(-2147483649.0L), EInvalidOp);
    EXPECT_THROW(TruncToInt64(std::numeric_limits<Extended>::infinity()), EInvalidOp);
}

TEST(Extended, RoundingTiesGoToEven)
{
    const struct {
        Extended in;
        int64_t out;
    } cases[] = {{0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {127.5L, 128}, {254.5L, 254}, {-0.5L, 0},
                 {-1.5L, -2}, {0.49999L, 0}, {0.50001L, 1}, {-2.6L, -3}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << static_cast<double>(c.in);
}

TEST(Extended, SizesUseTheSixtyFourBitSignificand)
{
    // A 1000-pixel picture at a factor of 0.7 held in single precision: in
    // double the product is 699.99998..., also in extended, so both truncate
    // to 699; the point is that the factor's single-precision error counts.
    const Extended f = static_cast<Extended>(static_cast<double>(0.7f));
    EXPECT_EQ(TruncToInt32(1000 * f), 699);
    EXPECT_EQ(TruncToInt32(640 * f), 447);
}

}  // namespace
}  // namespace kobalto
