#include "codecs/psd/PsdHeader.h"

#include "base/TByteReader.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatPsd}); }

constexpr int kMaxSide = 30000;

// The channels read for a mode and the scheme they are in; file order is
// red, green, blue (cyan, magenta, yellow, black; L, a, b), then extras.
void ChooseChannels(TPsdHeader& h, int channels)
{
    const bool alpha = channels >= 4;
    switch (h.mode) {
    case TPsdMode::Bitmap:
        if (h.depth != 1)
            Invalid();
        h.scheme = TColorScheme::Grey;
        h.usedChannels = 1;
        return;
    case TPsdMode::Grey:
    case TPsdMode::Duotone:
        h.scheme = TColorScheme::Grey;
        h.usedChannels = 1;
        break;
    case TPsdMode::Indexed:
        if (h.depth != 8)
            Invalid();
        h.scheme = TColorScheme::Indexed;
        h.usedChannels = 1;
        return;
    case TPsdMode::RGB:
    case TPsdMode::Multichannel:
        if (channels < 3) {
            // Fewer than three channels of ink: shown as grey.
            h.scheme = TColorScheme::Grey;
            h.usedChannels = 1;
            break;
        }
        h.scheme = alpha ? TColorScheme::RGBA : TColorScheme::RGB;
        h.usedChannels = alpha ? 4 : 3;
        break;
    case TPsdMode::CMYK:
        if (channels < 4)
            Invalid();
        h.scheme = TColorScheme::CMYK;
        h.usedChannels = 4;
        break;
    case TPsdMode::Lab:
        if (channels < 3)
            Invalid();
        h.scheme = TColorScheme::CIELab;
        h.usedChannels = 3;
        break;
    default: Invalid();
    }
    if (h.depth != 8 && h.depth != 16)
        Invalid();
}

}  // namespace

TPsdHeader ParsePsdHeader(std::span<const uint8_t> bytes)
{
    TByteReader file(bytes, msg::kFormatPsd, ExtendedTruncated);
    if (file.U32BE() != 0x38425053)  // "8BPS"
        Invalid();
    // Version 2 is the large document format, with wider fields throughout.
    if (file.U16BE() != 1)
        Invalid();
    file.Skip(6);
    const int channels = file.U16BE();
    const uint32_t height = file.U32BE();
    const uint32_t width = file.U32BE();
    TPsdHeader h;
    h.depth = file.U16BE();
    const int mode = file.U16BE();
    if (channels < 1 || width < 1 || height < 1 || width > kMaxSide ||
        height > kMaxSide)
        Invalid();
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);
    h.mode = static_cast<TPsdMode>(mode);
    ChooseChannels(h, channels);

    TByteReader colorData = file.Sub(file.U32BE());
    if (h.mode == TPsdMode::Indexed) {
        if (colorData.Size() < 768)
            RaiseExtended(msg::kInvalidPalette, {msg::kFormatPsd});
        const std::span<const uint8_t> map = colorData.Take(768);
        h.palette.resize(256);
        for (size_t i = 0; i < 256; ++i)
            h.palette[i] = TRGBQuad{map[512 + i], map[256 + i], map[i], 0};
    }
    file.Skip(file.U32BE());  // image resources
    file.Skip(file.U32BE());  // layers and masks

    const int compression = file.U16BE();
    if (compression == 2 || compression == 3)
        RaiseExtended(msg::kNotSupportedFor, {msg::kCompressionSchemeIs, msg::kFormatPsd});
    if (compression != 0 && compression != 1)
        Invalid();
    h.rle = compression == 1;
    h.lineBytes = (static_cast<size_t>(h.width) * h.depth + 7) / 8;

    const size_t lines = static_cast<size_t>(h.usedChannels) * h.height;
    h.lineStart.resize(lines);
    h.lineLength.resize(lines);
    if (!h.rle) {
        size_t at = file.Position();
        for (size_t i = 0; i < lines; ++i, at += h.lineBytes) {
            h.lineStart[i] = at;
            h.lineLength[i] = h.lineBytes;
        }
        file.Seek(at);  // all of them are there
        return h;
    }
    // A table of every channel's line lengths, then the lines in that order.
    TByteReader counts = file.Sub(static_cast<size_t>(channels) * h.height * 2);
    size_t at = file.Position();
    for (size_t i = 0; i < lines; ++i) {
        h.lineStart[i] = at;
        h.lineLength[i] = counts.U16BE();
        at += h.lineLength[i];
    }
    file.Seek(at);
    return h;
}

}  // namespace kobalto
