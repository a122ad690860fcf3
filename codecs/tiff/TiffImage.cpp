#include "codecs/tiff/TiffImage.h"

#include <algorithm>

#include "base/Checked.h"
#include "base/Limits.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/tiff/TiffDirectory.h"
#include "codecs/tiff/TiffTags.h"

namespace kobalto {

using namespace tiff;

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatTiff}); }

TTiffCompression CompressionOf(uint32_t value)
{
    switch (value) {
    case 1: return TTiffCompression::None;
    case 2: return TTiffCompression::MH;
    case 3: return TTiffCompression::Fax3;
    case 7: return TTiffCompression::Jpeg;
    case 8:
    case 32946: return TTiffCompression::Deflate;
    case 32771: return TTiffCompression::MHWord;
    case 32773: return TTiffCompression::PackBits;
    case 32809: return TTiffCompression::Thunder;
    default:
        // Group 4 fax, LZW and old-style JPEG among them.
        RaiseExtended(msg::kNotSupportedFor, {msg::kCompressionSchemeIs, msg::kFormatTiff});
    }
}

TColorScheme SchemeOf(uint32_t photometric, int samples)
{
    switch (photometric) {
    case 0:
    case 1: return TColorScheme::Grey;
    case 2: return samples >= 4 ? TColorScheme::RGBA : TColorScheme::RGB;
    case 3: return TColorScheme::Indexed;
    case 5: return TColorScheme::CMYK;
    case 6: return TColorScheme::YCbCr;
    case 8: return TColorScheme::CIELab;
    default: return TColorScheme::Unknown;
    }
}

std::vector<TRGBQuad> ColorMap(const TTiffDirectory& dir, int bits)
{
    if (bits > 8)
        RaiseExtended(msg::kInvalidPalette, {msg::kFormatTiff});
    const std::vector<uint32_t> map = dir.Values(kColorMap);
    const size_t n = size_t{1} << bits;
    if (map.size() < 3 * n)
        RaiseExtended(msg::kInvalidPalette, {msg::kFormatTiff});
    std::vector<TRGBQuad> palette(n);
    auto scaled = [](uint32_t v) { return static_cast<uint8_t>((v & 0xFFFF) * 255 / 65535); };
    for (size_t i = 0; i < n; ++i) {
        palette[i].red = scaled(map[i]);
        palette[i].green = scaled(map[n + i]);
        palette[i].blue = scaled(map[2 * n + i]);
    }
    return palette;
}

// Strip or tile places, each cut to the data present; one list per plane.
std::vector<TTiffChunk> Chunks(const TTiffDirectory& dir, bool tiled, size_t expected, size_t dataSize)
{
    const std::vector<uint32_t> offsets = dir.Values(tiled ? kTileOffsets : kStripOffsets);
    std::vector<uint32_t> counts = dir.Values(tiled ? kTileByteCounts : kStripByteCounts);
    if (offsets.empty())
        Invalid();
    std::vector<TTiffChunk> chunks(std::min(offsets.size(), expected));
    for (size_t i = 0; i < chunks.size(); ++i) {
        if (offsets[i] >= dataSize)
            continue;  // nothing of it is there
        // Without a count a chunk runs to the end of the data.
        const size_t count = i < counts.size() ? counts[i] : dataSize;
        chunks[i].offset = offsets[i];
        chunks[i].size = std::min<size_t>(count, dataSize - offsets[i]);
    }
    return chunks;
}

}  // namespace

TTiffImage ParseTiffImage(TByteReader& tiff)
{
    const TTiffHeader header = ReadTiffHeader(tiff);
    if (!header.magic42)
        Invalid();
    const TTiffDirectory dir(tiff, header.firstDirectory);

    TTiffImage im;
    const uint32_t width = dir.Value(kImageWidth, 0);
    const uint32_t height = dir.Value(kImageLength, 0);
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension)
        Invalid();
    im.width = static_cast<int>(width);
    im.height = static_cast<int>(height);
    im.bitsPerSample = static_cast<int>(std::min<uint32_t>(dir.Value(kBitsPerSample, 1), 64));
    im.samplesPerPixel = static_cast<int>(std::min<uint32_t>(dir.Value(kSamplesPerPixel, 1), 64));
    im.compression = CompressionOf(dir.Value(kCompression, 1));
    im.photometric = static_cast<int>(dir.Value(kPhotometric, 0));
    im.scheme = SchemeOf(static_cast<uint32_t>(im.photometric), im.samplesPerPixel);
    im.reversedBits = dir.Value(kFillOrder, 1) == 2;
    // Integers only: floating-point samples read as integers would be noise.
    const uint32_t sampleFormat = dir.Value(kSampleFormat, 1);
    if (sampleFormat == 3)
        RaiseExtended(msg::kNoConversion, {}, TExtendedErrorKind::ColorConversion);

    im.t4Options = dir.Value(kT4Options, 0);
    im.predictor = dir.Value(kPredictor, 1) == 2;
    im.planar = dir.Value(kPlanarConfiguration, 1) == 2 && im.samplesPerPixel > 1;
    const uint32_t orientation = dir.Value(kOrientation, 1);
    im.orientation = orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;

    const double unit = dir.Value(kResolutionUnit, 2) == 3 ? 2.54 : 1.0;
    im.xResolution = dir.Real(kXResolution, 0) * unit;
    im.yResolution = dir.Real(kYResolution, 0) * unit;

    const uint32_t tileWidth = dir.Value(kTileWidth, 0);
    const uint32_t tileLength = dir.Value(kTileLength, 0);
    im.tiled = tileWidth != 0 && tileLength != 0 && dir.Has(kTileOffsets);
    if (im.tiled) {
        if (tileWidth > kMaxDimension || tileLength > kMaxDimension)
            Invalid();
        im.chunkWidth = static_cast<int>(tileWidth);
        im.chunkRows = static_cast<int>(tileLength);
        im.chunksAcross = static_cast<int>((width + tileWidth - 1) / tileWidth);
    } else {
        // No RowsPerStrip, or 2^32 - 1: one strip of all rows.
        const uint32_t rows = dir.Value(kRowsPerStrip, height);
        im.chunkWidth = im.width;
        im.chunkRows = static_cast<int>(rows == 0 || rows > height ? height : rows);
    }
    im.chunksDown = (im.height + im.chunkRows - 1) / im.chunkRows;
    const size_t planes = im.planar ? static_cast<size_t>(im.samplesPerPixel) : 1;
    const size_t expected = CheckedMul(CheckedMul(static_cast<size_t>(im.chunksAcross), im.chunksDown), planes);
    im.chunks = Chunks(dir, im.tiled, expected, tiff.Size());

    if (im.scheme == TColorScheme::Indexed)
        im.palette = ColorMap(dir, im.bitsPerSample);
    if (im.scheme == TColorScheme::YCbCr) {
        const std::vector<double> k = dir.Reals(kYCbCrCoefficients);
        if (k.size() >= 3)
            im.yCbCrCoefficients = {k[0], k[1], k[2]};
        const std::vector<uint32_t> s = dir.Values(kYCbCrSubSampling);
        if (s.size() >= 2) {
            im.subsamplingH = static_cast<int>(std::min<uint32_t>(s[0], 8));
            im.subsamplingV = static_cast<int>(std::min<uint32_t>(s[1], 8));
        }
    }
    if (im.compression == TTiffCompression::Jpeg) {
        const auto tables = dir.Bytes(kJpegTables);
        im.jpegTables.assign(tables.begin(), tables.end());
    }
    return im;
}

}  // namespace kobalto
