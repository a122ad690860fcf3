#include <gtest/gtest.h>

#include "imaging/LoadImageFile.h"
#include "imaging/SaveBitmapAsMetafile.h"
#include "imaging/SaveImageFile.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(SaveBitmapAsMetafile, ShrunkMetafilesLoadBackAsTheirBitmap)
{
    test::TempDir dir;
    const TBitmap b = test::PatternBitmap(31, 9);
    for (const char* name : {"a.wmf", "b.EMF"}) {
        TBitmap copy = b;
        const std::string path = dir.File(name);
        ASSERT_TRUE(SaveImageFile(copy, path, false, 0));
        PictureHolder holder;
        ASSERT_TRUE(LoadImageFile(holder, path, true));
        const TBitmap& got = holder.Bitmap();
        ASSERT_EQ(got.Width(), 31) << name;
        ASSERT_EQ(got.Height(), 9) << name;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 31; ++x)
                ASSERT_EQ(got.Pixel(x, y), b.Pixel(x, y)) << name << " " << x << "," << y;
    }
}

TEST(SaveBitmapAsMetafile, EachWriterTakesOnlyItsOwnExtension)
{
    test::TempDir dir;
    const TBitmap b = test::PatternBitmap(2, 2);
    SaveBitmapAsWmf(b, dir.File("x.emf"));
    SaveBitmapAsEmf(b, dir.File("y.wmf"));
    EXPECT_FALSE(test::FileExists(dir.File("x.emf")));
    EXPECT_FALSE(test::FileExists(dir.File("y.wmf")));
    SaveBitmapAsWmf(b, dir.File("x.WMF"));
    const auto bytes = test::ReadBytes(dir.File("x.WMF"));
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(bytes[0], 0xD7);
    EXPECT_EQ(bytes[14] | bytes[15] << 8, 96);
}

}  // namespace
}  // namespace kobalto
