// Every GIF the saving step writes must read back, in two independent
// decoders, as the indices and colours written: giftext for the colour
// table and the raw indices, ImageMagick for the colours.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "codecs/gif/TGIFPicture.h"
#include "imaging/SaveBitmapAsGif.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

struct Picture {
    const char* name;
    TBitmap bitmap;
    bool marked;     // the holder's transparency
    bool requested;  // the transparency request
};

std::vector<Picture> Pictures()
{
    std::vector<Picture> p;
    p.push_back({"pattern", test::PatternBitmap(64, 48), false, false});
    p.push_back({"smooth gradient", test::MakeBitmap(300, 200, [](int x, int y) {
                     return TColor{static_cast<uint8_t>(x * 255 / 299), static_cast<uint8_t>(y * 255 / 199),
                                   static_cast<uint8_t>((x + y) * 255 / 498)};
                 }),
                 false, false});
    p.push_back({"one pixel", test::MakeBitmap(1, 1, [](int, int) { return TColor{1, 2, 3}; }), false, false});
    p.push_back({"two colours, odd size", test::MakeBitmap(17, 5, [](int x, int y) {
                     return (x + y) % 3 ? TColor{250, 250, 0} : TColor{0, 0, 90};
                 }),
                 false, false});
    p.push_back({"marked transparent", test::MakeBitmap(40, 30, [](int x, int y) {
                     return x < 10 ? TColor{255, 255, 255} : TColor{static_cast<uint8_t>(y * 8), 40, 200};
                 }),
                 true, false});
    p.push_back({"transparency requested", test::PatternBitmap(33, 21), false, true});
    return p;
}

// The first colour table giftext lists, as it reads it from the file.
std::vector<TColor> GiftextColorTable(const std::string& path)
{
    std::string out;
    EXPECT_EQ(test::RunCommand("giftext -c '" + path + "'", &out), 0);
    EXPECT_NE(out.find("GIF file terminated normally"), std::string::npos) << out;
    std::vector<TColor> table;
    const std::regex entry(R"((\d+): ([0-9a-f]{2})h ([0-9a-f]{2})h ([0-9a-f]{2})h)");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), entry); it != std::sregex_iterator(); ++it) {
        if (std::stoul((*it)[1]) != table.size())
            break;  // a second table starts over at 0
        table.push_back(TColor{static_cast<uint8_t>(std::stoul((*it)[2], nullptr, 16)),
                               static_cast<uint8_t>(std::stoul((*it)[3], nullptr, 16)),
                               static_cast<uint8_t>(std::stoul((*it)[4], nullptr, 16))});
    }
    return table;
}

TEST(SaveBitmapAsGifPeer, GiftextAndImageMagickReadTheIndicesAndColoursWritten)
{
    if (!test::HaveTool("giftext") || test::ImageMagickConvert().empty())
        GTEST_SKIP() << "giftext (giflib-tools) or ImageMagick missing: run tools/install-deps.sh";
    test::TempDir dir;
    for (Picture& p : Pictures()) {
        SCOPED_TRACE(p.name);
        const std::string path = dir.File("out.gif");
        p.bitmap.SetTransparent(p.marked);
        ASSERT_TRUE(SaveBitmapAsGif(p.bitmap, path, p.requested));

        TGIFPicture ours;
        ours.LoadFromFile(path);
        ASSERT_EQ(ours.Frames().Count(), 1);
        const TGIFFrame& frame = ours.Frames()[0];
        const std::vector<TColor>& map = frame.colorMap.Colors();
        const int transparent = frame.TransparentIndex();
        EXPECT_EQ(transparent >= 0, p.marked || p.requested);

        // giftext: the table (padded with black to a power of two) and the
        // indices, one byte each.
        const std::vector<TColor> table = GiftextColorTable(path);
        ASSERT_GE(table.size(), map.size());
        EXPECT_EQ(std::vector<TColor>(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(map.size())), map);
        std::string raw;
        ASSERT_EQ(test::RunCommand("giftext -r '" + path + "'", &raw), 0);
        EXPECT_EQ(std::vector<uint8_t>(raw.begin(), raw.end()), frame.data);

        // ImageMagick: the colours, white where transparent; and those are
        // the colours the reduced bitmap holds.
        TBitmap peer;
        ASSERT_TRUE(test::DecodeWithPeer(path, peer));
        ASSERT_EQ(peer.Width(), p.bitmap.Width());
        ASSERT_EQ(peer.Height(), p.bitmap.Height());
        for (int y = 0; y < peer.Height(); ++y)
            for (int x = 0; x < peer.Width(); ++x) {
                const int index = frame.Pixel(x, y);
                const TColor expected = index == transparent ? kWhite : map[static_cast<size_t>(index)];
                ASSERT_EQ(peer.Pixel(x, y), expected) << x << "," << y;
                if (index != transparent) {
                    ASSERT_EQ(p.bitmap.Pixel(x, y), expected) << x << "," << y;
                }
            }
    }
}

}  // namespace
}  // namespace kobalto
