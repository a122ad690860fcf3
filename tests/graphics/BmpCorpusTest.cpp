// Real-world BMP files against the peer decoder. Valid files must decode and
// match the peer; questionable ones must not crash and, where both decoders
// take them, match too; broken ones must be refused or give a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/Exceptions.h"
#include "tests/graphics/BmpTestBuilder.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::CorpusFile;

enum class Peer {
    Composited,  // the peer's picture flattened on white
    Plain,       // the peer's colour channels with alpha switched off, even when it complains
    Sibling,     // our own picture of another corpus file holding the same image
    SizeOnly,    // the peer cannot read it at all
};

struct KnownDifference {
    const char* file;
    Peer peer;
    int tolerance;        // largest channel difference allowed
    const char* sibling;  // for Peer::Sibling
    const char* reason;
};

// Where we and the peer part, and why. Files not listed must match exactly.
constexpr const char* kShift = "the peer widens narrow fields by shifting (4 bits: 15 -> 240), we scale (15 -> 255)";
constexpr const char* kAlpha = "the peer composes the alpha field on white; we ignore alpha";
const KnownDifference kDifferences[] = {
    // valid
    {"32bpp-101110-320x240.bmp", Peer::Composited, 1, nullptr, "11- and 10-bit fields: the peer truncates, we round"},
    {"V3_X4_R4_G4_B4.bmp", Peer::Composited, 15, nullptr, kShift},
    {"V3_X4_R4_G4_B4_Top_Down.bmp", Peer::Composited, 15, nullptr, kShift},
    {"V3_A4_R4_G4_B4.bmp", Peer::Plain, 15, nullptr, kAlpha},
    {"V3_A4_R4_G4_B4_Top_Down.bmp", Peer::Plain, 15, nullptr, kAlpha},
    {"V3_A1_R5_G5_B5.bmp", Peer::Plain, 0, nullptr, kAlpha},
    {"V3_A1_R5_G5_B5_Top_Down.bmp", Peer::Plain, 0, nullptr, kAlpha},
    {"V5_A1_R5_G5_B5.bmp", Peer::Plain, 0, nullptr, kAlpha},
    {"rgb32bf-abgr.bmp", Peer::Plain, 0, nullptr, kAlpha},
    {"rgb32bf-rgba.bmp", Peer::Plain, 0, nullptr, kAlpha},
    {"V5_24_Bit.bmp", Peer::Plain, 0, nullptr, "the peer decodes it but fails on the wrong file size field"},
    {"rle8-blank-160x120.bmp", Peer::Plain, 0, nullptr,
     "only an end-of-bitmap code: the peer reports an early end but gives the same blank picture"},
    {"8bpp-1x64000.bmp", Peer::SizeOnly, 0, nullptr, "the peer's policy caps a side at 16K pixels"},
    {"rle8-64000x1.bmp", Peer::SizeOnly, 0, nullptr, "the peer's policy caps a side at 16K pixels"},
    // questionable
    {"pal8os2v2.bmp", Peer::Sibling, 0, "pal8os2.bmp", "the peer misreads the 64-byte OS/2 header's colour table"},
    {"pal8os2-hs.bmp", Peer::Sibling, 0, "pal8os2.bmp", "the peer refuses the odd header field"},
    {"pal8os2-sz.bmp", Peer::Sibling, 0, "pal8os2.bmp", "the peer refuses the odd size field"},
    {"pal8oversizepal.bmp", Peer::Sibling, 0, "pal8.bmp", "the peer refuses a 300-entry table; we keep 256"},
    {"rgba32abf.bmp", Peer::Sibling, 0, "rgba32.bmp", "the peer does not know compression 6"},
    {"rgb16-231.bmp", Peer::Composited, 127, nullptr, kShift},
    {"rgb32-111110.bmp", Peer::Composited, 1, nullptr, "11- and 10-bit fields: the peer truncates, we round"},
    {"rgb32fakealpha.bmp", Peer::Plain, 0, nullptr, "the peer takes the unused byte of BI_RGB pixels as alpha"},
    {"rgba16-1924.bmp", Peer::Plain, 127, nullptr, kShift},
    {"rgba16-4444.bmp", Peer::Plain, 15, nullptr, kShift},
    {"rgba32-61754.bmp", Peer::Plain, 8, nullptr, kShift},
    {"rgba32.bmp", Peer::Plain, 0, nullptr, kAlpha},
    {"rgba32h56.bmp", Peer::Plain, 0, nullptr, kAlpha},
};

const KnownDifference* FindDifference(const std::string& name)
{
    for (const KnownDifference& d : kDifferences)
        if (name == d.file)
            return &d;
    return nullptr;
}

std::string PathOf(const std::string& name) { return test::CorpusDir() + "/bmp/" + name; }

// Returns false when the file is refused; any other exception fails the test.
bool TryLoad(const std::string& name, TBitmap& out)
{
    try {
        out = test::LoadBmp(test::ReadBytes(PathOf(name)));
        return true;
    } catch (const EInvalidGraphic&) {
        return false;
    }
}

bool PeerPlain(const std::string& path, TBitmap& out)
{
    test::TempDir dir;
    const std::string ppm = dir.File("plain.ppm");
    test::RunCommand(test::ImageMagickConvert() + " '" + path + "[0]' -alpha off -depth 8 ppm:'" + ppm +
                     "' >/dev/null 2>&1");
    return test::FileExists(ppm) && test::DecodeWithPeer(ppm, out);
}

// The largest channel difference, or 256 when the sizes differ.
int MaxDifference(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return 256;
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TColor p = a.Pixel(x, y), q = b.Pixel(x, y);
            worst = std::max({worst, std::abs(p.red - q.red), std::abs(p.green - q.green), std::abs(p.blue - q.blue)});
        }
    return worst;
}

// Compares our picture with the reference the table names. Returns false
// when there is no reference to compare with.
bool CompareWithReference(const CorpusFile& f, const TBitmap& ours, bool mustHavePeer)
{
    const KnownDifference* d = FindDifference(f.name);
    const Peer mode = d ? d->peer : Peer::Composited;
    const int tolerance = d ? d->tolerance : 0;
    TBitmap reference;
    bool have = false;
    switch (mode) {
    case Peer::Composited: have = test::DecodeWithPeer(PathOf(f.name), reference); break;
    case Peer::Plain: have = PeerPlain(PathOf(f.name), reference); break;
    case Peer::Sibling: have = TryLoad(d->sibling, reference); break;
    case Peer::SizeOnly: return false;
    }
    if (!have) {
        if (mustHavePeer)
            ADD_FAILURE() << f.name << ": no reference picture; list the file with its reason";
        return false;
    }
    EXPECT_LE(MaxDifference(ours, reference), tolerance) << f.name << (d ? std::string(": ") + d->reason : "");
    return true;
}

class BmpCorpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::HaveCorpus())
            GTEST_SKIP() << "no corpus at " << test::CorpusDir();
        if (test::ImageMagickConvert().empty())
            GTEST_SKIP() << "no ImageMagick convert to compare with";
        files_ = test::CorpusFiles("bmp");
        ASSERT_FALSE(files_.empty()) << "no bmp rows in the corpus index";
    }
    std::vector<CorpusFile> files_;
};

TEST_F(BmpCorpus, ValidFilesMatchThePeer)
{
    int compared = 0;
    for (const CorpusFile& f : files_) {
        if (f.expected != "valid")
            continue;
        SCOPED_TRACE(f.name);
        TBitmap ours;
        ASSERT_TRUE(TryLoad(f.name, ours)) << "refused";
        if (f.width != 0) {
            EXPECT_EQ(ours.Width(), f.width);
            EXPECT_EQ(ours.Height(), f.height);
        }
        compared += CompareWithReference(f, ours, FindDifference(f.name) == nullptr ||
                                                      FindDifference(f.name)->peer != Peer::SizeOnly);
    }
    EXPECT_GT(compared, 100);
}

TEST_F(BmpCorpus, QuestionableFilesLoadSafelyAndMatchWhereBothRead)
{
    for (const CorpusFile& f : files_) {
        if (f.expected != "questionable")
            continue;
        SCOPED_TRACE(f.name);
        TBitmap ours;
        if (!TryLoad(f.name, ours))
            continue;
        EXPECT_GT(ours.Width(), 0);
        EXPECT_GT(ours.Height(), 0);
        CompareWithReference(f, ours, FindDifference(f.name) != nullptr);
    }
}

TEST_F(BmpCorpus, BrokenFilesAreRefusedOrGiveAPicture)
{
    int refused = 0;
    for (const CorpusFile& f : files_) {
        if (f.expected != "broken")
            continue;
        SCOPED_TRACE(f.name);
        TBitmap ours;
        if (TryLoad(f.name, ours)) {
            EXPECT_GT(ours.Width(), 0);
            EXPECT_GT(ours.Height(), 0);
        } else {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace kobalto
