// GIF files through the loading step: the registry finds the GIF picture
// and the picture becomes a 24-bit working bitmap drawn on white.
#include <gtest/gtest.h>

#include <vector>

#include "codecs/gif/TGIFPicture.h"
#include "codecs/registry/TPicture.h"
#include "imaging/LoadImageFile.h"
#include "tests/codecs/GifTestBuilder.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

const TColor kRed{255, 0, 0};
const TColor kBlue{0, 0, 255};

TEST(LoadGifFile, DeliversTheFirstFrameOnWhite)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<TColor> row0, row1;
    };
    const Case cases[] = {
        // A transparent colour comes out white.
        {"one frame, transparent",
         test::GifBuilder(2, 2, {kRed, kBlue}).GraphicControl(true, 1).Image(0, 0, 2, 2, {0, 1, 1, 0}, 2).Finish(),
         {kRed, kWhite},
         {kWhite, kRed}},
        // Several frames: the first one, over white where it does not reach.
        {"two frames",
         test::GifBuilder(2, 2, {kRed, kBlue})
             .Image(1, 0, 1, 2, {1, 0}, 2)
             .Image(0, 0, 2, 2, {0, 0, 0, 0}, 2)
             .Finish(),
         {kWhite, kBlue},
         {kWhite, kRed}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("Picture.GIF");
        test::WriteBytes(path, c.bytes);
        PictureHolder holder;
        ASSERT_TRUE(LoadImageFile(holder, path, true));
        TBitmap& b = holder.Bitmap();
        ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
        ASSERT_EQ(b.Width(), 2);
        ASSERT_EQ(b.Height(), 2);
        EXPECT_EQ((std::vector<TColor>{b.Pixel(0, 0), b.Pixel(1, 0)}), c.row0);
        EXPECT_EQ((std::vector<TColor>{b.Pixel(0, 1), b.Pixel(1, 1)}), c.row1);
    }
}

TEST(LoadGifFile, TheRegistryNamesTheGifPicture)
{
    const TGraphicClass* cls = TPicture::FileFormats().FindExt("GIF");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls, &GIFPictureClass());
    EXPECT_STREQ(cls->create()->ClassName(), "TGIFPicture");
}

}  // namespace
}  // namespace kobalto
