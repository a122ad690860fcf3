#include <gtest/gtest.h>

#include <cstring>

#include "codecs/png/PngErrors.h"
#include "tests/codecs/PngTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using namespace pngtest;

constexpr TColor kGround{10, 20, 30};

struct Decoded {
    const char* what;
    Bytes file;
    std::vector<TColor> row;  // the first row drawn over kGround
};

TColor Grey(uint8_t v) { return TColor{v, v, v}; }

Bytes Plte(std::initializer_list<TColor> colors)
{
    Bytes d;
    for (TColor c : colors)
        d.insert(d.end(), {c.red, c.green, c.blue});
    return Chunk("PLTE", d);
}

Bytes U16(uint16_t v) { return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}; }

std::vector<Decoded> Cases()
{
    const TColor red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
    // Half-covering alpha 128 over kGround: (s * 128 + 127 * t + 255) >> 8.
    const TColor grey200Half{105, 110, 115};
    return {
        {"grey 1 bit", File(Ihdr(4, 1, 1, 0), {0, 0xB0}), {white, Grey(0), white, white}},
        {"grey 2 bits", File(Ihdr(4, 1, 2, 0), {0, 0x1B}), {Grey(0), Grey(85), Grey(170), white}},
        {"grey 4 bits", File(Ihdr(3, 1, 4, 0), {0, 0x07, 0xF0}), {Grey(0), Grey(119), white}},
        {"grey 8 bits", File(Ihdr(2, 1, 8, 0), {0, 9, 200}), {Grey(9), Grey(200)}},
        {"grey 16 bits keeps the high byte", File(Ihdr(2, 1, 16, 0), {0, 0x12, 0xFF, 0xAB, 0x01}),
         {Grey(0x12), Grey(0xAB)}},
        {"RGB 8 bits", File(Ihdr(2, 1, 8, 2), {0, 1, 2, 3, 250, 251, 252}), {{1, 2, 3}, {250, 251, 252}}},
        {"RGB 16 bits", File(Ihdr(1, 1, 16, 2), {0, 1, 2, 3, 4, 0xFF, 0}), {{1, 3, 255}}},
        {"palette 1 bit", File(Ihdr(3, 1, 1, 3), {0, 0x40}, {Plte({red, green})}), {red, green, red}},
        {"palette 2 bits", File(Ihdr(4, 1, 2, 3), {0, 0xE4}, {Plte({red, green, blue, white})}),
         {white, blue, green, red}},
        {"palette 4 bits", File(Ihdr(3, 1, 4, 3), {0, 0x21, 0x00}, {Plte({red, green, blue})}), {blue, green, red}},
        {"palette 8 bits", File(Ihdr(2, 1, 8, 3), {0, 1, 0}, {Plte({red, green})}), {green, red}},
        {"an index the palette lacks is black", File(Ihdr(2, 1, 8, 3), {0, 5, 0}, {Plte({red})}), {kBlack, red}},
        {"grey and alpha 8 bits", File(Ihdr(3, 1, 8, 4), {0, 100, 255, 100, 0, 200, 128}),
         {Grey(100), kGround, grey200Half}},
        {"grey and alpha 16 bits", File(Ihdr(2, 1, 16, 4), {0, 200, 9, 128, 77, 50, 1, 0, 255}),
         {grey200Half, kGround}},
        {"RGBA 8 bits", File(Ihdr(2, 1, 8, 6), {0, 1, 2, 3, 255, 200, 200, 200, 128}), {{1, 2, 3}, grey200Half}},
        {"RGBA 16 bits", File(Ihdr(1, 1, 16, 6), {0, 200, 0, 200, 1, 200, 2, 128, 3}), {grey200Half}},
        {"a grey 16-bit key matches all 16 bits",
         File(Ihdr(2, 1, 16, 0), {0, 0x12, 0x34, 0x12, 0x35}, {Chunk("tRNS", U16(0x1234))}), {kGround, Grey(0x12)}},
        {"an RGB key", File(Ihdr(2, 1, 8, 2), {0, 1, 2, 3, 1, 2, 4}, {Chunk("tRNS", {0, 1, 0, 2, 0, 3})}),
         {kGround, {1, 2, 4}}},
        {"an RGB 16-bit key", File(Ihdr(2, 1, 16, 2), {0, 1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 4}, {Chunk("tRNS", {1, 1, 2, 2, 3, 3})}),
         {kGround, {1, 2, 3}}},
        {"a grey 4-bit key", File(Ihdr(2, 1, 4, 0), {0, 0x7F}, {Chunk("tRNS", U16(7))}), {kGround, white}},
        {"a key beyond the bit depth matches nothing", File(Ihdr(2, 1, 1, 0), {0, 0x40}, {Chunk("tRNS", U16(0xFF))}),
         {Grey(0), white}},
        {"palette alpha", File(Ihdr(3, 1, 8, 3), {0, 0, 1, 2}, {Plte({red, Grey(200), blue}), Chunk("tRNS", {0, 128})}),
         {kGround, grey200Half, blue}},
        {"a tRNS after the image data is too late for a key",
         Concat({kSignature, Chunk("IHDR", Ihdr(1, 1, 8, 2)), Chunk("IDAT", Deflate({0, 1, 2, 3})),
                 Chunk("tRNS", {0, 1, 0, 2, 0, 3}), Chunk("IEND", {})}),
         {{1, 2, 3}}},
        {"gamma 1.0 brightens for a 2.2 display", File(Ihdr(2, 1, 8, 0), {0, 128, 255}, {Chunk("gAMA", {0, 1, 0x86, 0xA0})}),
         {Grey(186), white}},
        {"gamma 1/2.2 changes nothing", File(Ihdr(1, 1, 8, 2), {0, 128, 64, 32}, {Chunk("gAMA", {0, 0, 0xB1, 0x8F})}),
         {{128, 64, 32}}},
        {"a damaged ancillary chunk is dropped",
         File(Ihdr(2, 1, 8, 2), {0, 1, 2, 3, 1, 2, 4}, {Chunk("cHRM", Bytes(32, 0), 1), Chunk("tRNS", {0, 1, 0, 2, 0, 3}, 1)}),
         {{1, 2, 3}, {1, 2, 4}}},
        {"gamma of the wrong size is ignored", File(Ihdr(1, 1, 8, 0), {0, 128}, {Chunk("gAMA", {0, 1, 0x86})}),
         {Grey(128)}},
        {"gamma after the image data is ignored",
         Concat({kSignature, Chunk("IHDR", Ihdr(1, 1, 8, 0)), Chunk("IDAT", Deflate({0, 128})),
                 Chunk("gAMA", {0, 1, 0x86, 0xA0}), Chunk("IEND", {})}),
         {Grey(128)}},
    };
}

TEST(PngDecode, EveryColourTypeAndDepthDrawsItsPixels)
{
    for (const Decoded& c : Cases()) {
        SCOPED_TRACE(c.what);
        TPNGPicture png;
        try {
            png = Load(c.file);
        } catch (const Exception& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        const int w = static_cast<int>(c.row.size());
        ASSERT_EQ(png.Width(), w);
        TBitmap target(w, 1);
        target.Fill(kGround);
        png.Draw(target, 0, 0);
        for (int x = 0; x < w; ++x) {
            const TColor got = target.Pixel(x, 0), want = c.row[static_cast<size_t>(x)];
            EXPECT_EQ(got, want) << "x " << x << ": " << int(got.red) << "," << int(got.green) << "," << int(got.blue);
        }
    }
}

TEST(PngDecode, ImageDataMaySpreadOverManyChunksAndEndEarly)
{
    const Bytes rows = {1, 10, 20, 30, 1, 1, 1, 2, 40, 50, 60, 0, 0, 0};
    const Bytes z = Deflate(rows);
    Bytes file = Concat({kSignature, Chunk("IHDR", Ihdr(2, 2, 8, 2))});
    for (size_t i = 0; i < z.size(); ++i) {
        file = Concat({file, Chunk("IDAT", {z[i]})});
        if (i == 3)
            file = Concat({file, Chunk("IDAT", {})});
    }
    // Data after the end of the stream and a further IDAT are skipped.
    file = Concat({file, Chunk("IDAT", {1, 2, 3}), Chunk("IEND", {})});
    const TPNGPicture png = Load(file);
    TBitmap target(2, 2);
    png.Draw(target, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), (TColor{10, 20, 30}));
    EXPECT_EQ(target.Pixel(1, 0), (TColor{11, 21, 31}));
    EXPECT_EQ(target.Pixel(0, 1), (TColor{50, 70, 90}));
    EXPECT_EQ(target.Pixel(1, 1), (TColor{11, 21, 31}));

    // Without the adler checksum the rows are still all there; so they are
    // when the stream goes on far past them, its end never reached.
    const Bytes cut(z.begin(), z.end() - 4);
    Bytes longer = rows;
    longer.resize(200000, 0);
    for (const Bytes& data : {cut, Deflate(longer)}) {
        const TPNGPicture loaded =
            Load(Concat({kSignature, Chunk("IHDR", Ihdr(2, 2, 8, 2)), Chunk("IDAT", data), Chunk("IEND", {})}));
        TBitmap b(2, 2);
        loaded.Draw(b, 0, 0);
        EXPECT_EQ(b.Pixel(0, 1), (TColor{50, 70, 90}));
    }
}

TEST(PngDecode, PicturesOfManyMegabytesReadBackWholeWithAndWithoutInterlacing)
{
    // Past a few megabytes of image data the rows already read go back to
    // the system while the picture fills; every row must still arrive.
    const TBitmap source = test::PatternBitmap(2100, 1300);
    for (uint8_t interlace : {0, 1}) {
        TPNGPicture png;
        png.AssignBitmap(source);
        png.SetInterlaceMethod(interlace);
        png.SetFilterSet(0x1F);
        const TPNGPicture loaded = Load(Save(png));
        TBitmap back(source.Width(), source.Height());
        loaded.Draw(back, 0, 0);
        for (int y = 0; y < source.Height(); ++y)
            ASSERT_EQ(std::memcmp(back.ScanLine(y), source.ScanLine(y), 3 * size_t{2100}), 0)
                << "row " << y << ", interlace " << int(interlace);
    }
}

TEST(PngDecode, ALoadedPictureWritesBackItsPixelsAndTheChunksItKeeps)
{
    const Bytes file = File(Ihdr(2, 1, 16, 4), {0, 200, 9, 128, 77, 50, 1, 0, 255},
                            {Chunk("gAMA", {0, 0, 0xB1, 0x8F}), Chunk("cHRM", Bytes(32, 1)), Chunk("tEXt", {'k', 0, 'v'}),
                             Chunk("zzZz", {1}), Chunk("zzZZ", {2})});
    const Bytes saved = Save(Load(file));
    std::vector<std::string> names;
    for (const ChunkInfo& c : Chunks(saved))
        names.push_back(c.name);
    // Grey with alpha comes back as RGBA; the chunks that may be copied stay.
    EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "gAMA", "tEXt", "zzZz", "IDAT", "IEND"}));
    EXPECT_EQ(saved[8 + 8 + 9], 6);
    TBitmap target(2, 1);
    target.Fill(kGround);
    Load(saved).Draw(target, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), (TColor{105, 110, 115}));
    EXPECT_EQ(target.Pixel(1, 0), kGround);
}

}  // namespace
}  // namespace kobalto
