// Saving while the picture is still being decoded: the same file, or the
// same error and no file, as loading it whole and then saving.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>

#include <iterator>
#include <string>
#include <vector>

#include <zlib.h>

#include "codecs/jpeg/JpegEncoder.h"
#include "codecs/png/TPNGPicture.h"
#include "imaging/LoadScaleAndSave.h"
#include "imaging/SaveImageFile.h"
#include "imaging/Scaling.h"
#include "platform/SpareCores.h"
#include "tests/codecs/JpegTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

struct Outcome {
    std::vector<uint8_t> file;  // empty: none written
    std::string error;
};

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

Outcome Take(const std::string& out, const std::string& error)
{
    Outcome o{test::FileExists(out) ? test::ReadBytes(out) : std::vector<uint8_t>{}, error};
    std::remove(out.c_str());
    return o;
}

Outcome LoadThenSave(const std::string& in, double factor, const std::string& out)
{
    const platform::ScopedSpareCores none(0);
    PictureHolder holder;
    std::string error;
    try {
        LoadAndScaleImage(holder, false, in, factor);
        SaveImageFile(holder.Bitmap(), out, false, 0);
    } catch (const std::exception& e) {
        error = e.what();
    }
    return Take(out, error);
}

Outcome Overlapped(const std::string& in, double factor, const std::string& out, bool& loaded)
{
    const platform::ScopedSpareCores one(1);
    PictureHolder holder;
    std::string error;
    loaded = false;
    try {
        LoadScaleAndSave(holder, in, factor, out, {}, [&] { loaded = true; });
    } catch (const std::exception& e) {
        error = e.what();
    }
    return Take(out, error);
}

TEST(LoadScaleAndSave, WritesTheFileOrRaisesTheErrorOfLoadingThenSaving)
{
    test::TempDir dir;
    const TBitmap picture = test::PatternBitmap(1203, 905);  // a split JPEG decode too
    const std::vector<uint8_t> jpeg = EncodeJpeg(picture, {92, false, false});
    TPNGPicture rgb;
    rgb.AssignBitmap(picture);
    rgb.SaveToFile(dir.File("rgb.png"));
    TBitmap indexed = test::PatternBitmap(300, 200);
    indexed.SetPixelFormat(TPixelFormat::pf8bit);  // decoded whole, then stretched
    TPNGPicture palette;
    palette.AssignBitmap(indexed);
    palette.SaveToFile(dir.File("indexed.png"));
    const std::vector<uint8_t> png = test::ReadBytes(dir.File("rgb.png"));
    // Every row is there, and then the file is refused: the end chunk is
    // missing, or an unknown critical chunk follows the image data.
    const std::vector<uint8_t> noEnd(png.begin(), png.end() - 12);
    std::vector<uint8_t> critical = noEnd;
    const uint8_t unknown[] = {0, 0, 0, 0, 'A', 'B', 'C', 'D'};
    critical.insert(critical.end(), std::begin(unknown), std::end(unknown));
    const uLong crc = crc32(0, unknown + 4, 4);
    for (int i = 0; i < 4; ++i)
        critical.push_back(static_cast<uint8_t>(crc >> (24 - 8 * i)));
    critical.insert(critical.end(), png.end() - 12, png.end());
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"plain.jpg", jpeg},
        // Filled from the bottom: nothing is published before the end.
        {"upside-down.jpg", test::WithSegment(jpeg, 0xE1, test::ExifOrientationBlock(3))},
        {"quarter.jpg", test::WithSegment(jpeg, 0xE1, test::ExifOrientationBlock(6))},
        {"rgb.png", png},
        {"indexed.png", test::ReadBytes(dir.File("indexed.png"))},
        // Cut in the image data: a JPEG shows what arrived, a PNG fails.
        {"cut.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2))},
        {"cut.png", std::vector<uint8_t>(png.begin(), png.begin() + static_cast<long>(png.size() * 3 / 4))},
        {"garbage.png", std::vector<uint8_t>(png.begin(), png.begin() + 100)},
        {"no-end.png", noEnd},
        {"critical.png", critical},
    };
    const std::string outFolder = dir.File("out");
    ASSERT_EQ(mkdir(outFolder.c_str(), 0755), 0);
    for (const Case& c : cases) {
        test::WriteBytes(dir.File(c.name), c.bytes);
        for (double factor : {0.3, 0.5, 1.7}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(factor));
            const std::string out = outFolder + "/" + c.name;
            const Outcome expected = LoadThenSave(dir.File(c.name), factor, out);
            bool loaded = false;
            const Outcome got = Overlapped(dir.File(c.name), factor, out, loaded);
            EXPECT_EQ(got.error, expected.error);
            EXPECT_TRUE(got.file == expected.file) << got.file.size() << " bytes, not " << expected.file.size();
            EXPECT_EQ(loaded, expected.error.empty());
            EXPECT_TRUE(FolderNames(outFolder).empty()) << "a temporary was left";
        }
    }
    // A folder that cannot be written: the writer's error, after loading.
    bool loaded = false;
    const std::string nowhere = dir.File("missing") + "/plain.jpg";
    const Outcome expected = LoadThenSave(dir.File("plain.jpg"), 0.5, nowhere);
    const Outcome got = Overlapped(dir.File("plain.jpg"), 0.5, nowhere, loaded);
    EXPECT_FALSE(expected.error.empty());
    EXPECT_EQ(got.error, expected.error);
    EXPECT_TRUE(loaded);
}

}  // namespace
}  // namespace kobalto
