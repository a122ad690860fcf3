// Properties every row of the writer table has, tested once over the whole
// table: a new writer gets them by adding its row to SaveImageFile.cpp.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "imaging/ImagingMessages.h"
#include "imaging/SaveBitmapAsGif.h"
#include "imaging/SaveBitmapAsJpeg.h"
#include "imaging/SaveBitmapAsPng.h"
#include "imaging/SaveImageFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

size_t FilesIn(const std::string& folder)
{
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

TEST(WriterTable, EachRowWritesItsOwnFormatUnderItsExtensionInAnyCase)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick's convert is not installed: run tools/install-deps.sh";
    for (const std::string& extension : WriterExtensions()) {
        SCOPED_TRACE(extension);
        test::TempDir dir;
        // An existing read-only file of the name is replaced.
        const std::string path = dir.File("x" + Upper(extension));
        test::WriteBytes(path, {1, 2, 3});
        ::chmod(path.c_str(), 0444);
        TBitmap b = test::PatternBitmap(7, 5);
        ASSERT_TRUE(SaveImageFile(b, path, false, 0));
        EXPECT_EQ(FilesIn(dir.Path()), 1u) << "only the named file";
        // The peer has no metafile reader; the metafile tests read those back.
        if (extension == ".wmf" || extension == ".emf")
            continue;
        // The peer, told the format the extension names, reads the picture;
        // it knows .dib, .rle and .pdd by the names of their formats.
        std::string format = Upper(extension.substr(1));
        if (format == "DIB" || format == "RLE")
            format = "BMP";
        else if (format == "PDD")
            format = "PSD";
        TBitmap peer;
        ASSERT_TRUE(test::DecodeWithPeer(format + ":" + path, peer));
        // An icon is a square of the smallest side that holds the picture.
        const bool icon = extension == ".ico";
        EXPECT_EQ(peer.Width(), icon ? 16 : 7);
        EXPECT_EQ(peer.Height(), icon ? 16 : 5);
    }
}

TEST(WriterTable, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    for (const std::string& extension : WriterExtensions()) {
        SCOPED_TRACE(extension);
        test::TempDir dir;
        const std::string old = dir.File("old" + extension);
        test::WriteBytes(old, {1, 2, 3});
        {
            test::FileSizeLimit limit(100);  // a disk that fills up mid-file
            TBitmap b = test::PatternBitmap(20, 20);
            EXPECT_THROW(SaveImageFile(b, old, false, 0), Exception);
        }
        EXPECT_EQ(test::ReadBytes(old), (Bytes{1, 2, 3}));
        EXPECT_EQ(FilesIn(dir.Path()), 1u) << "no temporary left";

        // A folder that is not there: the system's text with the path.
        const std::string missing = dir.File("none/new" + extension);
        TBitmap b = test::PatternBitmap(4, 4);
        try {
            SaveImageFile(b, missing, false, 0);
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "ファイル " + missing + " を作成できません");
        }
    }
}

// The JPEG, GIF and PNG save steps check the extension themselves: under
// any other name they write nothing and leave the bitmap as it was.
TEST(WriterTable, TheSaveStepsWriteOnlyUnderTheirOwnExtension)
{
    using Step = std::function<bool(TBitmap&, const std::string&)>;
    const struct {
        std::string extension;
        Step save;
    } steps[] = {
        {".jpg", [](TBitmap& b, const std::string& p) { return SaveBitmapAsJpeg(b, p, 80); }},
        {".gif", [](TBitmap& b, const std::string& p) { return SaveBitmapAsGif(b, p, false); }},
        {".png", [](TBitmap& b, const std::string& p) { return SaveBitmapAsPng(b, p, false); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.extension);
        test::TempDir dir;
        std::vector<std::string> others = {"a" + step.extension + ".bmp", step.extension.substr(1)};
        for (const std::string& extension : WriterExtensions())
            if (extension != step.extension && !(step.extension == ".jpg" && extension == ".jpeg"))
                others.push_back("a" + extension);
        for (const std::string& name : others) {
            TBitmap b = test::PatternBitmap(4, 4);
            const TBitmap before = b;
            EXPECT_FALSE(step.save(b, dir.File(name))) << name;
            EXPECT_EQ(FilesIn(dir.Path()), 0u) << name;
            EXPECT_EQ(b.PixelFormat(), before.PixelFormat()) << name;
            EXPECT_EQ(Bytes(b.Bits(), b.Bits() + b.ImageSize()), Bytes(before.Bits(), before.Bits() + before.ImageSize()))
                << name;
        }
        TBitmap b = test::PatternBitmap(4, 4);
        EXPECT_TRUE(step.save(b, dir.File("a" + Upper(step.extension))));
        EXPECT_TRUE(test::FileExists(dir.File("a" + Upper(step.extension))));
    }
}

}  // namespace
}  // namespace kobalto
