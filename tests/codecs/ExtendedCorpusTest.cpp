// Real-world PCX, PNM, Photoshop, Paintshop Pro, RLA and Autodesk files.
// Files ImageMagick reads must decode to its pixels (ours drawn over white,
// as the peer gives them); for the formats it cannot read, a few pixels and
// the size are pinned (see kPinned). Files we refuse are listed with their
// message and why, and the counts per class of the corpus index are
// asserted so a file that changes class is noticed.
#include <gtest/gtest.h>

#include "tests/codecs/ExtendedCorpus.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::CorpusCase;

TEST(ExtendedCorpus, EachFormatDecodesLikeThePeerOrItsPins)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir();
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick missing: run tools/install-deps.sh";
    for (const CorpusCase& format : test::ExtendedCorpusCases()) {
        SCOPED_TRACE(format.folder + " " + format.pattern);
        test::CheckCorpusFormat(format);
    }
}

}  // namespace
}  // namespace kobalto
