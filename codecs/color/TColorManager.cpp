#include "codecs/color/TColorManager.h"

#include <cstring>

#include "codecs/color/ColorConversions.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

[[noreturn]] void Refuse(const char* text)
{
    RaiseExtended(text, {}, TExtendedErrorKind::ColorConversion);
}

int MinimumSamples(TColorScheme scheme)
{
    switch (scheme) {
    case TColorScheme::Grey:
    case TColorScheme::Indexed: return 1;
    case TColorScheme::RGBA:
    case TColorScheme::BGRA:
    case TColorScheme::CMYK: return 4;
    default: return 3;
    }
}

bool ValidBits(int bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16; }

bool IsPaletted(TColorScheme s) { return s == TColorScheme::Grey || s == TColorScheme::Indexed; }

}  // namespace

void TColorManager::Setup(const TColorFormat& source, const TColorFormat& target, const TColorOptions& options)
{
    // 5-5-5 pixels (TGA's 15 and 16 bits) are the bitmap's own 15-bit format.
    if (source.bitsPerSample == 5 && source.scheme == TColorScheme::BGR && source.samplesPerPixel == 3 &&
        target.scheme == TColorScheme::BGR) {
        source_ = source;
        target_ = target;
        options_ = {};
        subsampled_ = false;
        gammaTable_.clear();
        pixelFormat_ = TPixelFormat::pf15bit;
        return;
    }
    if (!ValidBits(source.bitsPerSample) || !ValidBits(target.bitsPerSample))
        Refuse(msg::kInvalidBitsPerSample);
    if (source.samplesPerPixel < 1 || source.samplesPerPixel > 4 || target.samplesPerPixel < 1 ||
        target.samplesPerPixel > 4 || source.samplesPerPixel < MinimumSamples(source.scheme))
        Refuse(msg::kInvalidSampleCount);
    if (source.scheme == TColorScheme::Unknown || target.scheme == TColorScheme::Unknown)
        Refuse(msg::kNoConversion);
    if ((source.scheme == TColorScheme::Indexed) != (target.scheme == TColorScheme::Indexed))
        Refuse(msg::kIndexedMismatch);

    subsampled_ = false;
    if (IsPaletted(source.scheme)) {
        if (source.scheme != target.scheme || (source.scheme == TColorScheme::Indexed && source.bitsPerSample > 8))
            Refuse(msg::kNoConversion);
        const int bits = source.bitsPerSample;
        pixelFormat_ = bits == 1 ? TPixelFormat::pf1bit : bits <= 4 ? TPixelFormat::pf4bit : TPixelFormat::pf8bit;
    } else {
        if (target.scheme != TColorScheme::BGR && target.scheme != TColorScheme::BGRA)
            Refuse(msg::kNoConversion);
        pixelFormat_ = target.scheme == TColorScheme::BGRA ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    }
    if (source.scheme == TColorScheme::YCbCr) {
        for (int s : {options.subsamplingH, options.subsamplingV})
            if (s != 1 && s != 2 && s != 4)
                Refuse(msg::kInvalidSubsampling);
        if (options.subsamplingV > options.subsamplingH)
            Refuse(msg::kVerticalSubsampling);
        subsampled_ = options.subsamplingH * options.subsamplingV > 1;
        if (subsampled_ && source.bitsPerSample != 8)
            Refuse(msg::kNoConversion);
        yccTables_ = YCbCrTables(options.yCbCrCoefficients);
    }
    source_ = source;
    target_ = target;
    options_ = options;
    if (!subsampled_) {
        options_.subsamplingH = 1;
        options_.subsamplingV = 1;
    }
    gammaTable_ = options.applyGamma ? GammaTable(options.fileGamma) : std::vector<uint8_t>{};
}

size_t TColorManager::SourceRowBytes(int width) const
{
    if (subsampled_) {
        const size_t blocks = (static_cast<size_t>(width) + options_.subsamplingH - 1) / options_.subsamplingH;
        return blocks * static_cast<size_t>(options_.subsamplingH * options_.subsamplingV + 2);
    }
    if (pixelFormat_ == TPixelFormat::pf15bit)
        return static_cast<size_t>(width) * 2;
    return (static_cast<size_t>(width) * source_.samplesPerPixel * source_.bitsPerSample + 7) / 8;
}

void TColorManager::ToBytes(const uint8_t* source, int width)
{
    const size_t count = static_cast<size_t>(width) * source_.samplesPerPixel;
    samples_.resize(count);
    UnpackSamples(source, source_.bitsPerSample, count, options_.bigEndian, !IsPaletted(source_.scheme),
                  samples_.data());
    if (!gammaTable_.empty() && !IsPaletted(source_.scheme))
        for (uint8_t& s : samples_)
            s = gammaTable_[s];
}

void TColorManager::ConvertRow(const uint8_t* source, uint8_t* target, int width)
{
    const int spp = source_.samplesPerPixel;
    const bool direct = source_.bitsPerSample == 8 && gammaTable_.empty();
    if (IsPaletted(source_.scheme)) {
        const int bits = BitsPerPixel(pixelFormat_);
        if (source_.bitsPerSample == bits && spp == 1) {
            std::memcpy(target, source, (static_cast<size_t>(width) * bits + 7) / 8);
            return;
        }
        if (!direct)
            ToBytes(source, width);
        PackIndices(direct ? source : samples_.data(), spp, width, bits, target);
        return;
    }
    const int targetBytes = pixelFormat_ == TPixelFormat::pf32bit ? 4 : 3;
    const bool bgr = source_.scheme == TColorScheme::BGR || source_.scheme == TColorScheme::BGRA;
    if (pixelFormat_ == TPixelFormat::pf15bit || (direct && bgr && spp == targetBytes)) {
        // Stored as the bitmap stores them.
        std::memcpy(target, source, SourceRowBytes(width));
        return;
    }
    if (!direct)
        ToBytes(source, width);
    const uint8_t* s = direct ? source : samples_.data();
    switch (source_.scheme) {
    case TColorScheme::RGB:
    case TColorScheme::RGBA: RgbToBgr(s, spp, width, false, targetBytes, target); return;
    case TColorScheme::BGR:
    case TColorScheme::BGRA: RgbToBgr(s, spp, width, true, targetBytes, target); return;
    case TColorScheme::CMYK: CmykToBgr(s, spp, width, target); return;
    case TColorScheme::CIELab: LabToBgr(s, spp, width, options_.labL255, options_.labOffsetAb, target); return;
    case TColorScheme::YCbCr: YCbCrToBgr(s, spp, width, yccTables_, target); return;
    default: Refuse(msg::kNoConversion);
    }
}

void TColorManager::ConvertBlockRow(const uint8_t* source, uint8_t* const* targets, int rows, int width)
{
    YCbCrBlocksToBgr(source, options_.subsamplingH, options_.subsamplingV, width, rows, yccTables_, targets);
}

std::vector<TRGBQuad> GreyPalette(int bits, bool inverted)
{
    const int n = 1 << bits;
    const int step = 255 / (n - 1);
    std::vector<TRGBQuad> palette(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto v = static_cast<uint8_t>(i * step);
        palette[static_cast<size_t>(inverted ? n - 1 - i : i)] = TRGBQuad{v, v, v, 0};
    }
    return palette;
}

}  // namespace kobalto
