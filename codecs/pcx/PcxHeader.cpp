#include "codecs/pcx/PcxHeader.h"

#include "codecs/color/TColorManager.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr size_t kTrailerBytes = 769;  // the byte 12 and 256 entries of red, green, blue

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatPcx}); }

// The standard 16 colours of the PC's display adapters, for version 3
// files that carry no palette.
std::vector<TRGBQuad> SystemPalette16()
{
    static const uint8_t rgb[16][3] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},    {128, 0, 128},
        {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    std::vector<TRGBQuad> palette(16);
    for (size_t i = 0; i < 16; ++i)
        palette[i] = TRGBQuad{rgb[i][2], rgb[i][1], rgb[i][0], 0};
    return palette;
}

std::vector<TRGBQuad> HeaderPalette(std::span<const uint8_t> map, size_t entries)
{
    std::vector<TRGBQuad> palette(entries);
    for (size_t i = 0; i < entries; ++i)
        palette[i] = TRGBQuad{map[3 * i + 2], map[3 * i + 1], map[3 * i], 0};
    return palette;
}

}  // namespace

TPcxHeader ParsePcxHeader(std::span<const uint8_t> bytes)
{
    TByteReader file(bytes, msg::kFormatPcx, ExtendedTruncated);
    TByteReader r = file.Sub(kHeaderBytes);
    const uint8_t manufacturer = r.U8();
    if (manufacturer != 10 && manufacturer != 205)
        Invalid();
    TPcxHeader h;
    h.version = r.U8();
    h.rle = r.U8() == 1;
    h.bitsPerPixel = r.U8();
    const int xMin = r.U16LE(), yMin = r.U16LE(), xMax = r.U16LE(), yMax = r.U16LE();
    if (xMax < xMin || yMax < yMin)
        Invalid();
    h.width = xMax - xMin + 1;
    h.height = yMax - yMin + 1;
    r.Skip(4);  // resolution
    const std::span<const uint8_t> map = r.Take(48);
    r.Skip(1);
    h.planes = r.U8();
    h.bytesPerLine = r.U16LE();

    const int bits = h.bitsPerPixel;
    if (bits == 1 && h.planes >= 1 && h.planes <= 4) {
        // One to four 1-bit planes make the bits of a palette index.
        h.format = h.planes == 1 ? TPixelFormat::pf1bit : TPixelFormat::pf4bit;
    } else if ((bits == 2 || bits == 4) && h.planes == 1) {
        h.format = TPixelFormat::pf4bit;
    } else if (bits == 8 && h.planes == 1) {
        h.format = TPixelFormat::pf8bit;
    } else if (bits == 8 && (h.planes == 3 || h.planes == 4)) {
        h.format = h.planes == 3 ? TPixelFormat::pf24bit : TPixelFormat::pf32bit;
    } else {
        RaiseExtended(msg::kInvalidColorFormat, {msg::kFormatPcx});
    }
    // Each plane's line must hold the row.
    if (h.bytesPerLine * 8 < static_cast<size_t>(h.width) * bits)
        Invalid();

    if (h.format == TPixelFormat::pf1bit) {
        h.palette = GreyPalette(1, false);
    } else if (h.format == TPixelFormat::pf4bit) {
        h.palette = h.version == 3 ? SystemPalette16() : HeaderPalette(map, 16);
    } else if (h.format == TPixelFormat::pf8bit) {
        const bool trailer = bytes.size() >= kHeaderBytes + kTrailerBytes &&
                             bytes[bytes.size() - kTrailerBytes] == 12;
        h.palette = trailer ? HeaderPalette(bytes.subspan(bytes.size() - kTrailerBytes + 1), 256)
                            : GreyPalette(8, false);
    }
    return h;
}

}  // namespace kobalto
