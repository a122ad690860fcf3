// Conformance of the TGA and EPS readers over the shared corpus, against
// Pillow and ImageMagick (TGA) and tiff2rgba on the TIFF preview (EPS). Skipped without
// the corpus.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "codecs/eps/TEPSGraphic.h"
#include "codecs/tga/TTargaGraphic.h"
#include "tests/support/ExtendedReaderKit.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::CorpusClass;

template <typename Reader>
TBitmap LoadWith(const std::string& path)
{
    Reader r;
    r.LoadFromFile(path);
    return TBitmap(r);
}

TEST(TgaEpsCorpusTest, TgaFilesAgainstThePeer)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir();
    test::CorpusRules rules;
    rules.folder = "tga";
    rules.load = LoadWith<TTargaGraphic>;
    // Pillow reads 15-bit colour maps as grey and some 32-bit RLE files not
    // at all; ImageMagick reads 16-bit grey as colour.
    rules.peers = {test::PillowPixels, [](const std::string& path, TBitmap& out, std::vector<bool>& translucent) {
                       return test::PeerPixels(path, false, out, translucent);
                   }};
    // 5-bit channels widen by a shift here (31 → 248) and by scaling in the peer (31 → 255).
    for (const char* name : {"CTC16.TGA", "utc16.tga", "rgb16.tga", "b5-attrib.tga", "b5-noattrib.tga",
                             "b5-cmap.tga", "p_16.tga", "ccm8.tga", "ucm8.tga", "rgba16.tga", "b5-unused-cmap.tga"})
        rules.tolerance[name] = {7, "5-bit channels"};
    auto counts = test::RunCorpus(rules);
    EXPECT_EQ(counts[CorpusClass::Unexpected], 0);
    // 75 files: every valid one and three questionable ones decode as a peer does.
    EXPECT_EQ(counts[CorpusClass::Equal], 64);
    EXPECT_EQ(counts[CorpusClass::Refused], 0);
    EXPECT_EQ(counts[CorpusClass::BrokenClean], 10);
    EXPECT_EQ(counts[CorpusClass::QuestionableClean], 1);
    EXPECT_EQ(counts[CorpusClass::NoPeer], 0);
}

TEST(TgaEpsCorpusTest, EpsFilesAgainstThePeerOnTheirPreview)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir();
    test::CorpusRules rules;
    rules.folder = "eps";
    rules.load = LoadWith<TEPSGraphic>;
    rules.peers = {[](const std::string& path, TBitmap& out, std::vector<bool>& translucent) {
        const std::vector<uint8_t> file = test::ReadBytes(path);
        std::vector<uint8_t> preview;
        try {
            const auto span = EpsTiffPreview(file);
            preview.assign(span.begin(), span.end());
        } catch (const Exception&) {
            return false;
        }
        test::TempDir dir;
        test::WriteBytes(dir.File("preview.tif"), preview);
        return test::PeerPixels(dir.File("preview.tif"), true, out, translucent);
    }};
    // Plain PostScript has no preview to read.
    rules.refusals = {"Cannot load image. Invalid or unexpected EPS image format."};
    auto counts = test::RunCorpus(rules);
    EXPECT_EQ(counts[CorpusClass::Unexpected], 0);
    // 17 files: the DOS binary ones with a TIFF preview decode; plain
    // PostScript is refused.
    EXPECT_EQ(counts[CorpusClass::Equal], 6);
    EXPECT_EQ(counts[CorpusClass::Refused], 9);
    EXPECT_EQ(counts[CorpusClass::BrokenClean], 1);
    EXPECT_EQ(counts[CorpusClass::QuestionableClean], 1);
    EXPECT_EQ(counts[CorpusClass::NoPeer], 0);
}

}  // namespace
}  // namespace kobalto
