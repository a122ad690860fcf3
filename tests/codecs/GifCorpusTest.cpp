// Real-world GIF files against the peer decoder: what we deliver (the first
// frame on its logical screen, drawn over white) must equal the peer's first
// frame on white; broken files must raise their GIF error.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "codecs/gif/GifError.h"
#include "codecs/gif/TGIFPicture.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::CorpusFile;

// Files we refuse, with the error and why. Every other file must decode.
const std::map<std::string, std::string> kRefused = {
    // broken
    {"issue-101-infinite-empty-loop.gif",
     "Cannot load GIF image of 6727 x 65351 pixels: more than the limit of 268435456 pixels."},
    {"issue-117-out-of-range.gif", "Invalid GIF data"},             // LZW code size 0
    {"issue-96-small-codesize-2.gif", "Premature end of data"},     // the file ends inside the first image
    {"issue-96-small-codesize.gif", "Invalid GIF data"},            // an image of 0 x 0 pixels
    {"zero_width.gif", "Invalid GIF data"},                         // an image 0 pixels wide
    // questionable, refused by the peer as well
    {"decompression_bomb.gif", "Premature end of data"},            // 65535 x 1321 image, no data
    {"zero-loop-count.gif", "Unknown GIF block type"},              // a stray byte after the screen
};

// The peer gives the first frame at the frame's own size, without the
// logical screen around it; there the frame's area on the screen is
// compared. Listed: files whose first frame does not fill the screen.
const std::map<std::string, std::string> kFrameOnly = {
    {"any-disposal.gif", "16 x 16 frame at (5, 10) on a 32 x 32 screen"},
    {"mixed-disposal.gif", "16 x 16 frame at (5, 10) on a 32 x 32 screen"},
    {"border_touching_layers.gif", "100 x 50 frame at (0, 25) on a 100 x 100 screen"},
    {"dispose_bgnd_transparency.gif", "27 x 32 frame on a 38 x 32 screen"},
    {"first_frame_transparency.gif", "50 x 50 frame at (25, 0) on a 75 x 50 screen"},
    {"gif_animation.gif", "10 x 10 frame on a 30 x 30 screen"},
    {"gif_test_disposal_method.gif", "20 x 20 frame on a 50 x 50 screen"},
    {"issue_1455_undersized.gif", "50 x 50 frame on a 100 x 100 screen"},
    {"large-gif-anim-combine.gif", "630 x 870 frame at (370, 130) on a 1000 x 1000 screen"},
    // We clip a frame to the logical screen; the peer keeps all of it.
    {"oob.gif", "16 x 16 frame at (24, 24) reaching out of a 32 x 32 screen"},
    {"issue_1455_oversized.gif", "16 x 16 frame on a 10 x 10 screen"},
};

TEST(GifCorpus, DecodesLikeThePeer)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir();
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick missing: run tools/install-deps.sh";
    const std::vector<CorpusFile> files = test::CorpusFiles("gif");
    ASSERT_GT(files.size(), 60u);
    int compared = 0;
    for (const CorpusFile& f : files) {
        SCOPED_TRACE(f.name);
        if (kRefused.count(f.name))
            continue;
        const std::string& path = f.path;
        TGIFPicture gif;
        try {
            gif.LoadFromFile(path);
        } catch (const EGIFException& e) {
            ADD_FAILURE() << f.expected << " file refused: " << e.what();
            continue;
        }
        TBitmap ours(gif.Width(), gif.Height());
        gif.Draw(ours, 0, 0);
        TBitmap peer;
        ASSERT_TRUE(test::DecodeWithPeer(path, peer));

        int left = 0, top = 0;
        int width = ours.Width(), height = ours.Height();
        if (kFrameOnly.count(f.name)) {
            const TGIFFrame& frame = gif.Frames()[0];
            ASSERT_EQ(peer.Width(), frame.DescriptorWidth());
            ASSERT_EQ(peer.Height(), frame.DescriptorHeight());
            left = frame.left;
            top = frame.top;
            width = std::min<int>(frame.width, gif.Width() - left);
            height = std::min<int>(frame.height, gif.Height() - top);
        } else {
            ASSERT_EQ(peer.Width(), ours.Width());
            ASSERT_EQ(peer.Height(), ours.Height());
        }
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                differing += !(ours.Pixel(left + x, top + y) == peer.Pixel(x, y));
        EXPECT_EQ(differing, 0) << "pixels differ";
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(files.size() - kRefused.size()));
}

TEST(GifCorpus, RefusesBrokenFilesWithTheirMessage)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir();
    int broken = 0;
    for (const CorpusFile& f : test::CorpusFiles("gif")) {
        const auto refused = kRefused.find(f.name);
        if (f.expected == "broken") {
            ++broken;
            EXPECT_NE(refused, kRefused.end()) << f.name << " is broken but not listed";
        }
        if (refused == kRefused.end())
            continue;
        TGIFPicture gif;
        try {
            gif.LoadFromFile(f.path);
            ADD_FAILURE() << f.name << " loaded";
        } catch (const EGIFException& e) {
            EXPECT_EQ(e.what(), refused->second) << f.name;
        }
    }
    EXPECT_EQ(broken, 5);
}

}  // namespace
}  // namespace kobalto
