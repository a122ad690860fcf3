#include <cstring>

#include "codecs/color/ColorConversions.h"

namespace kobalto {

void UnpackSamples(const uint8_t* source, int bits, size_t count, bool bigEndian, bool stretch, uint8_t* out)
{
    switch (bits) {
    case 8:
        std::memcpy(out, source, count);
        return;
    case 16:
        // v × 255 div 65535 is v div 257; one loop per byte order, which
        // the compiler turns into vector code.
        if (bigEndian)
            for (size_t i = 0; i < count; ++i)
                out[i] = static_cast<uint8_t>(static_cast<uint16_t>(source[2 * i] << 8 | source[2 * i + 1]) / 257);
        else
            for (size_t i = 0; i < count; ++i)
                out[i] = static_cast<uint8_t>(static_cast<uint16_t>(source[2 * i + 1] << 8 | source[2 * i]) / 257);
        return;
    default: {
        // 1, 2 or 4 bits, most significant first, pixels not padded apart.
        const unsigned max = (1u << bits) - 1;
        const unsigned scale = stretch ? 255 / max : 1;
        for (size_t i = 0; i < count; ++i) {
            const size_t bit = i * static_cast<size_t>(bits);
            const unsigned v = (source[bit >> 3] >> (8 - bits - (bit & 7))) & max;
            out[i] = static_cast<uint8_t>(v * scale);
        }
        return;
    }
    }
}

void PackIndices(const uint8_t* samples, int samplesPerPixel, int width, int targetBits, uint8_t* out)
{
    const size_t step = static_cast<size_t>(samplesPerPixel);
    if (targetBits == 8) {
        for (int x = 0; x < width; ++x)
            out[x] = samples[x * step];
        return;
    }
    const size_t bytes = (static_cast<size_t>(width) * targetBits + 7) / 8;
    std::memset(out, 0, bytes);
    const unsigned mask = (1u << targetBits) - 1;
    for (int x = 0; x < width; ++x) {
        const size_t bit = static_cast<size_t>(x) * targetBits;
        out[bit >> 3] |= static_cast<uint8_t>((samples[x * step] & mask) << (8 - targetBits - (bit & 7)));
    }
}

void RgbToBgr(const uint8_t* samples, int samplesPerPixel, int width, bool sourceIsBgr, int targetBytes, uint8_t* out)
{
    const size_t step = static_cast<size_t>(samplesPerPixel);
    const int r = sourceIsBgr ? 2 : 0;
    const int b = sourceIsBgr ? 0 : 2;
    for (int x = 0; x < width; ++x) {
        const uint8_t* s = samples + x * step;
        uint8_t* d = out + static_cast<size_t>(x) * targetBytes;
        d[0] = s[b];
        d[1] = s[1];
        d[2] = s[r];
        if (targetBytes == 4)
            d[3] = samplesPerPixel >= 4 ? s[3] : 255;
    }
}

}  // namespace kobalto
