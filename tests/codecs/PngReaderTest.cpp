#include <gtest/gtest.h>

#include <sys/resource.h>

#include <functional>
#include <typeinfo>

#include "base/Exceptions.h"
#include "codecs/png/PngErrors.h"
#include "tests/codecs/PngTestFiles.h"

namespace kobalto {
namespace {

using namespace pngtest;

// A valid 2 x 2 RGB picture's parts, to be spoilt one at a time.
const Bytes kRgbRows = {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12};
const Bytes kIdat = Deflate(kRgbRows);

Bytes Rgb(std::initializer_list<Bytes> chunksAfterIhdr, const Bytes& ihdr = Ihdr(2, 2, 8, 2))
{
    Bytes out = Concat({kSignature, Chunk("IHDR", ihdr)});
    for (const Bytes& c : chunksAfterIhdr)
        out.insert(out.end(), c.begin(), c.end());
    return out;
}

const Bytes kIend = Chunk("IEND", {});

struct BrokenFile {
    const char* what;
    Bytes bytes;
    std::function<void(const Exception&)> isExpected;
    const char* message;
};

template <typename E>
std::function<void(const Exception&)> Is()
{
    return [](const Exception& e) { EXPECT_TRUE(dynamic_cast<const E*>(&e)) << typeid(e).name(); };
}

const char* const kHeaderText =
    "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid "
    "header. This file may be corruped, try obtaining it again.";
const char* const kIhdrText =
    "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) "
    "might be corrupted";
const char* const kPaletteText = "The \"Portable Network Graphics\" image contains an invalid palette.";
const char* const kMissingText =
    "This \"Portable Network Graphics\" image is invalid because it has missing image parts.";
const char* const kEndText =
    "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the file.";

// The image data with a header declaring a 64 KB window, which deflate
// does not have.
Bytes WindowAbove32K()
{
    Bytes z = kIdat;
    z[0] = 0x88;
    z[1] = static_cast<uint8_t>(z[1] & 0xE0);
    z[1] = static_cast<uint8_t>(z[1] + (31 - (z[0] * 256 + z[1]) % 31) % 31);
    return z;
}

std::vector<BrokenFile> BrokenFiles()
{
    Bytes badAdler = kIdat;
    badAdler.back() ^= 1;
    Bytes badFilter = kRgbRows;
    badFilter[7] = 5;
    const Bytes palette4 = Ihdr(2, 2, 4, 3);
    const Bytes indexRows = {0, 0x10, 0, 0x01};
    const Bytes idat4 = Chunk("IDAT", Deflate(indexRows));
    return {
        {"another signature", Concat({Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0B}, Chunk("IHDR", Ihdr(2, 2, 8, 2))}),
         Is<EPNGInvalidFileHeader>(), kHeaderText},
        {"less than a signature", Bytes{0x89, 'P', 'N', 'G'}, Is<EPNGInvalidFileHeader>(), kHeaderText},
        {"gAMA before IHDR", Concat({kSignature, Chunk("gAMA", {0, 0, 0xB1, 0x8F}), Chunk("IHDR", Ihdr(2, 2, 8, 2))}),
         Is<EPNGIHDRNotFirst>(),
         "This \"Portable Network Graphics\" image is not supported or it might be invalid.\n"
         "(IHDR chunk is not the first)"},
        {"nothing after the signature", kSignature, Is<EPngUnexpectedEnd>(), kEndText},
        {"no IEND", Rgb({Chunk("IDAT", kIdat)}), Is<EPngUnexpectedEnd>(), kEndText},
        {"a length beyond the file", Rgb({Chunk("IDAT", kIdat), Bytes{0x7F, 0, 0, 0, 't', 'E', 'X', 't', 1, 2}}),
         Is<EPngUnexpectedEnd>(), kEndText},
        {"an unknown critical chunk", Rgb({Chunk("ABCD", {1}), Chunk("IDAT", kIdat), kIend}),
         Is<EPNGUnknownCriticalChunk>(),
         "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded."},
        {"no IDAT", Rgb({kIend}), Is<EPNGNoImageData>(), "This \"Portable Network Graphics\" image contains no data."},
        {"a short IHDR", Concat({kSignature, Chunk("IHDR", Bytes(12, 1)), Chunk("IDAT", kIdat), kIend}),
         Is<EPngInvalidIHDR>(), kIhdrText},
        {"a second IHDR", Rgb({Chunk("IHDR", Ihdr(2, 2, 8, 2)), Chunk("IDAT", kIdat), kIend}), Is<EPngInvalidIHDR>(),
         kIhdrText},
        {"width 0", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(0, 2, 8, 2)), Is<EPngInvalidIHDR>(), kIhdrText},
        {"colour type 1", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(2, 2, 8, 1)), Is<EPngInvalidIHDR>(), kIhdrText},
        {"RGB at 4 bits", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(2, 2, 4, 2)), Is<EPngInvalidIHDR>(), kIhdrText},
        {"palette at 16 bits", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(2, 2, 16, 3)), Is<EPngInvalidIHDR>(),
         kIhdrText},
        {"bit depth 3", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(2, 2, 3, 0)), Is<EPngInvalidIHDR>(), kIhdrText},
        {"filter method 1", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(2, 2, 8, 2, 0, 0, 1)), Is<EPngInvalidIHDR>(),
         kIhdrText},
        {"width 65536", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(65536, 2, 8, 2)), Is<EPNGSizeExceeds>(),
         "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds "
         "the maximum size, which is 65535 pixels length."},
        {"compression method 1", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(2, 2, 8, 2, 0, 1)),
         Is<EPNGUnknownCompression>(),
         "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not "
         "be decoded."},
        {"interlace method 2", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(2, 2, 8, 2, 2)), Is<EPNGUnknownInterlace>(),
         "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded."},
        {"a bad IHDR CRC", Concat({kSignature, Chunk("IHDR", Ihdr(2, 2, 8, 2), 1), Chunk("IDAT", kIdat), kIend}),
         Is<EPngInvalidCRC>(),
         "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc "
         "error)"},
        {"a bad IDAT CRC", Rgb({Chunk("IDAT", kIdat, 1), kIend}), Is<EPngInvalidCRC>(), nullptr},
        {"a bad PLTE CRC", Rgb({Chunk("PLTE", Bytes(6, 0), 1), idat4, kIend}, palette4), Is<EPngInvalidCRC>(),
         nullptr},
        {"not zlib data", Rgb({Chunk("IDAT", Bytes{1, 2, 3, 4, 5, 6}), kIend}), Is<EPNGZLIBError>(),
         "Could not decompress the image because it contains invalid compressed data.\n"
         " Description: incorrect header check"},
        {"a bad checksum", Rgb({Chunk("IDAT", badAdler), kIend}), Is<EPNGZLIBError>(),
         "Could not decompress the image because it contains invalid compressed data.\n"
         " Description: incorrect data check"},
        {"filter type 5", Rgb({Chunk("IDAT", Deflate(badFilter)), kIend}), Is<EPNGZLIBError>(),
         "Could not decompress the image because it contains invalid compressed data.\n"
         " Description: invalid filter type"},
        {"a window above 32 KB", Rgb({Chunk("IDAT", WindowAbove32K()), kIend}), Is<EPNGZLIBError>(),
         "Could not decompress the image because it contains invalid compressed data.\n"
         " Description: invalid window size"},
        {"one row short", Rgb({Chunk("IDAT", Deflate(Bytes(kRgbRows.begin(), kRgbRows.begin() + 7))), kIend}),
         Is<EPNGMissingMultipleIDAT>(), kMissingText},
        {"a chunk between the IDAT chunks",
         Rgb({Chunk("IDAT", Bytes(kIdat.begin(), kIdat.begin() + 8)), Chunk("tEXt", {'a', 0, 'b'}),
              Chunk("IDAT", Bytes(kIdat.begin() + 8, kIdat.end())), kIend}),
         Is<EPNGMissingMultipleIDAT>(), kMissingText},
        {"a tRNS of 257 bytes", Rgb({Chunk("tRNS", Bytes(257, 0)), Chunk("IDAT", kIdat), kIend}),
         Is<EPNGInvalidPalette>(), kPaletteText},
        {"a palette picture without PLTE", Rgb({idat4, kIend}, palette4), Is<EPNGInvalidPalette>(), kPaletteText},
        {"a PLTE of 7 bytes", Rgb({Chunk("PLTE", Bytes(7, 0)), idat4, kIend}, palette4), Is<EPNGInvalidPalette>(),
         kPaletteText},
        {"two PLTE chunks", Rgb({Chunk("PLTE", Bytes(6, 0)), Chunk("PLTE", Bytes(6, 0)), idat4, kIend}, palette4),
         Is<EPNGInvalidPalette>(), kPaletteText},
        {"more alpha than entries", Rgb({Chunk("PLTE", Bytes(6, 0)), Chunk("tRNS", Bytes(3, 0)), idat4, kIend}, palette4),
         Is<EPNGInvalidPalette>(), kPaletteText},
        {"above 2^28 pixels", Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(20000, 20000, 8, 2)), Is<EInvalidGraphic>(),
         nullptr},
    };
}

TEST(PngReader, EachFaultRaisesItsErrorWithItsText)
{
    for (const BrokenFile& f : BrokenFiles()) {
        try {
            Load(f.bytes);
            ADD_FAILURE() << f.what << ": loaded";
        } catch (const Exception& e) {
            SCOPED_TRACE(f.what);
            f.isExpected(e);
            if (f.message) {
                EXPECT_STREQ(e.what(), f.message);
            }
        }
    }
}

TEST(PngReader, APictureTheFileCannotHoldIsRefusedBeforeItsPixelsExist)
{
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    // 16384 x 16384 x 3 bytes would need far more data than 14 bytes inflate to.
    const Bytes file = Rgb({Chunk("IDAT", kIdat), kIend}, Ihdr(16384, 16384, 8, 2));
    EXPECT_THROW(Load(file), EPNGMissingMultipleIDAT);
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kilobytes";
}

TEST(PngReader, AFailedLoadKeepsThePreviousPicture)
{
    TPNGPicture png = Load(Rgb({Chunk("IDAT", kIdat), kIend}));
    TMemoryStream broken(Rgb({Chunk("IDAT", kIdat, 1), kIend}));
    EXPECT_THROW(png.LoadFromStream(broken), EPngInvalidCRC);
    EXPECT_EQ(png.Width(), 2);
    EXPECT_EQ(png.Image().pixels.Pixel(1, 1), (TColor{10, 11, 12}));
}

}  // namespace
}  // namespace kobalto
