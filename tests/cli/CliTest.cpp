#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "graphics/TBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

int Cli(const std::string& args, std::string* out = nullptr)
{
    return test::RunCommand(std::string(KOBALTO_CLI_PATH) + " " + args, out);
}

// Every pixel of b equals the peer's decode of path after dropping the low
// bits the format cannot keep.
void ExpectPeerSees(const std::string& path, const TBitmap& b, int dropBits)
{
    TBitmap peer;
    ASSERT_TRUE(test::DecodeWithPeer(path, peer)) << path;
    ASSERT_EQ(peer.Width(), b.Width());
    ASSERT_EQ(peer.Height(), b.Height());
    const uint8_t mask = static_cast<uint8_t>(0xFF << dropBits);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            TColor want = b.Pixel(x, y), got = peer.Pixel(x, y);
            if (dropBits) {
                // The peer widens 5-bit values its own way; compare the top bits.
                got = {static_cast<uint8_t>(got.red & mask), static_cast<uint8_t>(got.green & mask),
                       static_cast<uint8_t>(got.blue & mask)};
                want = {static_cast<uint8_t>(want.red & mask), static_cast<uint8_t>(want.green & mask),
                        static_cast<uint8_t>(want.blue & mask)};
            }
            ASSERT_EQ(got, want) << path << " at " << x << "," << y;
        }
}

TEST(Cli, ConvertWritesBmpTiffAndTgaThatPeersRead)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    TBitmap source = test::PatternBitmap(37, 23);
    source.SaveToFile(dir.File("in.bmp"));
    for (const char* out : {"o.bmp", "o.tif", "o.tga", "o.tiff"}) {
        ASSERT_EQ(Cli("convert " + dir.File("in.bmp") + " " + dir.File(out)), 0) << out;
        ExpectPeerSees(dir.File(out), source, std::string(out) == "o.tga" ? 3 : 0);
    }
    if (test::HaveTool("tiffinfo")) {
        std::string info;
        for (const char* out : {"o.tif", "o.tiff"}) {
            EXPECT_EQ(test::RunCommand("tiffinfo " + dir.File(out) + " 2>&1", &info), 0) << out;
            EXPECT_NE(info.find("Image Width: 37 Image Length: 23"), std::string::npos) << info;
        }
    }
}

TEST(Cli, ConvertScalesByTheFactor)
{
    test::TempDir dir;
    test::PatternBitmap(40, 30).SaveToFile(dir.File("in.bmp"));
    for (const char* smooth : {"", "--smooth "}) {
        ASSERT_EQ(Cli(std::string("convert --factor 0.25 ") + smooth + dir.File("in.bmp") + " " + dir.File("o.bmp")), 0);
        TBitmap o;
        o.LoadFromFile(dir.File("o.bmp"));
        EXPECT_EQ(o.Width(), 10);
        EXPECT_EQ(o.Height(), 7);
    }
}

TEST(Cli, ConvertFailuresExitOneAndWriteNothing)
{
    test::TempDir dir;
    test::PatternBitmap(4, 4).SaveToFile(dir.File("in.bmp"));
    test::WriteBytes(dir.File("bad.bmp"), {'B', 'M', 9});
    const struct {
        std::string args;
        std::string out;
    } cases[] = {
        {"convert " + dir.File("in.bmp") + " " + dir.File("o.psp"), "o.psp"},
        {"convert " + dir.File("in.bmp") + " " + dir.File("o.txt"), "o.txt"},
        {"convert " + dir.File("bad.bmp") + " " + dir.File("o2.bmp"), "o2.bmp"},
        {"convert " + dir.File("none.bmp") + " " + dir.File("o3.bmp"), "o3.bmp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cli(c.args + " 2>/dev/null"), 1) << c.args;
        EXPECT_FALSE(test::FileExists(dir.File(c.out))) << c.args;
    }
}

TEST(Cli, ShrinkReportsSkippedPathsAndStopsAtTheFirstErrorUnlessToldToGoOn)
{
    test::TempDir in;
    test::PatternBitmap(20, 10).SaveToFile(in.File("a.bmp"));
    test::WriteBytes(in.File("b.bmp"), {'B', 'M'});
    test::PatternBitmap(20, 10).SaveToFile(in.File("c.bmp"));
    const std::string files = in.File("a.bmp") + " " + in.Path() + "/ " + in.File("skip.txt") + " " +
                              in.File("b.bmp") + " " + in.File("c.bmp");
    const std::string skipped = "kobalto-cli: " + in.Path() + "/: skipped: not an accepted image file\n" +
                                "kobalto-cli: " + in.File("skip.txt") + ": skipped: not an accepted image file\n";
    const std::string failed = "kobalto-cli: " + in.File("b.bmp") + ": ビットマップイメージが不正です\n";
    const struct {
        const char* option;
        const char* printed;
        std::string err;
        bool lastWritten;
    } cases[] = {
        {"", "a.bmp ( 0.6KB → 0.1KB )\n", skipped + failed, false},
        {"--keep-going ", "a.bmp ( 0.6KB → 0.1KB )\nc.bmp ( 0.6KB → 0.1KB )\n", skipped + failed, true},
        {"-k ", "a.bmp ( 0.6KB → 0.1KB )\nc.bmp ( 0.6KB → 0.1KB )\n", skipped + failed, true},
    };
    for (const auto& c : cases)
        for (const std::string jobs : {"-j 1 ", "-j3 ", "--jobs 4 "}) {
            test::TempDir out;
            std::string printed;
            const int rc = Cli("shrink --percent 5 " + jobs + c.option + "--out " + out.Path() + " " + files +
                                   " 2>" + out.File("err.txt"),
                               &printed);
            EXPECT_EQ(rc, 1) << c.option << jobs;
            EXPECT_EQ(printed, c.printed) << c.option << jobs;
            auto err = test::ReadBytes(out.File("err.txt"));
            EXPECT_EQ(std::string(err.begin(), err.end()), c.err) << c.option << jobs;
            EXPECT_EQ(test::FileExists(out.File("c.bmp")), c.lastWritten) << c.option << jobs;
        }
    // Only skipped paths: they are no failure.
    test::TempDir out;
    EXPECT_EQ(Cli("shrink -k --out " + out.Path() + " " + in.File("skip.txt") + " 2>/dev/null"), 0);
}

// A run killed while it wrote left temporaries; the next start removes
// those a minute old, in the folder it writes to, and nothing else.
TEST(Cli, AStartRemovesTheStaleTemporariesOfAKilledRun)
{
    test::TempDir in;
    test::PatternBitmap(20, 10).SaveToFile(in.File("a.bmp"));
    const time_t old = std::time(nullptr) - 120;
    for (const char* command : {"shrink --out OUT IN", "convert IN OUT/b.png"}) {
        SCOPED_TRACE(command);
        test::TempDir out;
        for (const char* name : {".kobalto-Stale1", ".kobalto-Young1", "keep.png"})
            test::WriteBytes(out.File(name), {1});
        for (const char* name : {".kobalto-Stale1", "keep.png"}) {
            const timespec times[2] = {{old, 0}, {old, 0}};
            ::utimensat(AT_FDCWD, out.File(name).c_str(), times, 0);
        }
        std::string args = command;
        args.replace(args.find("OUT"), 3, out.Path());
        args.replace(args.find("IN"), 2, in.File("a.bmp"));
        ASSERT_EQ(Cli(args + " >/dev/null"), 0);
        EXPECT_FALSE(test::FileExists(out.File(".kobalto-Stale1")));
        EXPECT_TRUE(test::FileExists(out.File(".kobalto-Young1")));
        EXPECT_TRUE(test::FileExists(out.File("keep.png")));
    }
}

TEST(Cli, ShrinkOnSeveralThreadsWritesWhatOneAtATimeWrites)
{
    test::TempDir in, one, many;
    // The largest first: the others finish before it and still report after it.
    test::PatternBitmap(1600, 1200).SaveToFile(in.File("a.bmp"));
    test::PatternBitmap(300, 200).SaveToFile(in.File("b.bmp"));
    test::PatternBitmap(64, 64).SaveToFile(in.File("c.bmp"));
    ASSERT_EQ(Cli("convert " + in.File("b.bmp") + " " + in.File("b.png")), 0);
    ASSERT_EQ(Cli("convert " + in.File("b.bmp") + " " + in.File("b.jpg")), 0);
    const std::string files = in.File("a.bmp") + " " + in.File("b.png") + " " + in.File("b.jpg") + " " +
                              in.File("c.bmp");
    std::string sequential, parallel;
    ASSERT_EQ(Cli("shrink --percent 40 -j 1 --out " + one.Path() + " " + files, &sequential), 0);
    ASSERT_EQ(Cli("shrink --percent 40 -j 4 --out " + many.Path() + " " + files, &parallel), 0);
    EXPECT_EQ(parallel, sequential);
    EXPECT_EQ(sequential.substr(0, 6), "a.bmp ");
    for (const char* name : {"a.bmp", "b.png", "b.jpg", "c.bmp"}) {
        EXPECT_TRUE(test::FileExists(many.File(name))) << name;
        EXPECT_EQ(test::ReadBytes(many.File(name)), test::ReadBytes(one.File(name))) << name;
    }
}

TEST(Cli, UsageErrorsExitTwo)
{
    for (const char* args : {"", "shrink", "convert a.bmp", "shrink --percent", "frobnicate x",
                             "convert --factor -1 a.bmp b.bmp", "shrink --factor 2 a.bmp",
                             "shrink -j 0 a.bmp", "shrink -jx a.bmp", "shrink -j", "convert -j 2 a.bmp b.bmp"}) {
        int rc = Cli(std::string(args) + " >/dev/null 2>&1");
        EXPECT_EQ(rc, 2) << args;
    }
    std::string help;
    EXPECT_EQ(Cli("--help", &help), 0);
    EXPECT_NE(help.find("kobalto-cli shrink"), std::string::npos);
}

}  // namespace
}  // namespace kobalto
