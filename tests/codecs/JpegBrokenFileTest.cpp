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

// Where the first scan's data begins: just past the first SOS segment.
size_t FirstScanData(const std::vector<uint8_t>& jpeg)
{
    for (size_t i = 2; i + 3 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            return i + 2 + (size_t{jpeg[i + 2]} << 8 | jpeg[i + 3]);
    ADD_FAILURE() << "no scan";
    return jpeg.size();
}

// True when a file cut after length bytes ends inside a marker segment that
// follows the first scan (the tables and headers of later scans).
bool CutInsideLaterSegment(const std::vector<uint8_t>& jpeg, size_t length)
{
    for (size_t i = FirstScanData(jpeg); i + 3 < jpeg.size(); ++i) {
        const uint8_t m = jpeg[i + 1];
        if (jpeg[i] != 0xFF || m == 0x00 || m == 0xFF || (m >= 0xD0 && m <= 0xD7) || m == 0xD9)
            continue;
        const size_t end = i + 2 + (size_t{jpeg[i + 2]} << 8 | jpeg[i + 3]);
        if (length > i && length < end)
            return true;
        i = end - 1;
    }
    return false;
}

TEST(JpegBrokenFile, AFileCutInsideItsImageDataShowsThePartThatArrived)
{
    for (bool progressive : {false, true}) {
        const auto good = test::EncodeForTest(Noise(48, 40), 90, progressive);
        const TBitmap whole = test::LoadJpeg(good).Bitmap();
        const size_t dataStart = FirstScanData(good);
        for (size_t length = 0; length < good.size(); length += (length < 700 ? 1 : 37)) {
            const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
            // Cut inside the tables between two scans, the tables are garbage
            // to libjpeg, as they are to the peer: either outcome, no crash.
            const bool eitherWay = CutInsideLaterSegment(good, length);
            TJPEGPicture picture;
            bool loaded = false;
            try {
                TMemoryStream stream(cut);
                picture.LoadFromStream(stream);
                loaded = true;
                const TBitmap& b = picture.Bitmap();
                EXPECT_GT(length, dataStart) << "no image data, yet decoded, length " << length;
                EXPECT_EQ(b.Width(), 48);
                EXPECT_EQ(b.Height(), 40);
            } catch (const EJPEG& e) {
                EXPECT_TRUE(length <= dataStart || eitherWay)
                    << "length " << length << (progressive ? " progressive " : " ") << e.what();
                // A failed decode leaves the file and no bitmap.
                EXPECT_EQ(picture.HasCompressedData(), loaded);
                EXPECT_FALSE(picture.HasBitmap() && loaded);
            }
        }
        // A file that lacks only its end marker is whole.
        const std::vector<uint8_t> noEnd(good.begin(), good.end() - 2);
        const TBitmap b = test::LoadJpeg(noEnd).Bitmap();
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x)
                ASSERT_EQ(b.Pixel(x, y), whole.Pixel(x, y)) << x << "," << y << (progressive ? " progressive" : "");
    }
}

TEST(JpegBrokenFile, ACutPhotoDecodesAsThePeerShowsIt)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    for (bool progressive : {false, true}) {
        const auto good = test::EncodeForTest(Noise(64, 48), 90, progressive);
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 2 / 3));
        const std::string path = dir.File(progressive ? "p.jpg" : "s.jpg");
        test::WriteBytes(path, cut);
        TBitmap peer;
        ASSERT_TRUE(test::DecodeWithPeer(path, peer));
        const TBitmap ours = test::LoadJpeg(cut).Bitmap();
        ASSERT_EQ(ours.Width(), peer.Width());
        ASSERT_EQ(ours.Height(), peer.Height());
        for (int y = 0; y < ours.Height(); ++y)
            for (int x = 0; x < ours.Width(); ++x)
                ASSERT_TRUE(test::Near(ours.Pixel(x, y), peer.Pixel(x, y), 1))
                    << x << "," << y << (progressive ? " progressive" : "");
        // The rows that never arrived are filled in, not left as the full picture's.
        EXPECT_NE(ours.Pixel(60, 46), test::LoadJpeg(good).Bitmap().Pixel(60, 46)) << progressive;
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
