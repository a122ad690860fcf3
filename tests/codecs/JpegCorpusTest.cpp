// Conformance against real-world files other projects wrote: every valid
// JPEG of the shared corpus decodes like ImageMagick decodes it (turned by
// its EXIF orientation), and no file crashes or hangs the decoder.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>

#include "base/Exceptions.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "tests/codecs/JpegTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

// Valid files that neither we nor the peer can read, and why.
const std::map<std::string, std::string> kUnreadable{
    {"monkey12.jpg", "12-bit samples: this libjpeg build decodes 8-bit JPEG only"},
    {"jpeg_lossless_sel1.jpg", "lossless process (SOF3): not in this libjpeg build"},
    {"jpeg_lossless_sel7.jpg", "lossless process (SOF3): not in this libjpeg build"},
    {"jpg-size-6x6.jpg", "a PNG file under a .jpg name; the registry goes by the extension"},
};

using test::CorpusFile;

// Decodes path with the settings the batch uses, into 24 bits. False, with
// the reason, when it raises.
bool LoadLikeTheBatch(const std::string& path, TBitmap& out, std::string& error)
{
    try {
        TJPEGPicture picture;
        picture.LoadFromFile(path);
        picture.SetScale(TJPEGScale::jsFullSize);
        picture.SetPixelFormat(TJPEGPixelFormat::jf24Bit);
        picture.SetPerformance(TJPEGPerformance::jpBestQuality);
        out = *picture.ReleaseBitmap();
        out.SetPixelFormat(TPixelFormat::pf24bit);
        return true;
    } catch (const Exception& e) {
        error = e.what();
        return false;
    }
}

class JpegCorpus : public testing::Test {
protected:
    void SetUp() override
    {
        if (!test::HaveCorpus())
            GTEST_SKIP() << "no corpus at " << test::CorpusDir();
        files_ = test::CorpusFiles("jpeg");
        ASSERT_GT(files_.size(), 100u) << "the README lists the jpeg folder";
    }
    std::vector<CorpusFile> files_;
};

TEST_F(JpegCorpus, ValidFilesDecodeLikeThePeer)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    int compared = 0;
    for (const CorpusFile& f : files_) {
        if (f.expected != "valid")
            continue;
        const std::string& path = f.path;
        TBitmap ours;
        std::string error;
        const bool read = LoadLikeTheBatch(path, ours, error);
        if (kUnreadable.count(f.name)) {
            EXPECT_FALSE(read) << f.name << " was expected to fail: " << kUnreadable.at(f.name);
            continue;
        }
        ASSERT_TRUE(read) << f.name << ": " << error;
        TBitmap peer;
        ASSERT_TRUE(test::DecodeWithPeer(path, peer)) << f.name;
        ASSERT_EQ(ours.Width(), peer.Width()) << f.name;
        ASSERT_EQ(ours.Height(), peer.Height()) << f.name;
        EXPECT_LE(test::MeanAbsDiff(ours, peer), 1.0) << f.name;
        ++compared;
    }
    EXPECT_GT(compared, 60);
}

TEST_F(JpegCorpus, QuestionableAndBrokenFilesRaiseOrGiveAPictureQuickly)
{
    for (const CorpusFile& f : files_) {
        if (f.expected == "valid")
            continue;
        const auto start = std::chrono::steady_clock::now();
        TBitmap ours;
        std::string error;
        if (LoadLikeTheBatch(f.path, ours, error)) {
            EXPECT_GT(ours.Width(), 0) << f.name;
            EXPECT_EQ(ours.PixelFormat(), TPixelFormat::pf24bit) << f.name;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << f.name;
        RecordProperty(f.name, error.empty() ? "decoded" : error);
    }
}

}  // namespace
}  // namespace kobalto
