#include <gtest/gtest.h>

#include "codecs/jpeg/JpegExifOrientation.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "tests/codecs/JpegTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(JpegExifOrientation, TheTagIsReadInBothByteOrdersAndAnythingBrokenReadsAsStored)
{
    using test::ExifBlock;
    auto truncated = test::ExifOrientationBlock(6);
    truncated.resize(truncated.size() - 10);  // cut inside the orientation entry
    auto badOffset = test::ExifOrientationBlock(6);
    badOffset[6 + 4] = 0xF0;  // IFD0 far beyond the block
    auto badOrder = test::ExifOrientationBlock(6);
    badOrder[6] = 'X';
    auto notExif = test::ExifOrientationBlock(6);
    notExif[0] = 'e';
    const struct {
        const char* name;
        std::vector<uint8_t> block;
        int orientation;
    } cases[] = {
        {"little-endian", test::ExifOrientationBlock(6, false), 6},
        {"big-endian", test::ExifOrientationBlock(8, true), 8},
        {"value 1", test::ExifOrientationBlock(1), 1},
        {"value 0", test::ExifOrientationBlock(0), 1},
        {"value 9", test::ExifOrientationBlock(9), 1},
        {"no orientation tag", ExifBlock({{0x010F, 2, 4, 0}, {0x0110, 2, 4, 0}}, false), 1},
        {"not a SHORT", ExifBlock({{0x0112, 4, 1, 6}}, false), 1},
        {"empty IFD", ExifBlock({}, true), 1},
        {"truncated", truncated, 1},
        {"IFD outside", badOffset, 1},
        {"unknown byte order", badOrder, 1},
        {"not EXIF", notExif, 1},
        {"signature only", {'E', 'x', 'i', 'f', 0, 0}, 1},
        {"nothing", {}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExifOrientation(c.block), c.orientation) << c.name;
}

// Four flat 16 × 16 colours in a 32 × 48 picture: no two of the eight
// orientations look alike.
const TColor kTopLeft{255, 0, 0}, kTopRight{0, 200, 0}, kBottomLeft{0, 0, 255}, kBottomRight{255, 255, 0};

TBitmap Stored()
{
    return test::MakeBitmap(32, 48, [](int x, int y) {
        if (y < 16)
            return x < 16 ? kTopLeft : kTopRight;
        return x < 16 ? kBottomLeft : kBottomRight;
    });
}

TEST(JpegExifOrientation, EachOrientationDecodesUpright)
{
    enum Corner { TL, TR, BL, BR };
    // Where the stored top-left and top-right colours appear in the upright
    // picture, as the EXIF tag's eight values describe it.
    const struct {
        int orientation;
        Corner topLeftGoesTo, topRightGoesTo;
        bool sidesSwap;
    } cases[] = {
        {1, TL, TR, false},  // as stored
        {2, TR, TL, false},  // mirrored left to right
        {3, BR, BL, false},  // turned half round
        {4, BL, BR, false},  // mirrored top to bottom
        {5, TL, BL, true},   // mirrored about the top-left diagonal
        {6, TR, BR, true},   // turned a quarter clockwise
        {7, BR, TR, true},   // mirrored about the other diagonal
        {8, BL, TL, true},   // turned a quarter anticlockwise
    };
    const auto plain = test::EncodeForTest(Stored());
    for (const auto& c : cases) {
        const auto bytes = test::WithSegment(plain, 0xE1, test::ExifOrientationBlock(c.orientation, c.orientation % 2));
        TJPEGPicture picture = test::LoadJpeg(bytes);
        const int w = c.sidesSwap ? 48 : 32, h = c.sidesSwap ? 32 : 48;
        EXPECT_EQ(picture.Width(), w) << c.orientation;
        EXPECT_EQ(picture.Height(), h) << c.orientation;
        const TBitmap& b = picture.Bitmap();
        ASSERT_EQ(b.Width(), w);
        ASSERT_EQ(b.Height(), h);
        auto at = [&](Corner corner) {
            return b.Pixel(corner == TL || corner == BL ? 4 : w - 5, corner == TL || corner == TR ? 4 : h - 5);
        };
        EXPECT_TRUE(test::Near(at(c.topLeftGoesTo), kTopLeft, 10)) << c.orientation;
        EXPECT_TRUE(test::Near(at(c.topRightGoesTo), kTopRight, 10)) << c.orientation;

        // The peer, turning the picture by the same tag, sees the same.
        TBitmap peer;
        if (!test::DecodeBytesWithPeer(bytes, peer))
            continue;
        ASSERT_EQ(peer.Width(), w) << c.orientation;
        EXPECT_LT(test::MeanAbsDiff(peer, b), 1.0) << c.orientation;
    }
}

TEST(JpegExifOrientation, TheOrientationHoldsAtEveryScaleAndOutput)
{
    const auto bytes = test::WithSegment(test::EncodeForTest(Stored()), 0xE1, test::ExifOrientationBlock(6));
    for (TJPEGPixelFormat format : {TJPEGPixelFormat::jf24Bit, TJPEGPixelFormat::jf8Bit}) {
        TJPEGPicture picture = test::LoadJpeg(bytes);
        picture.SetScale(TJPEGScale::jsHalf);
        picture.SetPixelFormat(format);
        const TBitmap& b = picture.Bitmap();
        ASSERT_EQ(b.Width(), 24);
        ASSERT_EQ(b.Height(), 16);
        EXPECT_TRUE(test::Near(b.Pixel(21, 2), kTopLeft, 40));
        EXPECT_TRUE(test::Near(b.Pixel(21, 13), kTopRight, 40));
    }
}

TEST(JpegExifOrientation, OnlyTheFirstExifBlockCounts)
{
    const auto plain = test::EncodeForTest(Stored());
    // Inserted after SOI each, so the last one inserted comes first.
    auto bytes = test::WithSegment(plain, 0xE1, test::ExifOrientationBlock(3));
    bytes = test::WithSegment(bytes, 0xE1, test::ExifOrientationBlock(6));
    EXPECT_EQ(test::LoadJpeg(bytes).Orientation(), 6);
    // XMP shares the segment type and is skipped.
    std::vector<uint8_t> xmp{'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0};
    EXPECT_EQ(test::LoadJpeg(test::WithSegment(test::WithSegment(plain, 0xE1, test::ExifOrientationBlock(8)), 0xE1, xmp)).Orientation(), 8);
}

}  // namespace
}  // namespace kobalto
