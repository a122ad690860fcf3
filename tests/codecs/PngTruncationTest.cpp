#include <gtest/gtest.h>

#include "codecs/png/PngErrors.h"
#include "tests/codecs/PngTestFiles.h"
#include "tests/support/CutSweep.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using namespace pngtest;

std::vector<Bytes> SampleFiles()
{
    std::vector<Bytes> files;
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf4bit})
        for (uint8_t interlace : {0, 1}) {
            TBitmap b = test::PatternBitmap(13, 11);
            b.SetPixelFormat(format);
            b.SetTransparent(true);
            TPNGPicture png;
            png.AssignBitmap(b);
            png.SetInterlaceMethod(interlace);
            files.push_back(Save(png));
        }
    const Bytes rows = {0, 0x12, 0x34, 0x12, 0x35, 4, 0, 0, 1, 1};
    const Bytes z = Deflate(rows);
    files.push_back(Concat({kSignature, Chunk("IHDR", Ihdr(2, 2, 16, 0)), Chunk("gAMA", {0, 1, 0x86, 0xA0}),
                            Chunk("tRNS", {0x12, 0x34}), Chunk("IDAT", Bytes(z.begin(), z.begin() + 5)),
                            Chunk("IDAT", Bytes(z.begin() + 5, z.end())), Chunk("tEXt", {'k', 0, 'v'}),
                            Chunk("IEND", {})}));
    return files;
}

TEST(PngTruncation, EveryCutRaisesUnexpectedEnd)
{
    for (const Bytes& file : SampleFiles()) {
        ASSERT_NO_THROW(Load(file));
        test::ForEveryCut(file, [](const Bytes& cut, size_t length) {
            try {
                Load(cut);
                ADD_FAILURE() << "loaded";
            } catch (const EPNGInvalidFileHeader&) {
                EXPECT_LT(length, 8u);
            } catch (const EPngUnexpectedEnd&) {
                EXPECT_GE(length, 8u);
            }
        });
    }
}

TEST(PngTruncation, DamagedBytesRaiseOrLoadButNeverCrash)
{
    for (const Bytes& file : SampleFiles())
        for (size_t pos = 0; pos < file.size(); ++pos)
            for (uint8_t flip : {uint8_t{0x01}, uint8_t{0x80}, uint8_t{0xFF}}) {
                Bytes damaged = file;
                damaged[pos] ^= flip;
                try {
                    const TPNGPicture png = Load(damaged);
                    TBitmap target(png.Width(), png.Height());
                    png.Draw(target, 0, 0);
                } catch (const Exception&) {
                }
            }
}

}  // namespace
}  // namespace kobalto
