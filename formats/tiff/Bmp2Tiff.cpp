#include "formats/tiff/Bmp2Tiff.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/Checked.h"
#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/SafeFileWriter.h"
#include "base/TByteWriter.h"
#include "codecs/tiff/TiffTags.h"
#include "formats/FormatsMessages.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

using namespace tiff;

enum : uint32_t { kPhotometricBlackIsZero = 1, kPhotometricRgb = 2, kPhotometricPalette = 3 };

constexpr std::string_view kSoftwareName = "Merovantis";  // ten bytes, no terminating zero
constexpr uint32_t kResolutionNumerator = 877;            // 87.7 pixels per inch
constexpr uint32_t kResolutionDenominator = 10;
constexpr uint32_t kResolutionUnitInch = 2;
constexpr uint32_t kMaxSide = 0xFFFF;  // ImageWidth and ImageLength are SHORTs

struct TiffEntry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value;  // the value itself, or the offset of the values
};

// Every offset and the strip size are LONGs: a file past 4 GiB has no form.
uint32_t AsLong(uint64_t value)
{
    if (value > 0xFFFFFFFFu)
        throw EInvalidGraphicOperation(msg::kTiffTooLarge);
    return static_cast<uint32_t>(value);
}

uint32_t Here(TStream& stream)
{
    int64_t pos = stream.Position();
    return AsLong(pos < 0 ? 0 : static_cast<uint64_t>(pos));
}

void Put(TStream& stream, const TByteWriter& bytes)
{
    stream.WriteBuffer(bytes.Data().data(), bytes.Size());
}

uint32_t WriteResolution(TStream& stream)
{
    uint32_t at = Here(stream);
    TByteWriter w;
    w.U32LE(kResolutionNumerator);
    w.U32LE(kResolutionDenominator);
    Put(stream, w);
    return at;
}

uint32_t WriteSoftware(TStream& stream)
{
    uint32_t at = Here(stream);
    stream.WriteBuffer(kSoftwareName.data(), kSoftwareName.size());
    return at;
}

// Writes the rows top row first, each as the rowBytes that shape() leaves in
// the buffer; the bitmap's own rows stay untouched.
template <typename Shape>
uint32_t WriteStrip(TStream& stream, const TBitmap& bitmap, size_t rowBytes, Shape shape)
{
    uint32_t at = Here(stream);
    std::vector<uint8_t> row(rowBytes);
    for (int y = 0; y < bitmap.Height(); ++y) {
        shape(bitmap.ScanLine(y), row.data());
        stream.WriteBuffer(row.data(), row.size());
    }
    return at;
}

// The directory, then the header's offset field at start + 4. The stream is
// left at the end of the file.
void WriteDirectory(TStream& stream, int64_t start, const std::vector<TiffEntry>& entries)
{
    uint32_t at = Here(stream);
    TByteWriter w;
    w.U16LE(static_cast<uint16_t>(entries.size()));
    for (const TiffEntry& e : entries) {
        w.U16LE(e.tag);
        w.U16LE(e.type);
        w.U32LE(e.count);
        w.U32LE(e.value);
    }
    w.U32LE(0);  // no next directory
    Put(stream, w);
    int64_t end = stream.Position();
    stream.SetPosition(start + 4);
    TByteWriter offset;
    offset.U32LE(at);
    Put(stream, offset);
    stream.SetPosition(end);
}

// Where a strip image's parts landed in the file.
struct StripImage {
    uint32_t width, height, strip, stripBytes, xres, yres, software;
};

// The directory entries every image of this writer has, with the sample
// layout and photometric meaning of its kind; extra entries (tags of the
// kind's own) are merged in, since readers expect the tags in ascending order.
std::vector<TiffEntry> Entries(const StripImage& image, TiffEntry bitsPerSample, uint32_t photometric,
                               uint32_t samples, std::initializer_list<TiffEntry> extra = {})
{
    std::vector<TiffEntry> entries{{kNewSubfileType, kLong, 1, 0},
                                   {kImageWidth, kShort, 1, image.width},
                                   {kImageLength, kShort, 1, image.height},
                                   bitsPerSample,
                                   {kCompression, kShort, 1, 1},
                                   {kPhotometric, kShort, 1, photometric},
                                   {kStripOffsets, kLong, 1, image.strip},
                                   {kSamplesPerPixel, kShort, 1, samples},
                                   {kRowsPerStrip, kLong, 1, image.height},
                                   {kStripByteCounts, kLong, 1, image.stripBytes},
                                   {kXResolution, kRational, 1, image.xres},
                                   {kYResolution, kRational, 1, image.yres},
                                   {kResolutionUnit, kShort, 1, kResolutionUnitInch},
                                   {kSoftware, kAscii, static_cast<uint32_t>(kSoftwareName.size()), image.software}};
    entries.insert(entries.end(), extra);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
    return entries;
}

void WriteHeader(TStream& stream)
{
    TByteWriter w;
    w.Text("II");
    w.U16LE(42);
    w.U32LE(8);  // placeholder until the directory's place is known
    Put(stream, w);
}

void WriteRgb(TStream& stream, int64_t start, const TBitmap& bitmap, int pixelBytes)
{
    const uint32_t w = static_cast<uint32_t>(bitmap.Width());
    const uint32_t h = static_cast<uint32_t>(bitmap.Height());
    const size_t rowBytes = CheckedMul(w, 3);
    const uint32_t stripBytes = AsLong(CheckedMul(rowBytes, h));

    WriteHeader(stream);
    const uint32_t xres = WriteResolution(stream);
    const uint32_t yres = WriteResolution(stream);
    const uint32_t bps = Here(stream);
    TByteWriter samples;
    for (int i = 0; i < 3; ++i)
        samples.U16LE(8);
    Put(stream, samples);
    const uint32_t software = WriteSoftware(stream);
    // Memory holds blue, green, red (and a fourth byte at 32 bits).
    const uint32_t strip = WriteStrip(stream, bitmap, rowBytes, [&](const uint8_t* in, uint8_t* out) {
        for (uint32_t x = 0; x < w; ++x, in += pixelBytes, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    });
    WriteDirectory(stream, start,
                   Entries({w, h, strip, stripBytes, xres, yres, software}, {kBitsPerSample, kShort, 3, bps},
                           kPhotometricRgb, 3, {{kPlanarConfiguration, kShort, 1, 1}}));
}

void WritePaletteColour(TStream& stream, int64_t start, const TBitmap& bitmap, int bits)
{
    const uint32_t h = static_cast<uint32_t>(bitmap.Height());
    // At 4 bits only whole pairs of bytes go out: up to three rightmost
    // columns are dropped.
    const uint32_t w = bits == 4 ? static_cast<uint32_t>(bitmap.Width()) & ~3u : static_cast<uint32_t>(bitmap.Width());
    if (w == 0)
        throw EInvalidGraphicOperation(msg::kTiffNarrowFourBit);
    const size_t rowBytes = bits == 4 ? w / 2 : w;
    const uint32_t stripBytes = AsLong(CheckedMul(rowBytes, h));

    WriteHeader(stream);
    const uint32_t colorMap = Here(stream);
    const size_t entries = size_t{1} << bits;
    const auto& palette = bitmap.Palette();
    TByteWriter map;
    // Reds, then greens, then blues; each component sits in the high byte.
    for (int channel = 0; channel < 3; ++channel)
        for (size_t i = 0; i < entries; ++i) {
            uint8_t c = 0;
            if (i < palette.size())
                c = channel == 0 ? palette[i].red : channel == 1 ? palette[i].green : palette[i].blue;
            map.U16LE(static_cast<uint16_t>(c << 8));
        }
    Put(stream, map);
    const uint32_t xres = WriteResolution(stream);
    const uint32_t yres = WriteResolution(stream);
    const uint32_t software = WriteSoftware(stream);
    const uint32_t strip = WriteStrip(stream, bitmap, rowBytes,
                                      [&](const uint8_t* in, uint8_t* out) { std::memcpy(out, in, rowBytes); });
    WriteDirectory(stream, start,
                   Entries({w, h, strip, stripBytes, xres, yres, software},
                           {kBitsPerSample, kShort, 1, static_cast<uint32_t>(bits)}, kPhotometricPalette, 1,
                           {{kColorMap, kShort, static_cast<uint32_t>(3 * entries), colorMap}}));
}

int Luminance(const TRGBQuad& q) { return 299 * q.red + 587 * q.green + 114 * q.blue; }

void WriteBilevel(TStream& stream, int64_t start, const TBitmap& bitmap)
{
    const uint32_t w = static_cast<uint32_t>(bitmap.Width());
    const uint32_t h = static_cast<uint32_t>(bitmap.Height());
    const size_t rowBytes = (static_cast<size_t>(w) + 7) / 8;
    const uint32_t stripBytes = AsLong(CheckedMul(rowBytes, h));
    // The file says "0 is black"; a bitmap whose first entry is the lighter
    // one would come out as its negative, so its bits are flipped.
    const auto& palette = bitmap.Palette();
    const uint8_t flip = palette.size() >= 2 && Luminance(palette[0]) > Luminance(palette[1]) ? 0xFF : 0x00;
    // Bits past the width are not pixels: written as zero, so files repeat.
    const uint8_t lastMask = static_cast<uint8_t>(w % 8 == 0 ? 0xFF : 0xFF << (8 - w % 8));

    WriteHeader(stream);
    const uint32_t strip = WriteStrip(stream, bitmap, rowBytes, [&](const uint8_t* in, uint8_t* out) {
        for (size_t i = 0; i < rowBytes; ++i)
            out[i] = static_cast<uint8_t>(in[i] ^ flip);
        out[rowBytes - 1] &= lastMask;
    });
    const uint32_t xres = WriteResolution(stream);
    const uint32_t yres = WriteResolution(stream);
    const uint32_t software = WriteSoftware(stream);
    WriteDirectory(stream, start,
                   Entries({w, h, strip, stripBytes, xres, yres, software}, {kBitsPerSample, kShort, 1, 1},
                           kPhotometricBlackIsZero, 1));
}

// Refuses what the file cannot express before anything is written.
void CheckWritable(const TBitmap& bitmap)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        throw EInvalidGraphicOperation(msg::Format(msg::kCannotWriteEmpty, {"TIFF"}));
    if (static_cast<uint32_t>(bitmap.Width()) > kMaxSide || static_cast<uint32_t>(bitmap.Height()) > kMaxSide)
        throw EInvalidGraphicOperation(
            msg::Format(msg::kSideTooLong, {std::to_string(bitmap.Width()), std::to_string(bitmap.Height()), "TIFF"}));
}

}  // namespace

void BitmapToTiffStream(TStream& stream, const TBitmap& bitmap)
{
    CheckWritable(bitmap);
    const int64_t start = stream.Position();
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf24bit: WriteRgb(stream, start, bitmap, 3); return;
    case TPixelFormat::pf32bit: WriteRgb(stream, start, bitmap, 4); return;
    case TPixelFormat::pf8bit: WritePaletteColour(stream, start, bitmap, 8); return;
    case TPixelFormat::pf4bit: WritePaletteColour(stream, start, bitmap, 4); return;
    case TPixelFormat::pf1bit: WriteBilevel(stream, start, bitmap); return;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit: {
        // 5- and 6-bit samples have no common TIFF form; widen a copy to
        // 8-8-8 so every reader gets the colours.
        TBitmap wide(bitmap);
        wide.SetPixelFormat(TPixelFormat::pf24bit);
        WriteRgb(stream, start, wide, 3);
        return;
    }
    }
    throw EInvalidGraphicOperation(msg::kTiffPixelFormat);
}

void BitmapToTiffFile(const std::string& fileName, const TBitmap& bitmap)
{
    CheckWritable(bitmap);
    WriteFileSafely(fileName, [&bitmap](TStream& stream) { BitmapToTiffStream(stream, bitmap); });
}

}  // namespace kobalto
