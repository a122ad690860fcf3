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
#include "base/FileWriteFault.h"
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

// A write failing midway, a folder at the output's path and a link naming
// nothing: each writer raises an error naming the output, and the folder is
// as it was.
TEST(WriterTable, EachFaultGivesAnErrorNamingTheFileAndLeavesTheFolderAsItWas)
{
    for (const std::string& extension : WriterExtensions()) {
        SCOPED_TRACE(extension);
        test::TempDir dir;
        // How many writes a save makes, so that the middle one can fail.
        long writes;
        {
            TFileWriteFault count(0);
            TBitmap b = test::PatternBitmap(40, 30);
            ASSERT_TRUE(SaveImageFile(b, dir.File("probe" + extension), false, 0));
            writes = count.Writes();
        }
        ASSERT_GE(writes, 1);
        std::filesystem::remove(dir.File("probe" + extension));

        const std::string file = dir.File("old" + extension);
        test::WriteBytes(file, {1, 2, 3});
        const std::string folder = dir.File("folder" + extension);
        std::filesystem::create_directory(folder);
        const std::string link = dir.File("link" + extension);
        std::filesystem::create_symlink(dir.File("nowhere" + extension), link);
        const struct {
            std::string path;
            long failingWrite;
            std::string error;
        } faults[] = {
            {file, (writes + 1) / 2, "Cannot write " + file + ": Input/output error."},
            {folder, 0, "ファイル " + folder + " を作成できません"},
            {link, 0, "ファイル " + link + " を作成できません"},
        };
        for (const auto& f : faults) {
            SCOPED_TRACE(f.path);
            TBitmap b = test::PatternBitmap(40, 30);
            try {
                TFileWriteFault fault(f.failingWrite);
                SaveImageFile(b, f.path, false, 0);
                ADD_FAILURE() << "no error";
            } catch (const Exception& e) {
                EXPECT_EQ(e.what(), f.error);
            }
        }
        EXPECT_EQ(test::ReadBytes(file), (Bytes{1, 2, 3}));
        EXPECT_EQ(FilesIn(dir.Path()), 3u) << "no temporary left";
        EXPECT_EQ(FilesIn(folder), 0u);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
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
