#pragma once
// 16- and 32-bit BMP pixels under colour masks: which pixel format they load
// into, and the conversion of rows whose masks no pixel format expresses.
#include <cstdint>
#include <vector>

#include "graphics/BmpHeader.h"
#include "graphics/TPixelFormat.h"

namespace kobalto {

struct TBmpMaskPlan {
    TPixelFormat format = TPixelFormat::pf24bit;
    bool copyRows = false;  // the file's rows already are the format's rows
};

// 5-5-5 and 5-6-5 words keep their 16-bit formats, blue-green-red-x words stay
// 32-bit; other 16-bit masks widen to 24 bits, other 32-bit masks are
// rearranged into blue, green, red, x.
TBmpMaskPlan PlanMaskedPixels(int bitCount, const TBmpMasks& masks);

// Decodes masked pixels into blue, green, red (and a zero byte for 32-bit
// targets). Each field is scaled from its own width to 8 bits with rounding;
// a field without bits reads as 0.
class TBmpMaskDecoder {
public:
    explicit TBmpMaskDecoder(const TBmpMasks& masks);

    // width pixels of bitCount (16 or 32) bits from src into out, outBytes
    // (3 or 4) per pixel.
    void DecodeRow(const uint8_t* src, int width, int bitCount, uint8_t* out, int outBytes) const;

private:
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        uint32_t max = 0;
        std::vector<uint8_t> table;  // by field value, when the field is narrow
        uint8_t operator()(uint32_t pixel) const;
    };
    static Channel MakeChannel(uint32_t mask);

    Channel red_, green_, blue_;
};

}  // namespace kobalto
