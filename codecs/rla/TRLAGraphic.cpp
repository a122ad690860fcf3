#include "codecs/rla/TRLAGraphic.h"

#include <cstring>
#include <vector>

#include "base/Limits.h"
#include "base/TByteReader.h"
#include "codecs/color/ColorConversions.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/rla/RlaHeader.h"

namespace kobalto {

namespace {

// One channel of a line: a length, then run-length data. Samples over 8
// bits are two byte planes, the high bytes first; they are scaled from
// their own range to 0..255.
class TRlaChannelReader {
public:
    TRlaChannelReader(int width) : width_(static_cast<size_t>(width)), unpacked_(width_ * 2) {}

    void Read(TByteReader& line, int bits, uint8_t* out, size_t step)
    {
        const size_t planes = bits > 8 ? 2 : 1;
        const std::span<uint8_t> target(unpacked_.data(), width_ * planes);
        const size_t got = rle_.Decode(line.Take(line.U16BE()), target).produced;
        std::memset(target.data() + got, 0, target.size() - got);
        const uint32_t max = (1u << bits) - 1;
        for (size_t x = 0; x < width_; ++x, out += step) {
            uint32_t v = planes == 2 ? uint32_t{unpacked_[x]} << 8 | unpacked_[width_ + x] : unpacked_[x];
            if (v > max)
                v = max;
            *out = static_cast<uint8_t>((v * 255 + max / 2) / max);
        }
    }

private:
    size_t width_;
    std::vector<uint8_t> unpacked_;
    TRLADecoder rle_;
};

}  // namespace

const char* TRLAGraphic::FormatName() const { return msg::kFormatRla; }

TBitmap TRLAGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    const TRlaHeader h = ParseRlaHeader(bytes);
    CheckImageSize(h.width, h.height, msg::kFormatRla);
    const bool alpha = h.matteChannels > 0;
    const int n = alpha ? 4 : 3;
    // Rows may share their data, so only the whole file bounds what it can
    // fill.
    const uint64_t planes = h.colourBits > 8 ? 2 : 1;
    CheckDataCanFill(static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height) * planes *
                         static_cast<uint64_t>(n),
                     bytes.size(), kRlaRleExpansion, msg::kFormatRla);
    properties.width = h.width;
    properties.height = h.height;
    properties.colorScheme = alpha ? TColorScheme::RGBA : TColorScheme::RGB;
    properties.bitsPerSample = h.colourBits;
    properties.samplesPerPixel = n;
    properties.bitsPerPixel = h.colourBits * n;
    properties.compression = TCompressionKind::Rle;
    properties.gamma = h.gamma;

    // A gamma of 0 or less means none was recorded.
    const bool gamma = h.gamma > 0 && h.gamma != 1.0;
    const std::vector<uint8_t> table = gamma ? GammaTable(h.gamma) : std::vector<uint8_t>{};
    TBitmap out = TBitmap::ForDecoding(h.width, h.height, alpha ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
    TRlaChannelReader channel(h.width);
    for (int y = 0; y < h.height; ++y) {
        TByteReader line(bytes, msg::kFormatRla, ExtendedTruncated);
        line.Seek(h.lineOffsets[static_cast<size_t>(y)]);
        uint8_t* row = out.ScanLine(h.height - 1 - y);  // the bottom row comes first
        for (int c = 0; c < 3; ++c)
            channel.Read(line, h.colourBits, row + (2 - c), static_cast<size_t>(n));
        if (alpha)
            channel.Read(line, h.matteBits, row + 3, 4);
        if (gamma) {
            for (int x = 0; x < h.width; ++x)
                for (int c = 0; c < 3; ++c)
                    row[x * n + c] = table[row[x * n + c]];
        }
    }
    return out;
}

const TGraphicClass& RLAGraphicClass()
{
    static const TGraphicClass cls{"TRLAGraphic", [] { return std::make_unique<TRLAGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
