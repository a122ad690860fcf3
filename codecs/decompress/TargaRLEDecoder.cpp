#include "codecs/decompress/RunLengthDecoders.h"

namespace kobalto {

void TTargaRLEDecoder::Flush(TSourceCursor& in, TTargetCursor& out)
{
    const size_t fits = std::min(pending_, out.Room() / pixelBytes_);
    if (pendingRun_) {
        out.Repeat({pixel_, pixelBytes_}, fits);
        pending_ -= fits;
        return;
    }
    // Raw pixels: take only what the target holds, the rest stays for the
    // next call.
    const auto bytes = in.Take(fits * pixelBytes_);
    out.Copy(bytes);
    pending_ = bytes.size() < fits * pixelBytes_ ? 0 : pending_ - fits;
}

TDecodeResult TTargaRLEDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    TSourceCursor in(source);
    TTargetCursor out(target);
    Flush(in, out);
    while (out.Room() >= pixelBytes_ && in.Has(1)) {
        const uint8_t h = in.Next();
        pending_ = (h & 0x7F) + 1u;
        pendingRun_ = h & 0x80;
        if (pendingRun_) {
            if (!in.Has(pixelBytes_)) {
                pending_ = 0;
                break;
            }
            const auto p = in.Take(pixelBytes_);
            std::copy(p.begin(), p.end(), pixel_);
        }
        Flush(in, out);
    }
    return {in.Position(), out.Position()};
}

}  // namespace kobalto
