#include "codecs/tiff/TTIFFGraphic.h"

#include <algorithm>

#include "base/Limits.h"
#include "codecs/color/TColorManager.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/tiff/TiffDecoderFactory.h"
#include "codecs/tiff/TiffImage.h"
#include "codecs/tiff/TiffOrientation.h"
#include "codecs/tiff/TiffPixels.h"

namespace kobalto {

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatTiff}); }

TImageProperties PropertiesOf(const TTiffImage& im)
{
    TImageProperties p;
    p.width = im.width;
    p.height = im.height;
    p.colorScheme = im.scheme;
    p.bitsPerSample = im.bitsPerSample;
    p.samplesPerPixel = im.samplesPerPixel;
    p.bitsPerPixel = im.bitsPerSample * im.samplesPerPixel;
    switch (im.compression) {
    case TTiffCompression::None: p.compression = TCompressionKind::None; break;
    case TTiffCompression::PackBits: p.compression = TCompressionKind::Rle; break;
    case TTiffCompression::Deflate: p.compression = TCompressionKind::Deflate; break;
    case TTiffCompression::Jpeg: p.compression = TCompressionKind::Jpeg; break;
    case TTiffCompression::Thunder: p.compression = TCompressionKind::ThunderScan; break;
    default: p.compression = TCompressionKind::Fax; break;
    }
    p.xResolution = im.xResolution;
    p.yResolution = im.yResolution;
    return p;
}

// What the decompressor hands to the colour converter.
TColorFormat SourceFormat(const TTiffImage& im)
{
    if (im.compression == TTiffCompression::Jpeg && !im.planar) {
        switch (TiffJpegComponents(im)) {
        case 1: return {TColorScheme::Grey, 8, 1};
        case 4: return {TColorScheme::CMYK, 8, 4};
        default: return {TColorScheme::BGR, 8, 3};
        }
    }
    const int bits = im.compression == TTiffCompression::Jpeg ? 8 : im.bitsPerSample;
    return {im.scheme, bits, im.samplesPerPixel};
}

TColorFormat TargetFormat(const TColorFormat& source)
{
    const int bits = source.bitsPerSample == 16 ? 8 : source.bitsPerSample;
    switch (source.scheme) {
    case TColorScheme::Indexed:
    case TColorScheme::Grey: return {source.scheme, bits, source.samplesPerPixel};
    case TColorScheme::RGBA:
    case TColorScheme::BGRA: return {TColorScheme::BGRA, bits, 4};
    default: return {TColorScheme::BGR, 8, 3};
    }
}

void CheckLayout(const TTiffImage& im, const TColorManager& color)
{
    const bool fax = im.compression == TTiffCompression::MH || im.compression == TTiffCompression::MHWord ||
                     im.compression == TTiffCompression::Fax3;
    if (fax && (im.bitsPerSample != 1 || im.samplesPerPixel != 1))
        Invalid();
    if (im.compression == TTiffCompression::Thunder && (im.bitsPerSample != 4 || im.samplesPerPixel != 1))
        Invalid();
    if (color.Subsampled() && (im.planar || im.tiled))
        RaiseExtended(msg::kNotSupportedFor, {"Subsampled YCbCr planes and tiles are", msg::kFormatTiff});
}

// A small file cannot stand for a huge picture: each compression gives at
// most so much per input byte, and stored strips or tiles holding far less
// than they declare are refused as well. Chunks may share their data, so
// what they hold together is at most the file.
void CheckExpansion(const TTiffImage& im, size_t chunkBytes, size_t fileBytes)
{
    const size_t ratio = MaxExpansion(im.compression);
    size_t available = 0;
    for (const TTiffChunk& c : im.chunks)
        available += c.size;
    available = std::min(available, fileBytes);
    const size_t planes = im.planar ? static_cast<size_t>(im.samplesPerPixel) : 1;
    const size_t claimed =
        chunkBytes * static_cast<size_t>(im.chunksAcross) * static_cast<size_t>(im.chunksDown) * planes;
    if (ratio == 0) {
        CheckDataCanFill(claimed, available, 1, msg::kFormatTiff);
        return;
    }
    if (claimed / ratio > available + 64 * im.chunks.size())
        RaiseExtended(msg::kCompressionError, {msg::kFormatTiff});
}

}  // namespace

const char* TTIFFGraphic::FormatName() const { return msg::kFormatTiff; }

TBitmap TTIFFGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    return DecodeTiff(bytes, properties);
}

TBitmap TTIFFGraphic::DecodeTiff(std::span<const uint8_t> bytes, TImageProperties& properties) const
{
    TByteReader tiff(bytes, msg::kFormatTiff, ExtendedTruncated);
    const TTiffImage im = ParseTiffImage(tiff);
    properties = PropertiesOf(im);
    CheckImageSize(im.width, im.height, msg::kFormatTiff);

    TColorOptions options;
    options.bigEndian = tiff.ByteOrder() == TByteOrder::BigEndian;
    options.labL255 = true;
    options.yCbCrCoefficients = im.yCbCrCoefficients;
    const bool ownSubsampling = im.scheme == TColorScheme::YCbCr && im.compression != TTiffCompression::Jpeg;
    options.subsamplingH = ownSubsampling ? im.subsamplingH : 1;
    options.subsamplingV = ownSubsampling ? im.subsamplingV : 1;
    const TColorFormat source = SourceFormat(im);
    TColorManager color;
    color.Setup(source, TargetFormat(source), options);
    CheckLayout(im, color);
    CheckExpansion(im, TiffChunkRowBytes(im, color) * static_cast<size_t>(im.chunkRows), bytes.size());

    const bool turned = SwapsSides(im.orientation);
    TBitmap out = TBitmap::ForDecoding(turned ? im.height : im.width, turned ? im.width : im.height,
                                       color.TargetPixelFormat());
    if (im.scheme == TColorScheme::Indexed)
        out.Palette() = im.palette;
    else if (source.scheme == TColorScheme::Grey)
        out.Palette() = GreyPalette(std::min(source.bitsPerSample, 8), im.photometric == 0);
    DecodeTiffPixels(bytes, im, options.bigEndian, color, out, InputRelease());
    return out;
}

const TGraphicClass& TIFFGraphicClass()
{
    static const TGraphicClass cls{"TTIFFGraphic", [] { return std::make_unique<TTIFFGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
