#include "codecs/decompress/RunLengthDecoders.h"

namespace kobalto {

TDecodeResult TPCXRLEDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    TSourceCursor in(source);
    TTargetCursor out(target);
    while (!out.Full() && in.Has(1)) {
        const uint8_t b = in.Next();
        if (b < 192) {
            out.Fill(b, 1);
        } else {
            if (!in.Has(1))
                break;
            out.Fill(in.Next(), b & 0x3Fu);
        }
    }
    return {in.Position(), out.Position()};
}

}  // namespace kobalto
