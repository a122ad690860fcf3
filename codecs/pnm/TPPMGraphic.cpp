#include "codecs/pnm/TPPMGraphic.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Limits.h"
#include "codecs/color/TColorManager.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/pnm/PnmHeader.h"

namespace kobalto {

namespace {

// Every sample value up to the file's maximum onto 0..255, rounded; larger
// values (a corrupt file) count as the maximum.
std::vector<uint8_t> ScaleTable(int maxValue)
{
    std::vector<uint8_t> table(static_cast<size_t>(maxValue) + 1);
    for (int v = 0; v <= maxValue; ++v)
        table[static_cast<size_t>(v)] = static_cast<uint8_t>((v * 255 + maxValue / 2) / maxValue);
    return table;
}

}  // namespace

const char* TPPMGraphic::FormatName() const { return msg::kFormatPnm; }

TBitmap TPPMGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    TByteReader file(bytes, msg::kFormatPnm, ExtendedTruncated);
    const TPnmHeader h = ParsePnmHeader(file);
    CheckImageSize(h.width, h.height, msg::kFormatPnm);
    const bool bitmap = h.kind == 1 || h.kind == 4;
    const bool wide = h.maxValue > 255;
    properties.width = h.width;
    properties.height = h.height;
    properties.colorScheme = bitmap || h.samples == 1 ? TColorScheme::Grey : TColorScheme::RGB;
    properties.bitsPerSample = bitmap ? 1 : wide ? 16 : 8;
    properties.samplesPerPixel = h.samples;
    properties.bitsPerPixel = properties.bitsPerSample * h.samples;

    // The raster must be there before the bitmap is made: stored rows whole,
    // text samples at least a character each.
    const uint64_t samples = uint64_t(h.width) * uint64_t(h.height) * uint64_t(h.samples);
    const uint64_t least = h.kind == 4 ? (uint64_t(h.width) + 7) / 8 * uint64_t(h.height)
                           : h.binary  ? samples * (wide ? 2 : 1)
                                       : samples;
    if (file.Remaining() < least)
        file.Truncated();

    TColorManager color;
    const TColorScheme target = h.samples == 3 ? TColorScheme::BGR : TColorScheme::Grey;
    const int bits = bitmap ? 1 : 8;
    color.Setup({properties.colorScheme, bits, h.samples}, {target, bits, h.samples});
    TBitmap out = TBitmap::ForDecoding(h.width, h.height, color.TargetPixelFormat());
    if (target == TColorScheme::Grey)
        out.Palette() = GreyPalette(bits, bitmap);  // a set bit is black

    const size_t count = static_cast<size_t>(h.width) * h.samples;  // samples a row
    const size_t rowBytes = bitmap ? (static_cast<size_t>(h.width) + 7) / 8 : count;
    std::vector<uint8_t> row(rowBytes);
    const std::vector<uint8_t> scale = ScaleTable(h.maxValue);
    const auto top = static_cast<size_t>(h.maxValue);
    TPnmTextReader text(file);
    TReleaseBehind behind(InputRelease(), bytes, file.Position());
    for (int y = 0; y < h.height; ++y) {
        if (h.kind == 4) {
            std::memcpy(row.data(), file.Take(rowBytes).data(), rowBytes);
        } else if (h.binary && !wide) {
            const std::span<const uint8_t> stored = file.Take(count);
            if (h.maxValue == 255)
                std::memcpy(row.data(), stored.data(), count);
            else
                for (size_t i = 0; i < count; ++i)
                    row[i] = scale[std::min<size_t>(stored[i], top)];
        } else if (h.binary) {
            const std::span<const uint8_t> stored = file.Take(count * 2);
            for (size_t i = 0; i < count; ++i)
                row[i] = scale[std::min<size_t>(size_t{stored[2 * i]} << 8 | stored[2 * i + 1], top)];
        } else {
            if (bitmap)
                std::fill(row.begin(), row.end(), 0);
            for (size_t i = 0; i < count; ++i) {
                const long v = text.Next(bitmap);
                if (v < 0)
                    file.Truncated();
                if (bitmap)
                    row[i >> 3] |= static_cast<uint8_t>((v != 0) << (7 - (i & 7)));
                else
                    row[i] = scale[std::min(static_cast<size_t>(v), top)];
            }
        }
        color.ConvertRow(row.data(), out.ScanLine(y), h.width);
        behind.Reached(file.Position());
    }
    return out;
}

const TGraphicClass& PPMGraphicClass()
{
    static const TGraphicClass cls{"TPPMGraphic", [] { return std::make_unique<TPPMGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
