#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "base/Exceptions.h"
#include "base/TFileStream.h"
#include "base/TMemoryStream.h"
#include "base/Text.h"
#include "imaging/LoadImageFile.h"
#include "imaging/SaveImageFile.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(SaveImageFile, TheLowerCasedExtensionChoosesTheWriter)
{
    test::TempDir dir;
    TBitmap b = test::PatternBitmap(5, 3);
    const struct {
        const char* name;
        const char* magic;  // nullptr: not accepted, nothing written
    } cases[] = {
        {"a.bmp", "BM"},     {"b.BMP", "BM"},       {"c.tif", "II"},        {"d.TGA", "\0\0"},
        {"e.jpeg", "\xFF\xD8"}, {"f.tiff", "II"},      {"g.dib", "BM"},        {"h.RLE", "BM"},
        {"i.txt", nullptr},  {"j.PNG", "\x89P"},    {"k.JPEG", "\xFF\xD8"}, {"l.ICO", "\0\0"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File(c.name);
        EXPECT_EQ(SaveImageFile(b, path, false, 0), c.magic != nullptr) << c.name;
        EXPECT_EQ(test::FileExists(path), c.magic != nullptr) << c.name;
        if (c.magic) {
            auto bytes = test::ReadBytes(path);
            ASSERT_GE(bytes.size(), 2u);
            EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 2), std::string(c.magic, 2)) << c.name;
        }
    }
}

TEST(SaveImageFile, AcceptedExtensionsWithoutAWriterRaiseNamingTheFileAndKeepAnOldOne)
{
    test::TempDir dir;
    TBitmap b = test::PatternBitmap(5, 3);
    for (const char* name : {"a.psp", "b.EPS", "c.rla", "d.fax", "e.ti"}) {
        const std::string path = dir.File(name);
        test::WriteBytes(path, {7, 7});
        try {
            SaveImageFile(b, path, false, 0);
            ADD_FAILURE() << name;
        } catch (const EInvalidGraphicOperation& e) {
            const std::string ext = std::string(name).substr(1);
            EXPECT_EQ(std::string(e.what()), path + ": Kobalto cannot write " + LowerAscii(ext) + " files");
        }
        EXPECT_EQ(test::ReadBytes(path), (std::vector<uint8_t>{7, 7})) << name;
    }
}

TEST(SaveImageFile, AnExistingReadOnlyFileIsMadeWritableWhateverTheExtension)
{
    test::TempDir dir;
    TBitmap b(2, 2);
    for (const char* name : {"keep.txt", "over.bmp"}) {
        const std::string path = dir.File(name);
        test::WriteBytes(path, {1, 2, 3});
        ::chmod(path.c_str(), 0444);
        SaveImageFile(b, path, false, 0);
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_TRUE(st.st_mode & S_IWUSR) << name;
    }
    EXPECT_EQ(test::ReadBytes(dir.File("keep.txt")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_GT(test::ReadBytes(dir.File("over.bmp")).size(), 3u);
}

TEST(SaveImageFile, BmpOutputIs24BitWithPaddedRowsBottomUp)
{
    test::TempDir dir;
    TBitmap b = test::MakeBitmap(3, 2, [](int x, int y) { return TColor{static_cast<uint8_t>(10 * x), 0, static_cast<uint8_t>(y)}; });
    ASSERT_TRUE(SaveImageFile(b, dir.File("o.bmp"), false, 0));
    auto bytes = test::ReadBytes(dir.File("o.bmp"));
    ASSERT_EQ(bytes.size(), 14u + 40u + 2 * 12);
    EXPECT_EQ(bytes[28], 24);   // bits per pixel
    EXPECT_EQ(bytes[30], 0);    // no compression
    // First stored row is the bottom row (y = 1): blue 1, green 0, red 0.
    EXPECT_EQ(bytes[54], 1);
    EXPECT_EQ(bytes[54 + 3 + 2], 10);
    EXPECT_EQ(bytes[54 + 9], 0);  // padding
    EXPECT_EQ(bytes[54 + 12], 0);

    TBitmap indexed(3, 2, TPixelFormat::pf8bit);
    ASSERT_TRUE(SaveImageFile(indexed, dir.File("i.bmp"), false, 0));
    EXPECT_EQ(test::ReadBytes(dir.File("i.bmp"))[28], 24);
}

TEST(LoadImageFile, EightBitBmpStaysEightBitAndMissingFilesChangeNothing)
{
    test::TempDir dir;
    TBitmap b(4, 3, TPixelFormat::pf8bit);
    b.SaveToFile(dir.File("p.bmp"));
    PictureHolder holder;
    EXPECT_TRUE(LoadImageFile(holder, dir.File("p.bmp"), true));
    EXPECT_EQ(holder.Bitmap().PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_FALSE(LoadImageFile(holder, dir.File("none.bmp"), true));
    EXPECT_FALSE(LoadImageFile(holder, dir.File("p.txt"), true));
    EXPECT_EQ(holder.Bitmap().Width(), 4);
    int pumped = 0;
    EXPECT_TRUE(LoadImageFile(holder, dir.File("p.bmp"), true, [&] { ++pumped; }));
    EXPECT_EQ(pumped, 1);
}

TEST(LoadImageFile, TheHoldersFlagMarksEveryPlacedPictureTransparent)
{
    test::TempDir dir;
    TBitmap(4, 3).SaveToFile(dir.File("p.bmp"));
    PictureHolder holder;
    holder.SetTransparentFlag(true);
    ASSERT_TRUE(LoadImageFile(holder, dir.File("p.bmp"), true));
    EXPECT_TRUE(holder.Bitmap().Transparent());
    holder.SetTransparentFlag(false);
    ASSERT_TRUE(LoadImageFile(holder, dir.File("p.bmp"), true));
    EXPECT_FALSE(holder.Bitmap().Transparent());
}

TEST(FillBlankPicture, IsAtLeastTwoByTwoInTheColour)
{
    PictureHolder holder;
    holder.SetNominalSize(8, 1);
    ASSERT_TRUE(FillBlankPicture(holder, kBlack));
    EXPECT_EQ(holder.Bitmap().Width(), 8);
    EXPECT_EQ(holder.Bitmap().Height(), 2);
    EXPECT_EQ(holder.Bitmap().Pixel(7, 1), kBlack);
    EXPECT_EQ(holder.Bitmap().PixelFormat(), TPixelFormat::pf24bit);
}

}  // namespace
}  // namespace kobalto
