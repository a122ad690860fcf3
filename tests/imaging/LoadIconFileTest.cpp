// The icon path of loading: which reader takes a file, what the holder gets,
// and that a file no reader takes leaves nothing behind.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "codecs/icon/TIcon.h"
#include "imaging/LoadImageFile.h"
#include "imaging/SaveImageFile.h"
#include "imaging/Scaling.h"
#include "tests/formats/IconTestBuilder.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::IconImageSpec;

const TColor kTeal{0, 128, 128};
const TColor kRed{255, 0, 0};

// Teal at the bottom-left and along the diagonal, red elsewhere.
uint32_t TealDiagonal(int x, int y) { return x == y || (x == 0 && y == 15) ? 0x008080u : 0xFF0000u; }

TEST(LoadIconFile, ASingle32BitIconWhitensItsBottomLeftColourEverywhere)
{
    test::TempDir dir;
    const std::string path = dir.File("a.ico");
    test::WriteBytes(path, test::BuildIcon({IconImageSpec{.bits = 32, .pixel = TealDiagonal, .headerImageSize = 1024}}));
    PictureHolder holder;
    LoadIconFile(holder, path);
    const TBitmap& b = holder.Bitmap();
    ASSERT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Pixel(0, 15), kWhite);
    EXPECT_EQ(b.Pixel(5, 5), kWhite) << "inside the picture too";
    EXPECT_EQ(b.Pixel(1, 0), kRed);
}

TEST(LoadIconFile, OtherIconsGoToTheGeneralReaderWithTheEntrysSize)
{
    test::TempDir dir;
    const std::string path = dir.File("b.ico");
    // 8 bits; the diagonal masked, so white; the bottom-left teal stays teal.
    const IconImageSpec s{.bits = 8, .palette = {0x008080, 0xFF0000},
                          .pixel = [](int x, int y) { return TealDiagonal(x, y) == 0x008080u ? 0u : 1u; },
                          .masked = [](int x, int y) { return x == y; }};
    test::WriteBytes(path, test::BuildIcon({s, IconImageSpec{.width = 32, .height = 32, .bits = 32}}));
    PictureHolder holder;
    holder.SetGraphic(std::make_unique<TBitmap>(3, 3));
    LoadIconFile(holder, path);
    const TBitmap& b = holder.Bitmap();
    ASSERT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Pixel(0, 15), kTeal);
    // Masked teal: white AND the mask, XOR teal, gives teal inverted.
    EXPECT_EQ(b.Pixel(5, 5), (TColor{255, 127, 127}));
    EXPECT_EQ(b.Pixel(1, 0), kRed);
}

TEST(LoadIconFile, NothingDecodableClearsTheHolderAndNamesTheFile)
{
    test::TempDir dir;
    const std::string path = dir.File("broken.ico");
    std::vector<uint8_t> bytes = test::BuildIcon({IconImageSpec{.bits = 8}});
    bytes.pop_back();  // the mask's last byte is missing
    test::WriteBytes(path, bytes);
    PictureHolder holder;
    holder.SetGraphic(std::make_unique<TBitmap>(3, 3));
    try {
        LoadIconFile(holder, path);
        FAIL() << "no image can be read";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(std::string(e.what()), "No image of the icon file " + path + " can be read.");
    }
    EXPECT_EQ(holder.Graphic(), nullptr);

    holder.SetGraphic(std::make_unique<TBitmap>(3, 3));
    EXPECT_THROW(LoadIconFile(holder, dir.File("missing.ico")), EFOpenError);
    EXPECT_EQ(holder.Graphic(), nullptr);
}

TEST(LoadIconFile, AnIconThroughTheWholeLoadAndSave)
{
    test::TempDir dir;
    const std::string path = dir.File("c.ico");
    test::WriteBytes(path, test::BuildIcon({IconImageSpec{.width = 48, .height = 48, .bits = 24,
                                                          .pixel = [](int x, int y) { return uint32_t(x * 5 + y * 0x500); }}}));
    PictureHolder holder;
    LoadAndScaleImage(holder, false, path, 0.5);
    EXPECT_TRUE(holder.TransparentFlag());
    EXPECT_EQ(holder.Bitmap().Width(), 24);
    const std::string out = dir.File("out.ico");
    SaveImageFile(holder.Bitmap(), out, false, 0);
    EXPECT_EQ(test::ReadBytes(out).size(), 3262u) << "a 24-pixel picture becomes a 32-pixel icon";
    PictureHolder again;
    LoadIconFile(again, out);
    EXPECT_EQ(again.Bitmap().Width(), 32);
}

TEST(IconPicture, TheRegistryReadsIconsAsTheirFirstImage)
{
    EXPECT_EQ(TPicture::FileFormats().FindExt("ICO"), &IconClass());
    // The platform kinds' row before the bitmap's, the extended list's after its bitmap row.
    std::vector<std::string> seen;
    for (const auto& e : TPicture::FileFormats().Entries())
        if (e.extension == "ico" || e.extension == "bmp")
            seen.push_back(e.extension + ":" + e.description);
    EXPECT_EQ(seen, (std::vector<std::string>{"ico:アイコン", "bmp:ビットマップ", "bmp:Windows bitmaps",
                                              "ico:Windows icons"}));
    test::TempDir dir;
    const std::string path = dir.File("d.ico");
    test::WriteBytes(path, test::BuildIcon({IconImageSpec{.width = 7, .height = 3, .bits = 4}}));
    TPicture picture;
    picture.LoadFromFile(path);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_STREQ(picture.Graphic()->ClassName(), "TIcon");
    EXPECT_EQ(picture.Graphic()->Width(), 7);
    EXPECT_TRUE(picture.Graphic()->IsPlatformIcon());

    test::WriteBytes(path, {0, 0, 1, 0, 0, 0});
    EXPECT_THROW(picture.LoadFromFile(path), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic()->Width(), 7) << "a failed load keeps the previous picture";
}

}  // namespace
}  // namespace kobalto
