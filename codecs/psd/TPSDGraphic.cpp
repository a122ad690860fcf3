#include "codecs/psd/TPSDGraphic.h"

#include <cstring>
#include <vector>

#include "base/Limits.h"
#include "codecs/color/TColorManager.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/psd/PsdHeader.h"

namespace kobalto {

namespace {

// The file's channels are placed into a pixel in this order: colour
// channels become blue, green, red (and alpha) so that 8-bit RGB rows need
// no further conversion.
TColorScheme InterleavedScheme(TColorScheme s)
{
    switch (s) {
    case TColorScheme::RGB: return TColorScheme::BGR;
    case TColorScheme::RGBA: return TColorScheme::BGRA;
    default: return s;
    }
}

int SlotOf(TColorScheme s, int channel)
{
    if (s == TColorScheme::RGB || s == TColorScheme::RGBA)
        return channel < 3 ? 2 - channel : channel;
    return channel;
}

}  // namespace

const char* TPSDGraphic::FormatName() const { return msg::kFormatPsd; }

TBitmap TPSDGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    const TPsdHeader h = ParsePsdHeader(bytes);
    CheckImageSize(h.width, h.height, msg::kFormatPsd);
    if (h.rle) {
        // Stored lines are all there (the header saw to it); packed ones
        // must be able to reach most of their bytes.
        uint64_t packed = 0;
        for (size_t length : h.lineLength)
            packed += length;
        CheckDataCanFill(uint64_t{h.lineBytes} * h.lineLength.size(), packed, kPackbitsExpansion, msg::kFormatPsd);
    }
    const int n = h.usedChannels;
    const TColorScheme scheme = InterleavedScheme(h.scheme);
    properties.width = h.width;
    properties.height = h.height;
    properties.colorScheme = h.scheme;
    properties.bitsPerSample = h.depth;
    properties.samplesPerPixel = n;
    properties.bitsPerPixel = h.depth * n;
    properties.compression = h.rle ? TCompressionKind::Rle : TCompressionKind::None;

    TColorManager color;
    const bool paletted = h.scheme == TColorScheme::Grey || h.scheme == TColorScheme::Indexed;
    const TColorScheme target = paletted ? h.scheme : n == 4 && h.scheme == TColorScheme::RGBA ? TColorScheme::BGRA
                                                                                                 : TColorScheme::BGR;
    TColorOptions options;
    options.bigEndian = true;
    options.labL255 = true;
    options.labOffsetAb = true;
    const int targetSamples = paletted ? 1 : target == TColorScheme::BGRA ? 4 : 3;
    color.Setup({scheme, h.depth, n}, {target, h.depth == 1 ? 1 : 8, targetSamples}, options);
    TBitmap out = TBitmap::ForDecoding(h.width, h.height, color.TargetPixelFormat());
    if (h.scheme == TColorScheme::Indexed)
        out.Palette() = h.palette;
    else if (h.scheme == TColorScheme::Grey)
        out.Palette() = GreyPalette(h.depth == 1 ? 1 : 8, h.depth == 1);  // bitmap mode: a set bit is black

    // One line of each channel, then the pixels interleaved.
    const size_t sampleBytes = h.depth == 16 ? 2 : 1;
    std::vector<uint8_t> lines(h.lineBytes * n);
    std::vector<uint8_t> pixels(n == 1 ? 0 : h.lineBytes * n);
    TPackbitsRLEDecoder packbits;
    // Photoshop stores ink as 255 minus the amount.
    const uint8_t invert = h.scheme == TColorScheme::CMYK ? 0xFF : 0x00;
    // The channels lie one after another: each is given back on its own.
    std::vector<TReleaseBehind> behind;
    for (int c = 0; c < n; ++c)
        behind.emplace_back(InputRelease(), bytes, h.lineStart[static_cast<size_t>(c) * h.height]);
    for (int y = 0; y < h.height; ++y) {
        for (int c = 0; c < n; ++c) {
            const size_t i = static_cast<size_t>(c) * h.height + y;
            const std::span<const uint8_t> stored = bytes.subspan(h.lineStart[i], h.lineLength[i]);
            const std::span<uint8_t> line(lines.data() + c * h.lineBytes, h.lineBytes);
            size_t got = h.lineBytes;
            if (h.rle)
                got = packbits.Decode(stored, line).produced;
            else
                std::memcpy(line.data(), stored.data(), got);
            std::memset(line.data() + got, 0, h.lineBytes - got);  // a short line ends in zeros
            behind[static_cast<size_t>(c)].Reached(h.lineStart[i] + h.lineLength[i]);
        }
        if (n == 1) {
            color.ConvertRow(lines.data(), out.ScanLine(y), h.width);
            continue;
        }
        for (int c = 0; c < n; ++c) {
            const uint8_t* from = lines.data() + c * h.lineBytes;
            uint8_t* to = pixels.data() + SlotOf(h.scheme, c) * sampleBytes;
            const size_t step = sampleBytes * n;
            for (int x = 0; x < h.width; ++x, from += sampleBytes, to += step) {
                to[0] = from[0] ^ invert;
                if (sampleBytes == 2)
                    to[1] = from[1] ^ invert;
            }
        }
        color.ConvertRow(pixels.data(), out.ScanLine(y), h.width);
    }
    return out;
}

const TGraphicClass& PSDGraphicClass()
{
    static const TGraphicClass cls{"TPSDGraphic", [] { return std::make_unique<TPSDGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
