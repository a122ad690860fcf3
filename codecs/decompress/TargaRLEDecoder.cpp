#include "codecs/decompress/RunLengthDecoders.h"

namespace kobalto {

TDecodeResult TTargaRLEDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    TSourceCursor in(source);
    TTargetCursor out(target);
    while (out.Room() >= pixelBytes_ && in.Has(1)) {
        const uint8_t h = in.Next();
        const size_t count = (h & 0x7F) + 1u;
        if (h & 0x80) {
            if (!in.Has(pixelBytes_))
                break;
            out.Repeat(in.Take(pixelBytes_), count);
        } else {
            out.Copy(in.Take(count * pixelBytes_));
        }
    }
    return {in.Position(), out.Position()};
}

}  // namespace kobalto
