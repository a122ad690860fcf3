#include "codecs/psp/TPSPGraphic.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "base/Limits.h"
#include "codecs/color/TColorManager.h"
#include "codecs/decompress/LZ77Decoder.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/psp/PspBlocks.h"

namespace kobalto {

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatPsp}); }

// A channel's pixels, unpacked into target (rows of the stored rectangle).
void Unpack(const TPspChannel& channel, int compression, std::vector<uint8_t>& target)
{
    size_t got = 0;
    switch (compression) {
    case 0:
        got = std::min(channel.data.size(), target.size());
        if (got > 0)
            std::memcpy(target.data(), channel.data.data(), got);
        break;
    case 1: got = TPSPRLEDecoder().Decode(channel.data, target).produced; break;
    case 2: {
        TLZ77Decoder lz77(0, true);
        lz77.DecodeInit();
        got = lz77.Decode(channel.data, target).produced;
        lz77.DecodeEnd();
        break;
    }
    default: RaiseExtended(msg::kNotSupportedFor, {msg::kCompressionSchemeIs, msg::kFormatPsp});
    }
    std::memset(target.data() + got, 0, target.size() - got);  // short data ends in zeros
}

// Refuses a layer whose channels, unpacked at the compression's best,
// cannot fill most of the planes it would take.
void CheckLayerData(std::initializer_list<const TPspChannel*> channels, uint64_t planeBytes, int compression)
{
    const uint64_t expansion = compression == 0 ? 1 : compression == 1 ? kPspRleExpansion : kDeflateExpansion;
    uint64_t planes = 0;
    uint64_t held = 0;
    for (const TPspChannel* c : channels)
        if (c) {
            ++planes;
            held += c->data.size();
        }
    CheckDataCanFill(planeBytes * std::max<uint64_t>(planes, 1), held, expansion, msg::kFormatPsp);
}

struct TPlacement {
    int width = 0, height = 0;  // of the stored pixels
    int left = 0, top = 0;      // where they go on the canvas
};

TPlacement PlacementOf(const TPspLayer& layer)
{
    TPlacement p;
    const int64_t w = int64_t{layer.saved.right} - layer.saved.left;
    const int64_t h = int64_t{layer.saved.bottom} - layer.saved.top;
    const int64_t left = int64_t{layer.image.left} + layer.saved.left;
    const int64_t top = int64_t{layer.image.top} + layer.saved.top;
    if (w < 0 || h < 0 || left < -kMaxDimension || left > kMaxDimension || top < -kMaxDimension || top > kMaxDimension)
        Invalid();
    CheckImageSize(w, h, msg::kFormatPsp);
    p.width = static_cast<int>(w);
    p.height = static_cast<int>(h);
    p.left = static_cast<int>(left);
    p.top = static_cast<int>(top);
    return p;
}

const TPspChannel* FindChannel(const TPspLayer& layer, int bitmapType, int channelType)
{
    for (const TPspChannel& c : layer.channels)
        if (c.bitmapType == bitmapType && (bitmapType != 0 || c.channelType == channelType))
            return &c;
    return nullptr;
}

// Colour layers laid over each other, bottom first, by their transparency
// masks and opacity ("normal" blending), on a transparent canvas: 8-bit
// blue, green, red and alpha.
void DrawColourLayer(const TPspLayer& layer, int compression, int width, int height, std::vector<uint8_t>& canvas)
{
    TPlacement p = PlacementOf(layer);
    // Rows below the canvas are never shown: they are not unpacked.
    p.height = std::min(p.height, height - std::min(p.top, height));
    if (p.height <= 0 || p.left >= width || p.left + int64_t{p.width} <= 0)
        return;
    const size_t count = static_cast<size_t>(p.width) * p.height;
    CheckLayerData({FindChannel(layer, 0, 1), FindChannel(layer, 0, 2), FindChannel(layer, 0, 3), FindChannel(layer, 1, 0)},
                   count, compression);
    std::vector<uint8_t> planes[3];
    for (int c = 0; c < 3; ++c) {
        planes[c].resize(count);
        if (const TPspChannel* ch = FindChannel(layer, 0, c + 1))
            Unpack(*ch, compression, planes[c]);
    }
    std::vector<uint8_t> mask;
    if (const TPspChannel* ch = FindChannel(layer, 1, 0)) {
        mask.resize(count);
        Unpack(*ch, compression, mask);
    }
    for (int y = 0; y < p.height; ++y) {
        const int cy = p.top + y;
        if (cy < 0 || cy >= height)
            continue;
        for (int x = 0; x < p.width; ++x) {
            const int cx = p.left + x;
            if (cx < 0 || cx >= width)
                continue;
            const size_t i = static_cast<size_t>(y) * p.width + x;
            const unsigned a = (mask.empty() ? 255u : mask[i]) * static_cast<unsigned>(layer.opacity) / 255;
            uint8_t* d = canvas.data() + (static_cast<size_t>(cy) * width + cx) * 4;
            const unsigned under = d[3] * (255 - a) / 255;
            const unsigned out = a + under;
            if (out == 0)
                continue;
            for (int c = 0; c < 3; ++c)
                d[2 - c] = static_cast<uint8_t>((planes[c][i] * a + d[2 - c] * under + out / 2) / out);
            d[3] = static_cast<uint8_t>(out);
        }
    }
}

TBitmap ColourImage(const TPspImage& image, const std::vector<TPspLayer>& layers)
{
    const size_t pixels = static_cast<size_t>(image.width) * image.height;
    std::vector<uint8_t> canvas(pixels * 4, 0);
    for (const TPspLayer& layer : layers)
        DrawColourLayer(layer, image.compression, image.width, image.height, canvas);
    bool opaque = true;
    for (size_t i = 0; i < pixels && opaque; ++i)
        opaque = canvas[i * 4 + 3] == 255;
    // Opaque pictures come out in 24 bits, others with their alpha.
    TBitmap out = TBitmap::ForDecoding(image.width, image.height, opaque ? TPixelFormat::pf24bit : TPixelFormat::pf32bit);
    const int n = opaque ? 3 : 4;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* s = canvas.data() + static_cast<size_t>(y) * image.width * 4;
        uint8_t* d = out.ScanLine(y);
        for (int x = 0; x < image.width; ++x, s += 4, d += n)
            std::memcpy(d, s, static_cast<size_t>(n));
    }
    return out;
}

// Grey and indexed images: the lowest layer's indices on a canvas of index 0.
TBitmap IndexedImage(const TPspImage& image, const std::vector<TPspLayer>& layers, std::vector<TRGBQuad> palette)
{
    TBitmap out = TBitmap::ForDecoding(image.width, image.height, TPixelFormat::pf8bit);
    for (int y = 0; y < image.height; ++y)
        std::memset(out.ScanLine(y), 0, static_cast<size_t>(image.width));
    out.Palette() = std::move(palette);
    if (layers.empty())
        return out;
    const TPspLayer& layer = layers.front();
    const TPlacement p = PlacementOf(layer);
    const size_t rowBytes = (static_cast<size_t>(p.width) * image.bitDepth + 7) / 8;
    CheckLayerData({FindChannel(layer, 0, 0)}, rowBytes * p.height, image.compression);
    std::vector<uint8_t> stored(rowBytes * p.height);
    if (const TPspChannel* ch = FindChannel(layer, 0, 0))
        Unpack(*ch, image.compression, stored);
    std::vector<uint8_t> row(static_cast<size_t>(p.width));
    TColorManager unpack;
    unpack.Setup({TColorScheme::Indexed, image.bitDepth, 1}, {TColorScheme::Indexed, 8, 1});
    for (int y = 0; y < p.height; ++y) {
        const int cy = p.top + y;
        if (cy < 0 || cy >= image.height)
            continue;
        unpack.ConvertRow(stored.data() + rowBytes * y, row.data(), p.width);
        uint8_t* d = out.ScanLine(cy);
        for (int x = 0; x < p.width; ++x)
            if (p.left + x >= 0 && p.left + x < image.width)
                d[p.left + x] = std::min<uint8_t>(row[static_cast<size_t>(x)], static_cast<uint8_t>(out.Palette().size() - 1));
    }
    return out;
}

}  // namespace

const char* TPSPGraphic::FormatName() const { return msg::kFormatPsp; }

TBitmap TPSPGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    TPspFile file(bytes);
    uint16_t id;
    TByteReader body(std::span<const uint8_t>{}, msg::kFormatPsp, ExtendedTruncated);
    // The image block comes first.
    if (!file.NextBlock(file.Blocks(), id, body) || id != kPspImageBlock)
        Invalid();
    const TPspImage image = file.ReadImage(body);
    if (image.bitDepth != 1 && image.bitDepth != 4 && image.bitDepth != 8 && image.bitDepth != 24)
        RaiseExtended(msg::kInvalidColorFormat, {msg::kFormatPsp});
    if (image.compression < 0 || image.compression > 2)
        RaiseExtended(msg::kNotSupportedFor, {msg::kCompressionSchemeIs, msg::kFormatPsp});
    CheckImageSize(image.width, image.height, msg::kFormatPsp);
    const bool colour = image.bitDepth == 24;
    properties.width = image.width;
    properties.height = image.height;
    properties.colorScheme = colour ? TColorScheme::RGB : image.grey ? TColorScheme::Grey : TColorScheme::Indexed;
    properties.bitsPerSample = colour ? 8 : image.bitDepth;
    properties.samplesPerPixel = colour ? 3 : 1;
    properties.bitsPerPixel = image.bitDepth;
    properties.compression = image.compression == 0 ? TCompressionKind::None
                             : image.compression == 1 ? TCompressionKind::Rle
                                                      : TCompressionKind::Deflate;

    std::vector<TRGBQuad> palette;
    std::vector<TPspLayer> layers;  // the visible raster layers, bottom first
    const int rasterType = file.Major() < 4 ? 0 : 1;
    while (file.NextBlock(file.Blocks(), id, body)) {
        if (id == kPspColorBlock) {
            palette = file.ReadPalette(body);
        } else if (id == kPspLayerBankBlock) {
            TByteReader layerBody(std::span<const uint8_t>{}, msg::kFormatPsp, ExtendedTruncated);
            while (file.NextBlock(body, id, layerBody)) {
                if (id != kPspLayerBlock)
                    continue;
                TPspLayer layer = file.ReadLayer(layerBody);
                if (layer.visible && layer.type == rasterType)
                    layers.push_back(std::move(layer));
            }
        }
    }
    if (colour)
        return ColourImage(image, layers);
    if (palette.empty()) {
        if (!image.grey)
            RaiseExtended(msg::kInvalidPalette, {msg::kFormatPsp});
        palette = GreyPalette(image.bitDepth, false);
    }
    return IndexedImage(image, layers, std::move(palette));
}

const TGraphicClass& PSPGraphicClass()
{
    static const TGraphicClass cls{"TPSPGraphic", [] { return std::make_unique<TPSPGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
