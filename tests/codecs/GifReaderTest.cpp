// Reading GIF files: tables, interlacing, transparency, several frames,
// extensions, and the failures of damaged and hostile files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/TMemoryStream.h"
#include "codecs/gif/GifError.h"
#include "codecs/gif/GifInterlace.h"
#include "codecs/gif/TGIFPicture.h"
#include "tests/codecs/GifTestBuilder.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::GifBuilder;

const TColor kRed{255, 0, 0};
const TColor kGreen{0, 255, 0};
const TColor kBlue{0, 0, 255};
const TColor kGrey{90, 90, 90};

TGIFPicture Load(const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream(bytes);
    TGIFPicture gif;
    gif.LoadFromStream(stream);
    return gif;
}

// The picture drawn on a grey bitmap of its size.
TBitmap Drawn(const TGIFPicture& gif)
{
    TBitmap target(gif.Width(), gif.Height());
    target.Fill(kGrey);
    gif.Draw(target, 0, 0);
    return target;
}

std::vector<std::vector<TColor>> Colors(const TBitmap& b)
{
    std::vector<std::vector<TColor>> rows(static_cast<size_t>(b.Height()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            rows[static_cast<size_t>(y)].push_back(b.Pixel(x, y));
    return rows;
}

std::string ErrorOf(const std::vector<uint8_t>& bytes)
{
    try {
        Load(bytes);
    } catch (const EGIFException& e) {
        return e.what();
    }
    return "no error";
}

TEST(GifReader, ReadsInterlacedRowsInTheirPlaces)
{
    // Eleven rows, row y of index y % 4; stored as rows 0, 8, 4, 2, 6, 10,
    // 1, 3, 5, 7, 9.
    const int order[] = {0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9};
    std::vector<uint8_t> stored;
    for (int y : order)
        stored.insert(stored.end(), 2, static_cast<uint8_t>(y % 4));
    const auto bytes = GifBuilder(2, 11, {kRed, kGreen, kBlue, kBlack}, "87a")
                           .Image(0, 0, 2, 11, stored, 2, {}, true)
                           .Finish();
    const TBitmap b = Drawn(Load(bytes));
    const TColor byIndex[] = {kRed, kGreen, kBlue, kBlack};
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(b.Pixel(x, y), byIndex[y % 4]) << "row " << y;
}

TEST(GifReader, LeavesTransparentPixelsAsTheTargetWas)
{
    const auto bytes = GifBuilder(3, 1, {kRed, kGreen})
                           .GraphicControl(true, 1)
                           .Image(0, 0, 3, 1, {0, 1, 0}, 2)
                           .Finish();
    const TGIFPicture gif = Load(bytes);
    EXPECT_EQ(gif.Frames()[0].TransparentIndex(), 1);
    EXPECT_EQ(Colors(Drawn(gif)), (std::vector<std::vector<TColor>>{{kRed, kGrey, kRed}}));
}

TEST(GifReader, ReadsEveryFrameAndDrawsTheFirst)
{
    // Global red/green; frame 1 at (1, 0) uses it, frame 2 has a local table.
    const auto bytes = GifBuilder(3, 2, {kRed, kGreen})
                           .Extension(0xFF, {"NETSCAPE2.0", std::string("\x01\x00\x00", 3)})
                           .GraphicControl(false, 0, 2)
                           .Image(1, 0, 2, 2, {0, 1, 1, 0}, 2)
                           .Extension(0xFE, {"second frame"})
                           .Image(0, 0, 3, 2, {1, 1, 1, 1, 1, 1}, 2, {kBlue, kBlack})
                           .Finish();
    const TGIFPicture gif = Load(bytes);
    ASSERT_EQ(gif.Frames().Count(), 2);
    EXPECT_EQ(gif.Width(), 3);
    EXPECT_EQ(gif.Height(), 2);
    EXPECT_EQ(gif.Frames()[0].extensions.size(), 2u);
    EXPECT_EQ(gif.Frames()[0].GraphicControl()->Disposal(), 2);
    EXPECT_EQ(gif.Frames()[1].colorMap.Colors(), (std::vector<TColor>{kBlue, kBlack}));
    EXPECT_EQ(gif.Frames()[1].data, (std::vector<uint8_t>(6, 1)));
    EXPECT_EQ(Colors(Drawn(gif)), (std::vector<std::vector<TColor>>{{kGrey, kRed, kGreen}, {kGrey, kGreen, kRed}}));
}

TEST(GifReader, SkipsCommentApplicationPlainTextAndUnknownExtensions)
{
    const auto bytes = GifBuilder(1, 1, {kBlue})
                           .Extension(0xFE, {"a comment", "more"})
                           .Extension(0xFE, {})
                           .Extension(0x01, {std::string(12, '\0'), "text"})
                           .Extension(0x2A, {"Hello"})
                           .Extension(0xFF, {"XMP DataXMP", std::string(255, 'x')})
                           .Image(0, 0, 1, 1, {0}, 2)
                           .Finish();
    EXPECT_EQ(Colors(Drawn(Load(bytes))), (std::vector<std::vector<TColor>>{{kBlue}}));
}

TEST(GifReader, KeepsCompleteFramesWhenTheFileGoesOnWithoutTrailer)
{
    const auto base = GifBuilder(1, 1, {kGreen}).Image(0, 0, 1, 1, {0}, 2);
    auto junk = base.WithoutTrailer();
    junk.insert(junk.end(), {'G', 'I', 'F', '8', '9', 'a'});
    for (const auto& bytes : {base.WithoutTrailer(), junk}) {
        const TGIFPicture gif = Load(bytes);
        EXPECT_EQ(gif.Frames().Count(), 1);
        EXPECT_EQ(Drawn(gif).Pixel(0, 0), kGreen);
    }
}

TEST(GifReader, RaisesItsMessagesForDamagedFiles)
{
    const std::vector<TColor> two{kRed, kGreen};
    auto withCode = [&](std::vector<uint8_t> raw) {
        return GifBuilder(2, 1, two).RawImage(0, 0, 2, 1, raw).Finish();
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    std::vector<Case> cases{
        {"empty file", {}, "Invalid GIF signature"},
        {"not a GIF", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "Invalid GIF signature"},
        {"version 90a", GifBuilder(1, 1, two, "90a").Finish(), "Unsupported GIF version"},
        {"cut in the screen descriptor", {'G', 'I', 'F', '8', '9', 'a', 1, 0}, "Premature end of data"},
        {"no image before the trailer", GifBuilder(1, 1, two).Finish(), "Premature end of data"},
        {"unknown block before any image", GifBuilder(1, 1, two).Byte(0x00).Finish(), "Unknown GIF block type"},
        {"code size 12", withCode({12, 2, 0x00, 0x10, 0}), "Invalid GIF data"},
        {"code size 0", withCode({0, 1, 0x00, 0}), "Invalid GIF data"},
        // Clear (4), then code 7 before any colour.
        {"table code first", withCode({2, 1, 0x3C, 0}), "Invalid GIF data"},
        // Clear, 0, then 7 while 6 is the next free code.
        {"code beyond the table", withCode({2, 2, 0xC4, 0x01, 0}), "Invalid GIF data"},
        {"frame without area", GifBuilder(1, 1, two).Image(0, 0, 0, 1, {}, 2).Finish(), "Invalid GIF data"},
        {"graphic control block too short",
         GifBuilder(1, 1, two).Extension(0xF9, {"ab"}).Image(0, 0, 1, 1, {0}, 2).Finish(), "Invalid GIF data"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.bytes), c.message) << c.name;
}

TEST(GifReader, RefusesPicturesAboveThePixelCap)
{
    EXPECT_EQ(ErrorOf(GifBuilder(65535, 65535, {kRed}).Image(0, 0, 1, 1, {0}, 2).Finish()),
              "Cannot load GIF image of 65535 x 65535 pixels: more than the limit of 268435456 pixels.");
    // A huge frame is refused before its pixels exist; after a complete
    // frame it ends the reading instead.
    const auto huge = [](GifBuilder b) { return b.RawImage(0, 0, 65535, 65535, {2, 1, 0x04, 0}).Finish(); };
    EXPECT_NE(ErrorOf(huge(GifBuilder(4, 4, {kRed}))).find("65535 x 65535"), std::string::npos);
    const TGIFPicture gif = Load(huge(GifBuilder(4, 4, {kRed}).Image(0, 0, 1, 1, {0}, 2)));
    EXPECT_EQ(gif.Frames().Count(), 1);
}

TEST(GifReader, ClipsFramesToTheLogicalScreen)
{
    // Frames reaching out of a 2 x 2 screen, or lying wholly outside it,
    // draw only what is inside.
    struct Case {
        uint16_t left, top, width, height;
        std::vector<std::vector<TColor>> expected;
    };
    const Case cases[] = {
        {1, 1, 3, 3, {{kGrey, kGrey}, {kGrey, kRed}}},
        {0, 0, 5, 1, {{kRed, kRed}, {kGrey, kGrey}}},
        {65535, 65535, 2, 2, {{kGrey, kGrey}, {kGrey, kGrey}}},
        {2, 0, 1, 1, {{kGrey, kGrey}, {kGrey, kGrey}}},
    };
    for (const Case& c : cases)
    for (bool interlaced : {false, true}) {
        std::vector<uint8_t> pixels(static_cast<size_t>(c.width) * c.height, 0);
        const TGIFPicture gif =
            Load(GifBuilder(2, 2, {kRed}).Image(c.left, c.top, c.width, c.height, pixels, 2, {}, interlaced).Finish());
        EXPECT_EQ(Colors(Drawn(gif)), c.expected) << c.left << "," << c.top << " interlaced " << interlaced;
        // Drawn at an offset onto a larger target, nothing leaves the screen.
        TBitmap large(6, 6);
        gif.Draw(large, 3, 3);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                if (x < 3 || y < 3 || x > 4 || y > 4) {
                    EXPECT_EQ(large.Pixel(x, y), kWhite) << x << "," << y;
                }
    }
}

TEST(GifReader, LeavesPixelsTheDataNeverReachedUndrawn)
{
    // Clear (4), 0, 1, end (5): two of six pixels. Interlaced: those two are
    // the first stored row, image row 0.
    for (bool interlaced : {false, true}) {
        auto bytes = GifBuilder(2, 3, {kRed, kGreen}).WithoutTrailer();
        const std::vector<uint8_t> image{0x2C, 0, 0, 0, 0, 2, 0, 3, 0, static_cast<uint8_t>(interlaced ? 0x40 : 0),
                                         2, 2, 0x44, 0x0A, 0, 0x3B};
        bytes.insert(bytes.end(), image.begin(), image.end());
        EXPECT_EQ(Colors(Drawn(Load(bytes))),
                  (std::vector<std::vector<TColor>>{{kRed, kGreen}, {kGrey, kGrey}, {kGrey, kGrey}}))
            << "interlaced " << interlaced;
    }
}

// A frame keeps only what the screen shows of it and what its data reaches,
// however large its descriptor: a few bytes never cost a frame's worth.
TEST(GifReader, KeepsOnlyShownPixelsTheDataReaches)
{
    const std::string slow = std::string(KOBALTO_TEST_DATA_DIR) + "/slow/";
    // Clear (4), 0, end (5) in 3-bit codes: one pixel.
    const std::vector<uint8_t> onePixel{2, 2, 0x44, 0x01, 0};
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int width, height;  // of the frame kept
        size_t maxData;
    };
    const Case cases[] = {
        {"interlaced 17993 x 14648 frame on a 1 x 15121 screen",
         test::ReadBytes(slow + "gif-interlaced-frame-far-beyond-a-narrow-screen.gif"), 1, 14648, 14648},
        {"frame below a 32 x 32 screen", test::ReadBytes(slow + "gif-frame-wholly-below-the-screen.gif"), 0, 0, 0},
        {"16000 x 16000 frame on a 32 x 32 screen", GifBuilder(32, 32, {kRed}).RawImage(0, 0, 16000, 16000, onePixel).Finish(),
         32, 32, 32},
        {"40000 x 6000 frame defining the screen", GifBuilder(0, 0, {kRed}).RawImage(0, 0, 40000, 6000, onePixel).Finish(),
         40000, 6000, 40000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TGIFPicture gif = Load(c.file);
        ASSERT_GE(gif.Frames().Count(), 1);
        const TGIFFrame& frame = gif.Frames()[0];
        EXPECT_EQ(frame.width, c.width);
        EXPECT_EQ(frame.height, c.height);
        EXPECT_LE(frame.data.size(), c.maxData);
        if (frame.width > 0 && gif.Width() * gif.Height() <= 32 * 32) {
            // Written back, the frame is what the screen showed, rows the
            // data never reached as index 0.
            TMemoryStream out;
            gif.SaveToStream(out);
            const TGIFPicture again = Load(out.Bytes());
            EXPECT_EQ(again.Frames()[0].data, std::vector<uint8_t>(size_t{32} * 32, 0));
        }
    }
}

TEST(GifReader, CutsInterlacedFramesAtTheScreenEdge)
{
    // Five columns by eleven rows, pixel (x, y) of index (x + y) % 4, on a
    // 3 x 6 screen: only the top-left 3 x 6 is kept, each in its place.
    const int order[] = {0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9};
    std::vector<uint8_t> stored;
    for (int y : order)
        for (int x = 0; x < 5; ++x)
            stored.push_back(static_cast<uint8_t>((x + y) % 4));
    const TGIFPicture gif =
        Load(GifBuilder(3, 6, {kRed, kGreen, kBlue, kBlack}).Image(0, 0, 5, 11, stored, 2, {}, true).Finish());
    const TBitmap b = Drawn(gif);
    const TColor byIndex[] = {kRed, kGreen, kBlue, kBlack};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b.Pixel(x, y), byIndex[(x + y) % 4]) << x << "," << y;
    EXPECT_EQ(gif.Frames()[0].data.size(), 18u);
}

TEST(GifInterlace, StoredRowIsThePlaceInTheRowOrder)
{
    EXPECT_EQ(GifRowOrder(11, true), (std::vector<int>{0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9}));
    for (int height = 1; height <= 40; ++height)
        for (bool interlaced : {false, true}) {
            const std::vector<int> order = GifRowOrder(height, interlaced);
            ASSERT_EQ(order.size(), static_cast<size_t>(height));
            for (size_t i = 0; i < order.size(); ++i)
                EXPECT_EQ(GifStoredRow(order[i], height, interlaced), i) << height << " rows, row " << order[i];
        }
}

TEST(GifReader, SurvivesTruncationAtEveryLength)
{
    const auto bytes = GifBuilder(5, 4, {kRed, kGreen, kBlue, kBlack})
                           .Extension(0xFE, {"comment"})
                           .GraphicControl(true, 3)
                           .Image(0, 0, 5, 4, std::vector<uint8_t>(20, 2), 2)
                           .Image(1, 1, 3, 2, {0, 1, 2, 3, 0, 1}, 2, {kGreen, kRed})
                           .Finish();
    // The first frame's last data byte; from there on the first frame is
    // whole and the picture loads.
    size_t firstComplete = 0;
    for (size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        try {
            const TGIFPicture gif = Load(cut);
            if (!firstComplete)
                firstComplete = n;
            EXPECT_GE(gif.Frames().Count(), 1);
            Drawn(gif);
        } catch (const EGIFException& e) {
            EXPECT_EQ(firstComplete, 0u) << "failed at " << n << " after loading at " << firstComplete;
            EXPECT_STREQ(e.what(), n < 3 ? "Invalid GIF signature" : "Premature end of data") << n;
        }
    }
    EXPECT_GT(firstComplete, 13u);
    EXPECT_EQ(Load(bytes).Frames().Count(), 2);
}

TEST(GifPicture, WritesAndReadsBackWhatItHolds)
{
    const auto bytes = GifBuilder(4, 3, {kRed, kGreen, kBlue})
                           .GraphicControl(true, 2)
                           .Image(0, 0, 4, 3, {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2}, 2)
                           .Extension(0xFE, {"note"})
                           .Image(1, 1, 2, 2, {1, 0, 0, 1}, 2, {kBlack, kWhite})
                           .Finish();
    const TGIFPicture original = Load(bytes);
    TMemoryStream out;
    original.SaveToStream(out);
    const TGIFPicture again = Load(out.Bytes());
    ASSERT_EQ(again.Frames().Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(again.Frames()[i].data, original.Frames()[i].data);
        EXPECT_EQ(again.Frames()[i].ActiveColorMap(again.Header()).Colors(),
                  original.Frames()[i].ActiveColorMap(original.Header()).Colors());
        EXPECT_EQ(again.Frames()[i].TransparentIndex(), original.Frames()[i].TransparentIndex());
    }
    EXPECT_EQ(Colors(Drawn(again)), Colors(Drawn(original)));

    TMemoryStream none;
    try {
        TGIFPicture().SaveToStream(none);
        FAIL() << "a picture without frames was written";
    } catch (const EGIFException& e) {
        EXPECT_STREQ(e.what(), "Unsupported GIF version");
    }
}

}  // namespace
}  // namespace kobalto
