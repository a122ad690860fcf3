// The Photoshop, PPM and PCX writers: exact bytes of small files, and what
// the three share (any pixel format, refusals, failed writes).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "formats/pcx/PcxWriter.h"
#include "formats/pnm/PpmWriter.h"
#include "formats/psd/PsdWriter.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

struct Writer {
    const char* name;
    std::function<void(const TBitmap&, const std::string&)> save;
};

const Writer kWriters[] = {{"psd", SaveBitmapAsPsd}, {"ppm", SaveBitmapAsPpm}, {"pcx", SaveBitmapAsPcx}};

Bytes Written(const Writer& w, const TBitmap& b)
{
    test::TempDir dir;
    const std::string path = dir.File(std::string("out.") + w.name);
    w.save(b, path);
    return test::ReadBytes(path);
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

size_t FilesIn(const std::string& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                             std::filesystem::directory_iterator()));
}

// Top row: two reds of 200 (a PCX count byte's range) and one of 5; bottom
// row one colour.
TBitmap ThreeByTwo()
{
    const TColor top[3] = {{200, 10, 0}, {200, 20, 0}, {5, 30, 0}};
    return test::MakeBitmap(3, 2, [&](int x, int y) { return y == 0 ? top[x] : TColor{7, 7, 255}; });
}

TBitmap Solid(int w, int h) { return test::MakeBitmap(w, h, [](int, int) { return TColor{1, 2, 3}; }); }

const Bytes kPsdResolution = {
    0, 0, 0, 28,                         // resources section length
    '8', 'B', 'I', 'M', 0x03, 0xED,      // resolution info
    0, 0, 0, 0, 0, 16,                   // empty name, 16 bytes of data
    0, 72, 0, 0, 0, 1, 0, 1,             // 72.0 pixels per inch, shown in inches
    0, 72, 0, 0, 0, 1, 0, 1,
};

TEST(DirectColourWriters, SmallFilesAreExact)
{
    const struct {
        const Writer& writer;
        TBitmap bitmap;
        Bytes expected;
    } cases[] = {
        {kWriters[0], ThreeByTwo(),
         Bytes{'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0,  // signature, version 1, reserved
               0, 3, 0, 0, 0, 2, 0, 0, 0, 3,                // 3 channels, height 2, width 3
               0, 8, 0, 3,                                  // 8 bits, RGB
               0, 0, 0, 0} +                                // no colour-mode data
             kPsdResolution +
             Bytes{0, 0, 0, 0,                              // no layers
                   0, 0,                                    // raw: coded would take 28 bytes
                   200, 200, 5, 7, 7, 7,                    // red plane
                   10, 20, 30, 7, 7, 7,                     // green
                   0, 0, 0, 255, 255, 255}},                // blue
        // Coded: 12 bytes against 15 raw.
        {kWriters[0], Solid(5, 1),
         Bytes{'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 5, 0, 8, 0, 3, 0, 0, 0, 0} +
             kPsdResolution +
             Bytes{0, 0, 0, 0,
                   0, 1,                                    // PackBits
                   0, 2, 0, 2, 0, 2,                        // bytes per row, red, green, blue
                   0xFC, 1, 0xFC, 2, 0xFC, 3}},             // each a run of five
        // Coded and raw both 12 bytes: coded wins the tie.
        {kWriters[0], Solid(4, 1),
         Bytes{'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 4, 0, 8, 0, 3, 0, 0, 0, 0} +
             kPsdResolution + Bytes{0, 0, 0, 0, 0, 1, 0, 2, 0, 2, 0, 2, 0xFD, 1, 0xFD, 2, 0xFD, 3}},
        {kWriters[1], ThreeByTwo(),
         Bytes{'P', '6', '\n', '3', ' ', '2', '\n', '2', '5', '5', '\n',
               200, 10, 0, 200, 20, 0, 5, 30, 0,
               7, 7, 255, 7, 7, 255, 7, 7, 255}},
        {kWriters[2], ThreeByTwo(),
         Bytes{0x0A, 5, 1, 8,                               // ZSoft, version 5, coded, 8 bits
               0, 0, 0, 0, 2, 0, 1, 0,                      // window 0,0 to 2,1
               72, 0, 72, 0} +                              // dpi
             Bytes(48, 0) +                                 // 16-colour palette
             Bytes{0, 3, 4, 0, 1, 0} +                      // reserved, 3 planes, 4 bytes a line, colour
             Bytes(58, 0) +
             Bytes{0xC2, 200, 5, 0,                         // top red: 200 twice, 5, padding
                   10, 20, 30, 0,                           // top green
                   0xC4, 0,                                 // top blue and padding in one run
                   0xC3, 7, 0, 0xC3, 7, 0,                  // bottom red, green
                   0xC3, 255, 0}},                          // bottom blue
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.writer.name) + " " + std::to_string(c.bitmap.Width()) + "x" +
                     std::to_string(c.bitmap.Height()));
        EXPECT_EQ(Written(c.writer, c.bitmap), c.expected);
    }
}

TEST(DirectColourWriters, OtherPixelFormatsMatchTheirTwentyFourBitCopy)
{
    TBitmap source = test::PatternBitmap(7, 5);
    for (const Writer& w : kWriters)
        for (TPixelFormat f : {TPixelFormat::pf32bit, TPixelFormat::pf16bit, TPixelFormat::pf8bit,
                               TPixelFormat::pf4bit, TPixelFormat::pf1bit}) {
            SCOPED_TRACE(std::string(w.name) + " " + std::to_string(BitsPerPixel(f)));
            TBitmap b(source);
            b.SetPixelFormat(f);
            TBitmap wide(b);
            wide.SetPixelFormat(TPixelFormat::pf24bit);
            EXPECT_EQ(Written(w, b), Written(w, wide));
        }
}

TEST(DirectColourWriters, RefusedPicturesCreateNothing)
{
    const struct {
        const Writer& writer;
        int width, height;
        bool refused;
    } cases[] = {
        {kWriters[0], 0, 0, true},        {kWriters[1], 0, 0, true},      {kWriters[2], 0, 0, true},
        {kWriters[0], 3, 0, true},        {kWriters[1], 0, 3, true},      {kWriters[2], 3, 0, true},
        {kWriters[0], 30000, 1, false},   {kWriters[0], 30001, 1, true},  {kWriters[0], 1, 30001, true},
        {kWriters[2], 65534, 1, false},   {kWriters[2], 65535, 1, true},  {kWriters[2], 1, 65536, false},
        {kWriters[2], 1, 65537, true},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.writer.name) + " " + std::to_string(c.width) + "x" + std::to_string(c.height));
        const std::string path = dir.File(std::string("out.") + c.writer.name);
        test::WriteBytes(path, {1, 2, 3});
        if (c.refused) {
            EXPECT_THROW(c.writer.save(TBitmap(c.width, c.height), path), EInvalidGraphicOperation);
            EXPECT_EQ(test::ReadBytes(path), (Bytes{1, 2, 3}));
        } else {
            c.writer.save(TBitmap(c.width, c.height), path);
            EXPECT_GT(test::ReadBytes(path).size(), 3u);
        }
        std::filesystem::remove(path);
        EXPECT_EQ(FilesIn(dir.Path()), 0u);
    }
}

TEST(DirectColourWriters, AFailedWriteKeepsTheOldFile)
{
    test::TempDir dir;
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const std::string existing = dir.File(std::string("old.") + w.name);
        test::WriteBytes(existing, {9, 8, 7});
        {
            test::FileSizeLimit limit(100);
            EXPECT_THROW(w.save(test::PatternBitmap(40, 40), existing), EWriteError);
        }
        EXPECT_EQ(test::ReadBytes(existing), (Bytes{9, 8, 7}));
        EXPECT_THROW(w.save(test::PatternBitmap(2, 2), dir.File("no-such-folder/out")), EFCreateError);
    }
    EXPECT_EQ(FilesIn(dir.Path()), 3u) << "no temporary left";
}

}  // namespace
}  // namespace kobalto
