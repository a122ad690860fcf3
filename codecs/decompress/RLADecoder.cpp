#include "codecs/decompress/RunLengthDecoders.h"

namespace kobalto {

TDecodeResult TRLADecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    TSourceCursor in(source);
    TTargetCursor out(target);
    while (in.Has(1)) {
        const auto b = static_cast<int8_t>(in.Next());
        if (b >= 0) {
            if (!in.Has(1))
                break;
            out.Fill(in.Next(), static_cast<size_t>(b) + 1);
        } else {
            out.Copy(in.Take(static_cast<size_t>(-b)));
        }
    }
    return {in.Position(), out.Position()};
}

}  // namespace kobalto
