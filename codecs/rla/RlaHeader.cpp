#include "codecs/rla/RlaHeader.h"

#include <cstdlib>
#include <string>

#include "base/TByteReader.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

constexpr size_t kHeaderBytes = 740;
constexpr int kFloatStorage = 4;

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatRla}); }

int16_t I16(TByteReader& r) { return static_cast<int16_t>(r.U16BE()); }

// A text field of fixed width, up to its first zero byte.
std::string Text(std::span<const uint8_t> field)
{
    std::string s;
    for (uint8_t c : field) {
        if (c == 0)
            break;
        s += static_cast<char>(c);
    }
    return s;
}

// The gamma text as a number; anything that is not one counts as 1.
double ParseGamma(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const double g = std::strtod(begin, &end);
    return end == begin ? 1.0 : g;
}

}  // namespace

TRlaHeader ParseRlaHeader(std::span<const uint8_t> bytes)
{
    TByteReader file(bytes, msg::kFormatRla, ExtendedTruncated);
    TByteReader r = file.Sub(kHeaderBytes);
    r.Skip(8);  // the full window; pixels cover the active one
    const int left = I16(r), right = I16(r), bottom = I16(r), top = I16(r);
    r.Skip(2);  // frame
    const int storage = I16(r);
    TRlaHeader h;
    h.colourChannels = I16(r);
    h.matteChannels = I16(r);
    r.Skip(4);  // auxiliary channels, revision
    h.gamma = ParseGamma(Text(r.Take(16)));
    r.Seek(580);
    const std::string channels = Text(r.Take(32));
    r.Seek(658);
    h.colourBits = I16(r);
    r.Skip(2);
    h.matteBits = I16(r);

    if (channels != "rgb" || h.colourChannels != 3 || h.matteChannels < 0 || storage == kFloatStorage)
        Invalid();
    if (h.colourBits < 1 || h.colourBits > 16 || (h.matteChannels > 0 && (h.matteBits < 1 || h.matteBits > 16)))
        Invalid();
    if (right < left || top < bottom)
        Invalid();
    h.width = right - left + 1;
    h.height = top - bottom + 1;

    h.lineOffsets.resize(static_cast<size_t>(h.height));
    TByteReader offsets = file.Sub(static_cast<size_t>(h.height) * 4);
    for (size_t& at : h.lineOffsets) {
        at = offsets.U32BE();
        if (at < file.Position() || at >= bytes.size())
            Invalid();
    }
    return h;
}

}  // namespace kobalto
