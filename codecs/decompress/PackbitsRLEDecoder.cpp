#include "codecs/decompress/RunLengthDecoders.h"

namespace kobalto {

TDecodeResult TPackbitsRLEDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    TSourceCursor in(source);
    TTargetCursor out(target);
    while (!out.Full() && in.Has(1)) {
        const auto n = static_cast<int8_t>(in.Next());
        if (n >= 0) {
            out.Copy(in.Take(static_cast<size_t>(n) + 1));
        } else if (n != -128) {
            if (!in.Has(1))
                break;
            out.Fill(in.Next(), static_cast<size_t>(1 - n));
        }
    }
    return {in.Position(), out.Position()};
}

}  // namespace kobalto
