#pragma once
// Helpers shared by the test programs: temporary folders, small bitmaps,
// files as bytes, and the peer tools used as oracles.
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/TBitmap.h"
#include "tests/support/Corpus.h"

namespace kobalto::test {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool FileExists(const std::string& path);

// A 24-bit bitmap whose pixel (x, y) is the colour f(x, y).
template <typename F>
TBitmap MakeBitmap(int width, int height, F f)
{
    TBitmap b(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, f(x, y));
    return b;
}

// A deterministic colourful picture, for round trips.
TBitmap PatternBitmap(int width, int height);

// Two 24-bit bitmaps of the same size and format with the same pixel bytes
// (row padding aside).
bool SameBytes(const TBitmap& a, const TBitmap& b);

// Runs a shell command; returns its exit status and fills output with what
// it printed on standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);
// True when the named program is on the PATH.
bool HaveTool(const std::string& program);
// ImageMagick's own convert (a stand-in may shadow it on the PATH).
std::string ImageMagickConvert();

// raw in a zlib stream at the default level.
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw);

// A binary PPM (P6) into out, or a PGM (P5) into grey (exactly one of them
// given), as peers write them, "#" comment lines included; false for
// anything else or a short file.
bool ReadPnm(const std::string& path, TBitmap* out, std::vector<uint8_t>* grey);

// Reads any image file with ImageMagick into a 24-bit bitmap composited on
// white, or returns false when it cannot.
bool DecodeWithPeer(const std::string& path, TBitmap& out);

}  // namespace kobalto::test
