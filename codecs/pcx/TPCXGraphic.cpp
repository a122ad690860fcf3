#include "codecs/pcx/TPCXGraphic.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Limits.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/pcx/PcxHeader.h"

namespace kobalto {

namespace {

constexpr size_t kHeaderBytes = 128;

TColorScheme SchemeOf(TPixelFormat f)
{
    switch (f) {
    case TPixelFormat::pf24bit: return TColorScheme::RGB;
    case TPixelFormat::pf32bit: return TColorScheme::RGBA;
    default: return TColorScheme::Indexed;
    }
}

// One decoded scan line (the planes one after another) into a bitmap row.
void PlaceRow(const TPcxHeader& h, const uint8_t* line, uint8_t* target)
{
    const int w = h.width;
    const size_t bpl = h.bytesPerLine;
    switch (h.format) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf8bit: std::memcpy(target, line, (static_cast<size_t>(w) * h.bitsPerPixel + 7) / 8); return;
    case TPixelFormat::pf4bit:
        if (h.planes == 1 && h.bitsPerPixel == 4) {
            std::memcpy(target, line, (static_cast<size_t>(w) + 1) / 2);
            return;
        }
        for (int x = 0; x < w; ++x) {
            unsigned index;
            if (h.planes == 1) {  // 2 bits a pixel
                index = (line[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
            } else {  // bit x of each plane, the first plane lowest
                index = 0;
                for (int p = 0; p < h.planes; ++p)
                    index |= ((line[p * bpl + (x >> 3)] >> (7 - (x & 7))) & 1u) << p;
            }
            uint8_t& b = target[x >> 1];
            b = (x & 1) ? static_cast<uint8_t>(b | index) : static_cast<uint8_t>(index << 4);
        }
        return;
    default: {
        const int n = h.planes;  // red, green, blue and alpha planes
        for (int x = 0; x < w; ++x) {
            uint8_t* d = target + static_cast<size_t>(x) * n;
            d[0] = line[2 * bpl + x];
            d[1] = line[bpl + x];
            d[2] = line[x];
            if (n == 4)
                d[3] = line[3 * bpl + x];
        }
        return;
    }
    }
}

}  // namespace

const char* TPCXGraphic::FormatName() const { return msg::kFormatPcx; }

TBitmap TPCXGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    const TPcxHeader h = ParsePcxHeader(bytes);
    CheckImageSize(h.width, h.height, msg::kFormatPcx);
    properties.width = h.width;
    properties.height = h.height;
    properties.colorScheme = SchemeOf(h.format);
    properties.bitsPerSample = h.bitsPerPixel;
    properties.samplesPerPixel = h.format == TPixelFormat::pf24bit || h.format == TPixelFormat::pf32bit ? h.planes : 1;
    properties.bitsPerPixel = h.bitsPerPixel * h.planes;
    properties.compression = h.rle ? TCompressionKind::Rle : TCompressionKind::None;

    TBitmap out = TBitmap::ForDecoding(h.width, h.height, h.format);
    if (!h.palette.empty())
        out.Palette() = h.palette;

    // A line the data never reaches stays zero, unless the data could reach
    // far too few of them.
    std::vector<uint8_t> line(h.bytesPerLine * static_cast<size_t>(h.planes));
    std::span<const uint8_t> data = bytes.subspan(kHeaderBytes);
    CheckDataCanFill(uint64_t{line.size()} * static_cast<uint64_t>(h.height), data.size(),
                     h.rle ? kPcxRleExpansion : 1, msg::kFormatPcx);
    TPCXRLEDecoder rle;
    TReleaseBehind behind(InputRelease(), bytes, kHeaderBytes);
    for (int y = 0; y < h.height; ++y) {
        size_t got;
        if (h.rle) {
            const TDecodeResult r = rle.Decode(data, line);
            data = data.subspan(r.consumed);
            got = r.produced;
        } else {
            got = std::min(line.size(), data.size());
            if (got > 0)
                std::memcpy(line.data(), data.data(), got);
            data = data.subspan(got);
        }
        std::memset(line.data() + got, 0, line.size() - got);
        PlaceRow(h, line.data(), out.ScanLine(y));
        behind.Reached(bytes.size() - data.size());
    }
    return out;
}

const TGraphicClass& PCXGraphicClass()
{
    static const TGraphicClass cls{"TPCXGraphic", [] { return std::make_unique<TPCXGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
