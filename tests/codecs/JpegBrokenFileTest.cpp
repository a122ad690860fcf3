#include <gtest/gtest.h>

#include <jerror.h>
#include <cstdio>
#include <jpeglib.h>

#include "base/Exceptions.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "tests/codecs/JpegTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TBitmap Noise(int width, int height)
{
    uint32_t state = 12345;
    return test::MakeBitmap(width, height, [&](int, int) {
        state = state * 1103515245 + 12345;
        return TColor{static_cast<uint8_t>(state >> 24), static_cast<uint8_t>(state >> 16), static_cast<uint8_t>(state >> 8)};
    });
}

// Loads and decodes; the error, if any, comes back as an EJPEG.
int DecodeErrorCode(const std::vector<uint8_t>& bytes)
{
    try {
        test::LoadJpeg(bytes).Bitmap();
    } catch (const EJPEG& e) {
        return e.Code();
    }
    return 0;
}

// The frame header's height and width fields of an encoded file.
void SetFrameSize(std::vector<uint8_t>& jpeg, int width, int height)
{
    for (size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8), jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8), jpeg[i + 8] = static_cast<uint8_t>(width);
            return;
        }
    FAIL() << "no frame header";
}

TEST(JpegBrokenFile, LibjpegErrorsRaiseEJPEGWithTheirCode)
{
    const auto good = test::EncodeForTest(Noise(40, 30));
    std::vector<uint8_t> notJpeg{'B', 'M', 1, 2, 3, 4, 5, 6};
    std::vector<uint8_t> badHuffman = good;
    // Every DHT code-length count set to 255: more codes than any length allows.
    for (size_t i = 2; i + 4 < badHuffman.size(); ++i)
        if (badHuffman[i] == 0xFF && badHuffman[i + 1] == 0xC4) {
            for (int k = 0; k < 16; ++k)
                badHuffman[i + 5 + static_cast<size_t>(k)] = 255;
            break;
        }
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int code;
    } cases[] = {
        {"empty file", {}, JERR_INPUT_EMPTY},
        {"not a JPEG", notJpeg, JERR_NO_SOI},
        {"only the start marker", {0xFF, 0xD8}, JERR_INPUT_EOF},
        {"bad Huffman table", badHuffman, JERR_BAD_HUFF_TABLE},
    };
    for (const auto& c : cases) {
        try {
            test::LoadJpeg(c.bytes).Bitmap();
            ADD_FAILURE() << c.name;
        } catch (const EJPEG& e) {
            EXPECT_EQ(e.Code(), c.code) << c.name;
            EXPECT_EQ(std::string(e.what()), "JPEG エラー #" + std::to_string(c.code)) << c.name;
        }
    }
}

TEST(JpegBrokenFile, AFileCutAnywhereRaisesAndKeepsNothingHalfDone)
{
    for (bool progressive : {false, true}) {
        const auto good = test::EncodeForTest(Noise(48, 40), 90, progressive);
        for (size_t length = 0; length < good.size() - 2; length += (length < 700 ? 1 : 37)) {
            const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
            TJPEGPicture picture;
            bool loaded = false;
            try {
                TMemoryStream stream(cut);
                picture.LoadFromStream(stream);
                loaded = true;
                picture.Bitmap();
                ADD_FAILURE() << "length " << length << (progressive ? " progressive" : "");
            } catch (const EJPEG&) {
                // A failed decode leaves the file and no bitmap.
                EXPECT_EQ(picture.HasCompressedData(), loaded);
                EXPECT_FALSE(picture.HasBitmap() && loaded);
            }
        }
        // A file must reach its end marker: the decoder reads ahead of the
        // last rows, so it cannot tell a missing marker from missing data.
        const std::vector<uint8_t> noEnd(good.begin(), good.end() - 2);
        EXPECT_EQ(DecodeErrorCode(noEnd), JERR_INPUT_EOF) << progressive;
        EXPECT_EQ(DecodeErrorCode(good), 0) << progressive;
    }
}

TEST(JpegBrokenFile, HugePicturesAreRefusedBeforeAnythingIsAllocated)
{
    auto tooMany = test::EncodeForTest(Noise(16, 16));
    SetFrameSize(tooMany, 16385, 16384);  // one row over 2^28 pixels
    try {
        test::LoadJpeg(tooMany);
        ADD_FAILURE();
    } catch (const EJPEG&) {
        ADD_FAILURE() << "the cap comes first";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
    }

    // 2^28 pixels pass the cap, but a few hundred bytes cannot hold them.
    auto tooShort = test::EncodeForTest(Noise(16, 16));
    SetFrameSize(tooShort, 16384, 16384);
    try {
        test::LoadJpeg(tooShort);
        ADD_FAILURE();
    } catch (const EJPEG& e) {
        EXPECT_STREQ(e.what(), "JPEG file is too short for a 16384 x 16384 picture.");
    }
}

// A progressive file whose first (DC) scan is repeated: harmless in itself,
// but a file can hold any number of such scans.
std::vector<uint8_t> WithRepeatedFirstScan(const std::vector<uint8_t>& jpeg, int copies)
{
    size_t start = 0, end = 0;
    for (size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] != 0xFF)
            continue;
        const uint8_t m = jpeg[i + 1];
        if (m == 0xDA && !start)
            start = i;
        else if (start && m != 0x00 && !(m >= 0xD0 && m <= 0xD7)) {
            end = i;
            break;
        }
    }
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    for (int k = 1; k < copies; ++k)
        out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(start), jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(end), jpeg.end());
    return out;
}

TEST(JpegBrokenFile, AThousandScansAreTheLimit)
{
    const auto progressive = test::EncodeForTest(Noise(8, 8), 90, true);
    const int scans = [&] {
        int n = 0;
        for (size_t i = 0; i + 1 < progressive.size(); ++i)
            n += progressive[i] == 0xFF && progressive[i + 1] == 0xDA;
        return n;
    }();
    ASSERT_GT(scans, 2);
    // scans - 1 + copies scans in all.
    EXPECT_EQ(DecodeErrorCode(WithRepeatedFirstScan(progressive, 1000 - scans + 1)), 0);
    try {
        test::LoadJpeg(WithRepeatedFirstScan(progressive, 1001 - scans + 1)).Bitmap();
        ADD_FAILURE();
    } catch (const EJPEG& e) {
        EXPECT_STREQ(e.what(), "JPEG file has more than 1000 scans.");
    }
}

}  // namespace
}  // namespace kobalto
