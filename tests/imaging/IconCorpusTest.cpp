// Real-world icon files through the icon path of loading, against the peer
// decoder's picture of the same image composed on white. Valid files must
// decode and match; questionable ones must not crash; broken ones must be
// refused cleanly or give a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

#include "base/Exceptions.h"
#include "imaging/LoadImageFile.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

struct CorpusFile {
    std::string name;
    std::string expected;  // valid, questionable or broken
};

std::vector<CorpusFile> ReadIndex()
{
    std::vector<CorpusFile> files;
    std::ifstream in(test::CorpusDir() + "/README.md");
    const std::regex row(R"(^\| ico \| `([^`]+)` \| [^|]* \| (\w+) \|)");
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, row))
            files.push_back({m[1], m[2]});
    }
    return files;
}

std::string PathOf(const std::string& name) { return test::CorpusDir() + "/ico/" + name; }

// False when the file is refused the way a bad icon is; any other exception
// fails the test.
bool TryLoad(const std::string& name, TBitmap& out)
{
    PictureHolder holder;
    try {
        LoadIconFile(holder, PathOf(name));
    } catch (const EInvalidGraphic&) {
        EXPECT_EQ(holder.Graphic(), nullptr) << name << ": a refused icon leaves nothing behind";
        return false;
    }
    out = holder.Bitmap();
    return true;
}

// The peer's first image as raw RGBA, not composed: the colour bytes and
// the transparency the peer found.
bool PeerRgba(const std::string& path, int width, int height, std::vector<uint8_t>& rgba)
{
    test::TempDir dir;
    const std::string raw = dir.File("peer.rgba");
    test::RunCommand(test::ImageMagickConvert() + " '" + path + "[0]' -depth 8 rgba:'" + raw + "' >/dev/null 2>&1");
    if (!test::FileExists(raw))
        return false;
    rgba = test::ReadBytes(raw);
    return rgba.size() == static_cast<size_t>(width) * height * 4;
}

// The file with its 124-byte bitmap header cut to the 40-byte one, the
// sizes moved accordingly: the same image for a decoder that only knows the
// short header.
std::vector<uint8_t> WithShortHeader(std::vector<uint8_t> file)
{
    constexpr size_t kImage = 22;
    auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    file.erase(file.begin() + kImage + 40, file.begin() + kImage + 124);
    put32(14, static_cast<uint32_t>(file.size() - kImage));
    put32(kImage, 40);
    return file;
}

struct Difference {
    int pixels = 0;  // pixels that differ at all
    int worst = 0;   // the largest channel difference; 256 when the sizes differ
};

Difference Compare(const TBitmap& a, const TBitmap& b)
{
    Difference d;
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return {a.Width() * a.Height(), 256};
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TColor p = a.Pixel(x, y), q = b.Pixel(x, y);
            const int w = std::max({std::abs(p.red - q.red), std::abs(p.green - q.green), std::abs(p.blue - q.blue)});
            d.worst = std::max(d.worst, w);
            d.pixels += w != 0;
        }
    return d;
}

enum class Reference {
    Composited,  // the peer's picture on white
    MaskXor,     // the peer's raw colours: inverted where it found the pixel transparent, as they are elsewhere
    ShortHeader, // MaskXor on the file rebuilt with a 40-byte header
    None,        // nothing to compare with
};

struct KnownDifference {
    const char* file;
    Reference reference;
    int tolerance;  // largest channel difference allowed
    int pixels;     // pixels allowed to differ beyond the tolerance
    const char* reason;
};

constexpr const char* kXor =
    "a masked pixel whose colour is not black inverts the white under it, as the desktop draws icons; the peer "
    "makes every masked pixel transparent";
constexpr const char* kMaskNotAlpha =
    "a 32-bit image after another entry is composed from its mask, not its alpha: partly transparent pixels keep "
    "their full colour";
const KnownDifference kDifferences[] = {
    // valid
    {"bmp-24bpp-mask.ico", Reference::MaskXor, 0, 0, kXor},
    {"hopper_mask.ico", Reference::MaskXor, 0, 0, kXor},
    {"mask_1.cur", Reference::MaskXor, 0, 0, kXor},
    {"mask_L.cur", Reference::MaskXor, 0, 0, kXor},
    {"deerstalker.cur", Reference::MaskXor, 0, 0, kMaskNotAlpha},
    {"python.ico", Reference::MaskXor, 0, 0, kMaskNotAlpha},
    {"32bpp_8x8.ico", Reference::Composited, 0, 16,
     "header image size 0: the colour bytes run for the entry's byte count less 104, two rows short of an "
     "8-pixel image, and the top two rows stay white"},
    {"pillow.ico", Reference::Composited, 1, 0, "partly transparent PNG pixels on white: rounding"},
    {"bmp_v5_with_icc.ico", Reference::ShortHeader, 0, 0,
     "the peer takes the colour rows from 40 bytes after the 124-byte header's start; and masked pixels that "
     "are not black invert"},
    // questionable
    {"bmp-32bpp-conflicting-and-mask.ico", Reference::None, 0, 0,
     "a single 32-bit image: its alpha is not used, so the half-transparent pixels keep their full colour"},
    {"truncated_mask_32bpp.ico", Reference::None, 0, 0,
     "a single 32-bit image of one colour: every pixel has the bottom-left colour and comes out white"},
    {"hopper_unexpected.ico", Reference::None, 0, 0, "the entry says 16 x 32: the 16 x 16 image is stretched to it"},
};

const KnownDifference* FindDifference(const std::string& name)
{
    for (const KnownDifference& d : kDifferences)
        if (name == d.file)
            return &d;
    return nullptr;
}

// The reference picture the table names for the file; false when there is none.
bool ReferenceFor(const std::string& name, const TBitmap& ours, TBitmap& reference)
{
    const KnownDifference* d = FindDifference(name);
    switch (d ? d->reference : Reference::Composited) {
    case Reference::Composited:
        return test::DecodeWithPeer(PathOf(name), reference);
    case Reference::ShortHeader:
    case Reference::MaskXor: {
        test::TempDir dir;
        std::string path = PathOf(name);
        if (d->reference == Reference::ShortHeader) {
            path = dir.File("short.ico");
            test::WriteBytes(path, WithShortHeader(test::ReadBytes(PathOf(name))));
        }
        std::vector<uint8_t> rgba;
        if (!PeerRgba(path, ours.Width(), ours.Height(), rgba))
            return false;
        reference = TBitmap(ours.Width(), ours.Height(), TPixelFormat::pf24bit);
        for (int y = 0; y < ours.Height(); ++y)
            for (int x = 0; x < ours.Width(); ++x) {
                const uint8_t* p = rgba.data() + (static_cast<size_t>(y) * ours.Width() + x) * 4;
                const uint8_t flip = p[3] == 0 ? 0xFF : 0x00;
                reference.SetPixel(x, y, TColor{uint8_t(p[0] ^ flip), uint8_t(p[1] ^ flip), uint8_t(p[2] ^ flip)});
            }
        return true;
    }
    case Reference::None:
        return false;
    }
    return false;
}

int CountBeyond(const TBitmap& a, const TBitmap& b, int tolerance)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TColor p = a.Pixel(x, y), q = b.Pixel(x, y);
            n += std::max({std::abs(p.red - q.red), std::abs(p.green - q.green), std::abs(p.blue - q.blue)}) >
                 tolerance;
        }
    return n;
}

class IconCorpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::HaveCorpus())
            GTEST_SKIP() << "no corpus at " << test::CorpusDir();
        if (test::ImageMagickConvert().empty())
            GTEST_SKIP() << "no ImageMagick convert to compare with";
        files_ = ReadIndex();
        ASSERT_FALSE(files_.empty()) << "no ico rows in the corpus index";
    }

    std::vector<CorpusFile> files_;
};

TEST_F(IconCorpus, ValidFilesMatchThePeer)
{
    int valid = 0, compared = 0;
    for (const CorpusFile& f : files_) {
        if (f.expected != "valid")
            continue;
        SCOPED_TRACE(f.name);
        ++valid;
        TBitmap ours, reference;
        ASSERT_TRUE(TryLoad(f.name, ours)) << "refused";
        ASSERT_TRUE(ReferenceFor(f.name, ours, reference)) << "no reference picture";
        ASSERT_EQ(ours.Width(), reference.Width());
        ASSERT_EQ(ours.Height(), reference.Height());
        const KnownDifference* d = FindDifference(f.name);
        EXPECT_EQ(CountBeyond(ours, reference, d ? d->tolerance : 0), d ? d->pixels : 0)
            << (d ? d->reason : "no known difference");
        ++compared;
    }
    EXPECT_EQ(valid, 27);
    EXPECT_EQ(compared, 27);
}

// Questionable files: all but the decompression bomb decode (its header
// claims 65535 x 65535 pixels that its 176 bytes do not hold); where the
// table names no difference, the picture matches the peer's.
TEST_F(IconCorpus, QuestionableFilesLoadSafely)
{
    int decoded = 0, matched = 0;
    for (const CorpusFile& f : files_) {
        if (f.expected != "questionable")
            continue;
        SCOPED_TRACE(f.name);
        TBitmap ours, reference;
        if (!TryLoad(f.name, ours))
            continue;
        ++decoded;
        if (ReferenceFor(f.name, ours, reference)) {
            EXPECT_EQ(Compare(ours, reference).pixels, 0);
            ++matched;
        }
    }
    EXPECT_EQ(decoded, 4);
    EXPECT_EQ(matched, 1);  // lenient-bpp.ico: a PNG entry whatever the entry's depth says
}

// Broken files are refused with the icon error and leave the holder empty,
// except the one whose only fault is a byte count too small: its image lies
// whole in the file and is read.
TEST_F(IconCorpus, BrokenFilesFailCleanly)
{
    int refused = 0, decoded = 0;
    for (const CorpusFile& f : files_) {
        if (f.expected != "broken")
            continue;
        TBitmap ours;
        if (TryLoad(f.name, ours))
            ++decoded;
        else
            ++refused;
    }
    EXPECT_EQ(refused, 4);
    EXPECT_EQ(decoded, 1);
}

}  // namespace
}  // namespace kobalto
