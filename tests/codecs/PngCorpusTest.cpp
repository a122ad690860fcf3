// Conformance against the shared corpus: PngSuite and other projects' test
// files. Valid files must give the peer decoder's pixels, broken ones their
// PNG error, and nothing may crash.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <typeinfo>

#include "codecs/png/PngComposite.h"
#include "codecs/png/PngErrors.h"
#include "codecs/png/PngGamma.h"
#include "tests/codecs/PngTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using namespace pngtest;

using test::CorpusFile;

// Broken files that decode anyway: their fault lies where this reader does
// not look, and the pixels are all there.
const std::map<std::string, std::string> kBrokenButReadable = {
    {"empty_ancillary_chunks.png", "empty ancillary chunks (bKGD, gAMA and others) that are skipped or ignored"},
    {"sequence_gap.png", "an animation fault; the first frame is a complete picture"},
    {"unknown_compression_method.png", "the unknown method is a colour profile's (iCCP), which is skipped"},
};

bool IsPngSuiteName(const std::string& name) { return std::regex_match(name, std::regex("[a-z][a-z0-9]{7}\\.png")); }

// The exception each deliberately corrupted PngSuite file raises.
std::string SuiteError(const std::string& name)
{
    static const std::map<std::string, std::string> errors = {
        {"xc1n0g08.png", typeid(EPngInvalidIHDR).name()},   {"xc9n2c08.png", typeid(EPngInvalidIHDR).name()},
        {"xd0n2c08.png", typeid(EPngInvalidIHDR).name()},   {"xd3n2c08.png", typeid(EPngInvalidIHDR).name()},
        {"xd9n2c08.png", typeid(EPngInvalidIHDR).name()},   {"xcsn0g01.png", typeid(EPngInvalidCRC).name()},
        {"xhdn0g08.png", typeid(EPngInvalidCRC).name()},    {"xdtn0g01.png", typeid(EPNGNoImageData).name()},
        {"xcrn0g04.png", typeid(EPNGInvalidFileHeader).name()}, {"xlfn0g04.png", typeid(EPNGInvalidFileHeader).name()},
        {"xs1n0g01.png", typeid(EPNGInvalidFileHeader).name()}, {"xs2n0g01.png", typeid(EPNGInvalidFileHeader).name()},
        {"xs4n0g01.png", typeid(EPNGInvalidFileHeader).name()}, {"xs7n0g01.png", typeid(EPNGInvalidFileHeader).name()},
    };
    auto it = errors.find(name);
    return it == errors.end() ? "" : it->second;
}

// The file gamma of a gAMA chunk ahead of the image data, 0 if none.
uint32_t FileGamma(const Bytes& file)
{
    for (size_t pos = 8; pos + 12 <= file.size();) {
        const uint32_t length = GetU32(file, pos);
        const std::string name(file.begin() + pos + 4, file.begin() + pos + 8);
        if (name == "IDAT" || length > file.size() - pos - 12)
            break;
        if (name == "gAMA" && length == 4)
            return GetU32(file, pos + 8);
        pos += 12 + length;
    }
    return 0;
}

// The peer's samples as stored (no colour-space conversion), 16 bits with
// alpha, reduced to 8 bits by their high byte like ours, put through the
// display gamma the file asks for and onto white.
bool PeerOnWhite(const std::string& path, int width, int height, uint32_t gama, TBitmap& out)
{
    test::TempDir dir;
    const std::string raw = dir.File("peer.rgba");
    const std::string cmd = test::ImageMagickConvert() + " '" + path +
                            "[0]' -set colorspace sRGB -depth 16 -endian MSB RGBA:'" + raw + "' 2>/dev/null";
    if (test::RunCommand(cmd) != 0)
        return false;
    const Bytes bytes = test::ReadBytes(raw);
    if (bytes.size() != static_cast<size_t>(width) * height * 8)
        return false;
    PngGamma gamma;
    gamma.SetFileGamma(gama);
    out = TBitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = bytes.data() + (static_cast<size_t>(y) * width + x) * 8;
            auto mix = [&](int c) { return MixSample(gamma.Forward()[p[2 * c]], p[6], 255); };
            out.SetPixel(x, y, TColor{mix(0), mix(1), mix(2)});
        }
    return true;
}

TBitmap OnWhite(const TPNGPicture& png)
{
    TBitmap white(png.Width(), png.Height());
    png.Draw(white, 0, 0);
    return white;
}

int Differences(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return -1;
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        n += std::memcmp(a.ScanLine(y), b.ScanLine(y), 3 * static_cast<size_t>(a.Width())) != 0;
    return n;
}

TEST(PngCorpus, ValidFilesDecodeToThePeersPixels)
{
    if (!test::HaveCorpus() || test::ImageMagickConvert().empty())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir() << " or no ImageMagick: conformance not checked";
    std::map<std::string, int> reasons;
    int checked = 0;
    for (const CorpusFile& f : test::CorpusFiles("png")) {
        if (f.expected != "valid")
            continue;
        SCOPED_TRACE(f.name);
        const std::string& path = f.path;
        const Bytes bytes = test::ReadBytes(path);
        TPNGPicture png;
        try {
            png = Load(bytes);
        } catch (const Exception& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        const TBitmap ours = OnWhite(png);
        TBitmap peer;
        ASSERT_TRUE(PeerOnWhite(path, png.Width(), png.Height(), FileGamma(bytes), peer)) << "peer failed";
        EXPECT_EQ(Differences(ours, peer), 0) << "rows differ from the peer";
        // The pipeline's way to the working bitmap gives the same pixels.
        if (std::unique_ptr<TBitmap> taken = png.TakeBitmapOnWhite()) {
            EXPECT_EQ(Differences(ours, *taken), 0) << "in-place compositing differs from drawing";
        }
        ++checked;

        // Where the peer's own composite differs, say why.
        TBitmap peerOwn;
        if (test::DecodeWithPeer(path, peerOwn) && Differences(ours, peerOwn) != 0) {
            PngGamma gamma;
            gamma.SetFileGamma(FileGamma(bytes));
            const uint8_t depth = bytes[24], colorType = bytes[25];
            if (!gamma.Identity())
                ++reasons["the file's gamma is applied for a 2.2 display; the peer keeps the samples"];
            else if (depth == 16)
                ++reasons["16-bit samples keep their high byte; the peer rounds"];
            else if (colorType >= 4 || !png.Image().Opaque())
                ++reasons["mixing with white in 8 bits; the peer mixes in 16"];
            else
                ++reasons["other (" + f.name + ")"];
        }
    }
    std::cout << checked << " valid PNG files match the peer's samples; against the peer's own composite:\n";
    for (const auto& [reason, count] : reasons)
        std::cout << "  " << count << " differ: " << reason << "\n";
    EXPECT_GT(checked, 200);
}

TEST(PngCorpus, BrokenFilesRaiseTheirErrorAndNothingCrashes)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir() << ": broken files not checked";
    int broken = 0;
    for (const CorpusFile& f : test::CorpusFiles("png")) {
        SCOPED_TRACE(f.name);
        const Bytes bytes = test::ReadBytes(f.path);
        std::string raised;
        try {
            const TPNGPicture png = Load(bytes);
            TBitmap target(png.Width(), png.Height());
            png.Draw(target, 0, 0);
        } catch (const Exception& e) {
            raised = typeid(e).name();
        }
        if (f.expected != "broken")
            continue;  // questionable files may go either way
        ++broken;
        if (kBrokenButReadable.count(f.name)) {
            EXPECT_EQ(raised, "") << "listed as readable";
        } else if (f.name[0] == 'x' && IsPngSuiteName(f.name)) {
            EXPECT_EQ(raised, SuiteError(f.name));
        } else {
            EXPECT_NE(raised, "") << "a broken file loaded";
        }
    }
    EXPECT_GT(broken, 40);
    for (const auto& [name, why] : kBrokenButReadable)
        std::cout << "  broken but read: " << name << ": " << why << "\n";
}

}  // namespace
}  // namespace kobalto
