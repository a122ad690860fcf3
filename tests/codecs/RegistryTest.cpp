#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "codecs/registry/TFileFormatList.h"
#include "codecs/registry/TPicture.h"
#include "graphics/TBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

const TGraphicClass kFirst{"TFirst", [] { return std::make_unique<TBitmap>(); }, nullptr};
const TGraphicClass kSecond{"TSecond", [] { return std::make_unique<TBitmap>(); }, nullptr};
const TGraphicClass kChild{"TChild", [] { return std::make_unique<TBitmap>(); }, &kFirst};

TEST(PictureRegistry, NewestRegistrationWinsAndCaseDoesNotMatter)
{
    TFileFormatsList list;
    list.Add("PNG", "first", 0, &kFirst);
    list.Add("png", "second", 0, &kSecond);
    for (const char* ext : {"png", "PNG", "Png"})
        EXPECT_EQ(list.FindExt(ext), &kSecond) << ext;
    EXPECT_EQ(list.Entries()[0].extension, "png");
    EXPECT_EQ(list.FindExt("webp"), nullptr);
    EXPECT_EQ(list.FindExt(""), nullptr);
}

TEST(PictureRegistry, RemovingAClassTakesItsDescendantsToo)
{
    TFileFormatsList list;
    list.Add("a", "", 0, &kFirst);
    list.Add("b", "", 0, &kChild);
    list.Add("c", "", 0, &kSecond);
    list.Remove(&kFirst);
    EXPECT_EQ(list.FindExt("a"), nullptr);
    EXPECT_EQ(list.FindExt("b"), nullptr);
    EXPECT_EQ(list.FindExt("c"), &kSecond);
}

TEST(ExtendedList, RegisteringTwiceNeedsTheReplaceFlag)
{
    TFileFormatsList pictures;
    TFileFormatList list(pictures);
    list.RegisterFileFormat("tga", "Truevision images", "", fkRaster, false, &kFirst);
    list.RegisterFileFormat("TGA2", "", "Second kind", fkRaster, false, &kFirst);
    try {
        list.RegisterFileFormat("TgA", "", "", fkRaster, false, &kSecond);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Attempt to register TgA twice.");
    }
    ASSERT_EQ(list.Classes().size(), 1u);
    EXPECT_EQ(list.Classes()[0]->count, 2);
    // Descriptions reach the picture registry: the individual one first.
    EXPECT_EQ(pictures.Entries()[0].description, "Truevision images");
    EXPECT_EQ(pictures.Entries()[1].description, "Second kind");

    list.RegisterFileFormat("tga", "Other", "", fkRaster, true, &kSecond);
    EXPECT_EQ(pictures.FindExt("tga"), &kSecond);
    ASSERT_EQ(list.Classes().size(), 2u);
    EXPECT_EQ(list.Classes()[0]->count, 1);

    list.UnregisterClass(&kFirst);
    EXPECT_EQ(list.FindExtension("tga2"), nullptr);
    EXPECT_EQ(pictures.FindExt("tga2"), nullptr);
    EXPECT_EQ(list.Classes().size(), 1u);
    list.RegisterFileFormat("", "x", "", fkRaster, false, &kFirst);  // an empty extension does nothing
    EXPECT_EQ(list.Extensions().size(), 1u);
}

TEST(Picture, UnknownExtensionsRaiseNamingTheExtension)
{
    test::TempDir dir;
    const struct {
        const char* name;
        const char* message;
    } cases[] = {{"photo.webp", "拡張子 .webp の画像形式は処理できません"},
                 {"noextension", "拡張子 . の画像形式は処理できません"},
                 {"x.d/name", "拡張子 . の画像形式は処理できません"}};
    for (const auto& c : cases) {
        TPicture picture;
        try {
            picture.LoadFromFile(dir.File(c.name));
            ADD_FAILURE() << c.name;
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(Picture, AFailedLoadKeepsThePreviousPicture)
{
    test::TempDir dir;
    TBitmap b = test::PatternBitmap(3, 2);
    b.SaveToFile(dir.File("good.BMP"));
    test::WriteBytes(dir.File("bad.bmp"), {'B', 'M', 0, 0});
    TPicture picture;
    picture.LoadFromFile(dir.File("good.BMP"));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->Width(), 3);
    EXPECT_THROW(picture.LoadFromFile(dir.File("bad.bmp")), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic()->Width(), 3);
}

TEST(Picture, BitmapExtensionsResolveToTheBitmapClass)
{
    for (const char* ext : {"bmp", "DIB", "rle"}) {
        const TGraphicClass* c = TPicture::FileFormats().FindExt(ext);
        ASSERT_NE(c, nullptr) << ext;
        EXPECT_EQ(c->name, "TBitmap");
    }
}

TEST(Picture, ExtendedReaderExtensionsResolveToTheirClasses)
{
    const struct {
        const char* ext;
        const char* name;
    } cases[] = {
        {"pcx", "TPCXGraphic"}, {"PCC", "TPCXGraphic"},   {"scr", "TPCXGraphic"},      {"rla", "TRLAGraphic"},
        {"rpf", "TRLAGraphic"}, {"psd", "TPSDGraphic"},   {"Pdd", "TPSDGraphic"},      {"ppm", "TPPMGraphic"},
        {"pgm", "TPPMGraphic"}, {"pbm", "TPPMGraphic"},   {"cel", "TAutodeskGraphic"}, {"pic", "TAutodeskGraphic"},
        {"psp", "TPSPGraphic"}, {"png", "TPNGPicture"},   // the PNG codec registers after them
    };
    for (const auto& c : cases) {
        const TGraphicClass* cls = TPicture::FileFormats().FindExt(c.ext);
        ASSERT_NE(cls, nullptr) << c.ext;
        EXPECT_EQ(cls->name, c.name) << c.ext;
    }
}

}  // namespace
}  // namespace kobalto
