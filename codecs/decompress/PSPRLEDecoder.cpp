#include "codecs/decompress/RunLengthDecoders.h"

namespace kobalto {

TDecodeResult TPSPRLEDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    TSourceCursor in(source);
    TTargetCursor out(target);
    while (in.Has(1)) {
        const uint8_t b = in.Next();
        if (b < 128) {
            out.Copy(in.Take(b));
        } else {
            if (!in.Has(1))
                break;
            out.Fill(in.Next(), b - 128u);
        }
    }
    return {in.Position(), out.Position()};
}

}  // namespace kobalto
