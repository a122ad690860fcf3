#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>

#include "codecs/jpeg/JpegEncoder.h"
#include "tests/codecs/JpegTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

int Cli(const std::string& args, std::string* out = nullptr)
{
    return test::RunCommand(std::string(KOBALTO_CLI_PATH) + " " + args, out);
}

// Smooth light with grain, like a photo: large files at high quality.
TBitmap PhotoLike(int width, int height)
{
    uint32_t state = 99;
    return test::MakeBitmap(width, height, [&](int x, int y) {
        state = state * 1664525 + 1013904223;
        const int grain = static_cast<int>(state >> 26) - 32;
        auto c = [&](int v) { return static_cast<uint8_t>(std::clamp(v + grain, 0, 255)); };
        return TColor{c(40 + x * 180 / width), c(60 + y * 150 / height), c(200 - (x + y) * 120 / (width + height))};
    });
}

// identify's "format width height quality" of a file, or its complaint.
std::string Identify(const std::string& path)
{
    std::string info;
    test::RunCommand("/usr/bin/identify -format '%m %w %h %Q' '" + path + "' 2>&1", &info);
    return info;
}

TEST(JpegCli, AutomaticShrinkOfABigPhotoWritesAQuality80Jpeg)
{
    if (!test::HaveTool("/usr/bin/identify"))
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir in, out;
    const int width = 1800, height = 1300;
    const auto bytes = EncodeJpeg(PhotoLike(width, height), {100, false, false});
    ASSERT_GT(bytes.size(), 2000u * 1024) << "the automatic mode shrinks only files over 2000 KB";
    // The long spelling is the same format, with stale output in the way.
    test::WriteBytes(in.File("photo.jpg"), bytes);
    test::WriteBytes(in.File("holiday.jpeg"), bytes);
    test::WriteBytes(out.File("holiday.jpeg"), bytes);

    std::string printed;
    ASSERT_EQ(Cli("shrink --out " + out.Path() + " " + in.File("photo.jpg") + " " + in.File("holiday.jpeg"), &printed), 0);
    // The factor 2000 ÷ KB, sides truncated.
    const double factor = 2000.0 / (static_cast<double>(bytes.size()) / 1024);
    const int w = static_cast<int>(width * factor), h = static_cast<int>(height * factor);
    size_t line = 0;
    for (const char* name : {"photo.jpg", "holiday.jpeg"}) {
        const std::string info = Identify(out.File(name));
        EXPECT_TRUE(info == "JPEG " + std::to_string(w) + " " + std::to_string(h) + " 80" ||
                    info == "JPEG " + std::to_string(w - 1) + " " + std::to_string(h) + " 80" ||
                    info == "JPEG " + std::to_string(w) + " " + std::to_string(h - 1) + " 80")
            << name << ": " << info << " for about " << w << " x " << h;
        const size_t written = test::ReadBytes(out.File(name)).size();
        EXPECT_LT(written, bytes.size()) << name;
        // The report shows the size of the file just written.
        const size_t end = printed.find('\n', line);
        ASSERT_NE(end, std::string::npos) << printed;
        std::ostringstream kb;
        kb << std::fixed << std::setprecision(1) << static_cast<double>(written) / 1024 << "KB )";
        const std::string report = printed.substr(line, end - line);
        EXPECT_EQ(report.rfind(std::string(name) + " ( ", 0), 0u) << report;
        EXPECT_NE(report.find("→ " + kb.str()), std::string::npos) << report << " for " << written << " bytes";
        line = end + 1;
    }
}

TEST(JpegCli, AShrunkPhotoComesOutUpright)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir in, out;
    // Stored lying on its side: red on the left half, blue on the right;
    // orientation 6 says turn it a quarter clockwise.
    const TBitmap stored = test::MakeBitmap(96, 64, [](int x, int) { return x < 48 ? TColor{255, 0, 0} : TColor{0, 0, 255}; });
    test::WriteBytes(in.File("side.jpg"),
                     test::WithSegment(test::EncodeForTest(stored), 0xE1, test::ExifOrientationBlock(6)));
    ASSERT_EQ(Cli("shrink --percent 50 --out " + out.Path() + " " + in.File("side.jpg") + " >/dev/null"), 0);
    EXPECT_EQ(Identify(out.File("side.jpg")), "JPEG 32 48 80");
    TBitmap result;
    ASSERT_TRUE(test::DecodeWithPeer(out.File("side.jpg"), result));
    // The output has no orientation tag left: red is now the top half.
    EXPECT_TRUE(test::Near(result.Pixel(16, 4), TColor{255, 0, 0}, 24));
    EXPECT_TRUE(test::Near(result.Pixel(16, 44), TColor{0, 0, 255}, 24));
}

}  // namespace
}  // namespace kobalto
