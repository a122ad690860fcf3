#include "codecs/tga/TTargaGraphic.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Limits.h"
#include "codecs/color/TColorManager.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/tga/TgaHeader.h"

namespace kobalto {

namespace {

TImageProperties PropertiesOf(const TTgaHeader& h)
{
    TImageProperties p;
    p.width = h.width;
    p.height = h.height;
    p.colorScheme = h.scheme;
    p.bitsPerSample = h.bitsPerSample;
    p.samplesPerPixel = h.samplesPerPixel;
    p.bitsPerPixel = h.depth;
    p.compression = h.rle ? TCompressionKind::Rle : TCompressionKind::None;
    return p;
}

void MirrorRow(uint8_t* row, int width, int pixelBytes)
{
    for (int a = 0, b = width - 1; a < b; ++a, --b)
        std::swap_ranges(row + a * pixelBytes, row + (a + 1) * pixelBytes, row + b * pixelBytes);
}

}  // namespace

const char* TTargaGraphic::FormatName() const { return msg::kFormatTga; }

TBitmap TTargaGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    TByteReader file(bytes, msg::kFormatTga);  // a short file: the stream read error
    const TTgaHeader h = ParseTgaHeader(file);
    properties = PropertiesOf(h);
    CheckImageSize(h.width, h.height, msg::kFormatTga);
    // Stored rows must all be there (below); run-length data must be able
    // to reach most of them.
    if (h.rle)
        CheckDataCanFill(static_cast<uint64_t>(h.width) * h.pixelBytes * static_cast<uint64_t>(h.height),
                         bytes.size() - h.dataOffset, kTargaRleExpansion, msg::kFormatTga);

    TColorManager color;
    const TColorScheme target = h.scheme == TColorScheme::BGRA ? TColorScheme::BGRA
                                : h.scheme == TColorScheme::BGR  ? TColorScheme::BGR
                                                                 : h.scheme;
    color.Setup({h.scheme, h.bitsPerSample, h.samplesPerPixel},
                {target, h.bitsPerSample == 5 ? 8 : h.bitsPerSample, h.samplesPerPixel});
    TBitmap out = TBitmap::ForDecoding(h.width, h.height, color.TargetPixelFormat());
    if (h.scheme == TColorScheme::Indexed)
        out.Palette() = h.palette;
    else if (h.scheme == TColorScheme::Grey)
        out.Palette() = GreyPalette(8, false);

    // Rows as stored, converted into their place; rows the data never
    // reaches are zero.
    const size_t rowBytes = static_cast<size_t>(h.width) * h.pixelBytes;
    if (rowBytes == 0)
        return out;  // rows without pixels: nothing to read
    std::vector<uint8_t> row(rowBytes);
    TTargaRLEDecoder rle(h.depth);
    std::span<const uint8_t> data = bytes.subspan(h.dataOffset);
    TReleaseBehind behind(InputRelease(), bytes, h.dataOffset);
    for (int n = 0; n < h.height; ++n) {
        size_t got;
        if (h.rle) {
            const TDecodeResult r = rle.Decode(data, row);
            data = data.subspan(r.consumed);
            got = r.produced;
        } else {
            if (data.size() < rowBytes)
                file.Truncated();  // stored rows are all there or the file is cut
            got = rowBytes;
            std::memcpy(row.data(), data.data(), got);
            data = data.subspan(got);
        }
        std::memset(row.data() + got, 0, rowBytes - got);
        if (h.rightToLeft)
            MirrorRow(row.data(), h.width, h.pixelBytes);
        color.ConvertRow(row.data(), out.ScanLine(h.topDown ? n : h.height - 1 - n), h.width);
        behind.Reached(bytes.size() - data.size());
    }
    return out;
}

const TGraphicClass& TargaGraphicClass()
{
    static const TGraphicClass cls{"TTargaGraphic", [] { return std::make_unique<TTargaGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
