// Conformance of the TIFF reader over the shared corpus, against tiff2rgba
// (ImageMagick where tiff2rgba cannot read a file). Skipped without the corpus.
#include <gtest/gtest.h>

#include "codecs/tiff/TTIFFGraphic.h"
#include "tests/support/ExtendedReaderKit.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::CorpusClass;

TEST(TiffCorpusTest, EveryFileAgainstThePeers)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir();
    test::CorpusRules rules;
    rules.folder = "tiff";
    rules.load = [](const std::string& path) {
        TTIFFGraphic t;
        t.LoadFromFile(path);
        return TBitmap(t);
    };
    rules.peers = {[](const std::string& path, TBitmap& out, std::vector<bool>& translucent) {
        return test::PeerPixels(path, true, out, translucent);
    }};
    rules.knownDifferences = {
        {"hopper.Lab.tif", "CIE L*a*b* goes through this system's own matrix, without a white point"},
        {"lab.tif", "CIE L*a*b* goes through this system's own matrix, without a white point"},
        {"text.tif", "ThunderScan: tiff2rgba stops at row 320 and ImageMagick inverts the grey"},
    };
    rules.refusals = {
        // LZW, group 4 fax, old-style JPEG and the other schemes without a decoder.
        "Cannot load image. The compression scheme is not supported for TIF/TIFF files.",
        // 10-, 12-, 24- and 32-bit samples.
        "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.",
        // More than four samples per pixel.
        "Sample count per pixel does not correspond to the given color scheme.",
        // Floating-point samples, photometric interpretations 4, 7 and above 8.
        "Color conversion failed. Could not find a proper method.",
        // BigTIFF (magic 43).
        "Cannot load image. Invalid or unexpected TIF/TIFF image format.",
    };
    auto counts = test::RunCorpus(rules);
    EXPECT_EQ(counts[CorpusClass::Unexpected], 0);
    // 291 files: any change in these counts is a change in behaviour.
    EXPECT_EQ(counts[CorpusClass::Equal], 131);
    EXPECT_EQ(counts[CorpusClass::Refused], 128);
    EXPECT_EQ(counts[CorpusClass::BrokenClean], 23);
    EXPECT_EQ(counts[CorpusClass::QuestionableClean], 6);
    EXPECT_EQ(counts[CorpusClass::NoPeer], 3);
}

}  // namespace
}  // namespace kobalto
