// What the resampler does around the pixels: rejections, the target it
// builds, rounding to bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <typeinfo>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "graphics/TBitmap.h"
#include "resample/ResampleBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using F = TResampleFilter;

TEST(Resampler, ClampToByteRoundsTiesToEvenAndLimits)
{
    const struct {
        Extended v;
        uint8_t expected;
    } cases[] = {
        {0.5L, 0},     {1.5L, 2},         {2.5L, 2},     {127.5L, 128},   {254.5L, 254},
        {0.4999L, 0},  {0.5001L, 1},      {254.51L, 255}, {255, 255},     {255.4L, 255},
        {255.5L, 255}, {256, 255},        {1e30L, 255},  {0, 0},          {-0.0L, 0},
        {-0.5L, 0},    {-1, 0},           {-300.7L, 0},  {-1e30L, 0},     {99.99L, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampToByte(c.v), c.expected) << "for " << static_cast<double>(c.v);
}

// A source that cannot be resampled leaves the caller's object as it was.
TEST(Resampler, RejectedCallsKeepTheSource)
{
    enum Outcome { kFalse, kZeroDivide, kInvalidOp, kUnsupported };
    const struct {
        int w, h;
        TPixelFormat format;
        int newW, newH;
        Outcome outcome;
    } cases[] = {
        {4, 3, TPixelFormat::pf8bit, 2, 2, kFalse},
        {4, 3, TPixelFormat::pf32bit, 2, 2, kFalse},
        {4, 3, TPixelFormat::pf1bit, 8, 6, kFalse},
        // Not even a zero width gets past the format check.
        {4, 3, TPixelFormat::pf8bit, 0, 2, kFalse},
        {4, 3, TPixelFormat::pf24bit, 0, 2, kZeroDivide},
        {4, 3, TPixelFormat::pf24bit, 2, 0, kZeroDivide},
        {4, 3, TPixelFormat::pf24bit, 0, 0, kZeroDivide},
        {0, 0, TPixelFormat::pf24bit, 0, 0, kInvalidOp},
        {0, 3, TPixelFormat::pf24bit, 0, 2, kInvalidOp},
        {0, 3, TPixelFormat::pf24bit, 2, 2, kUnsupported},
        {4, 0, TPixelFormat::pf24bit, 2, 2, kUnsupported},
        {4, 3, TPixelFormat::pf24bit, -2, 2, kUnsupported},
        {4, 3, TPixelFormat::pf24bit, 2, -1, kUnsupported},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " to " + std::to_string(c.newW) + "x" +
                     std::to_string(c.newH));
        auto bitmap = std::make_unique<TBitmap>(c.w, c.h, c.format);
        if (c.w > 0 && c.h > 0)
            bitmap->SetPixel(1, 1, TColor{10, 20, 30});
        const TBitmap before(*bitmap);
        const TBitmap* object = bitmap.get();
        for (F filter : {F::rfBilinear, F::rfBSpline}) {
            switch (c.outcome) {
            case kFalse: EXPECT_FALSE(ResampleBitmap(bitmap, c.newW, c.newH, filter)); break;
            case kZeroDivide:
                try {
                    ResampleBitmap(bitmap, c.newW, c.newH, filter);
                    ADD_FAILURE() << "no error";
                } catch (const EZeroDivide& e) {
                    EXPECT_STREQ(e.what(), msg::kFloatZeroDivide);
                }
                break;
            case kInvalidOp: EXPECT_THROW(ResampleBitmap(bitmap, c.newW, c.newH, filter), EInvalidOp); break;
            case kUnsupported:
                EXPECT_THROW(ResampleBitmap(bitmap, c.newW, c.newH, filter), EInvalidGraphicOperation);
                break;
            }
            ASSERT_EQ(bitmap.get(), object);
            EXPECT_EQ(bitmap->Width(), c.w);
            EXPECT_EQ(bitmap->Height(), c.h);
            EXPECT_EQ(bitmap->PixelFormat(), c.format);
            ASSERT_EQ(bitmap->ImageSize(), before.ImageSize());
            if (before.ImageSize() != 0) {
                EXPECT_EQ(std::memcmp(bitmap->Bits(), before.Bits(), before.ImageSize()), 0);
            }
        }
    }
}

TEST(Resampler, MissingBitmapIsRefused)
{
    std::unique_ptr<TBitmap> none;
    EXPECT_THROW(ResampleBitmap(none, 2, 2, F::rfBilinear), EInvalidGraphicOperation);
}

// A filter value outside the six writes nothing: the result is the source's
// top-left corner where the sizes overlap and white elsewhere.
TEST(Resampler, UnknownFilterLeavesTheCroppedCopy)
{
    const TBitmap source = test::MakeBitmap(3, 2, [](int x, int y) {
        return TColor{static_cast<uint8_t>(10 + x), static_cast<uint8_t>(20 + y), 30};
    });
    const struct {
        int newW, newH;
    } sizes[] = {{5, 1}, {2, 3}, {3, 2}, {1, 1}, {6, 6}};
    for (uint8_t value : {6, 7, 128, 255}) {
        for (const auto& s : sizes) {
            SCOPED_TRACE("filter " + std::to_string(value) + " to " + std::to_string(s.newW) + "x" +
                         std::to_string(s.newH));
            auto bitmap = std::make_unique<TBitmap>(source);
            ASSERT_TRUE(ResampleBitmap(bitmap, s.newW, s.newH, static_cast<F>(value)));
            ASSERT_EQ(bitmap->Width(), s.newW);
            ASSERT_EQ(bitmap->Height(), s.newH);
            for (int y = 0; y < s.newH; ++y)
                for (int x = 0; x < s.newW; ++x) {
                    const TColor expected = x < 3 && y < 2 ? source.Pixel(x, y) : kWhite;
                    EXPECT_EQ(bitmap->Pixel(x, y), expected) << "at " << x << "," << y;
                }
        }
    }
}

// The result is a new 24-bit object of the asked size that keeps the
// source's transparency switch.
TEST(Resampler, ResultKeepsFormatAndTransparency)
{
    for (bool transparent : {false, true}) {
        for (F filter : {F::rfNearest, F::rfBSpline, static_cast<F>(9)}) {
            auto bitmap = std::make_unique<TBitmap>(test::PatternBitmap(7, 5));
            bitmap->SetTransparent(transparent);
            ASSERT_TRUE(ResampleBitmap(bitmap, 3, 9, filter));
            EXPECT_EQ(bitmap->Width(), 3);
            EXPECT_EQ(bitmap->Height(), 9);
            EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf24bit);
            EXPECT_EQ(bitmap->Transparent(), transparent);
        }
    }
}

}  // namespace
}  // namespace kobalto
