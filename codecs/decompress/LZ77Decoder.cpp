#include "codecs/decompress/LZ77Decoder.h"

#include <limits>

#include "codecs/decompress/WholeInflate.h"

#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

TLZ77Decoder::~TLZ77Decoder()
{
    if (started_)
        inflateEnd(&z_);
}

void TLZ77Decoder::DecodeInit()
{
    if (started_)
        return;
    z_ = z_stream{};
    result_ = inflateInit(&z_);
    if (result_ < 0)
        RaiseExtended(msg::kLz77Error, {}, TExtendedErrorKind::Compression);
    started_ = true;
}

TDecodeResult TLZ77Decoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    if (!started_)
        DecodeInit();
    if (autoReset_) {
        // A whole stream per call: the one-call inflater does it faster, and
        // zlib takes what it refuses (a damaged stream still gives the bytes
        // before the damage).
        if (const auto whole = InflateWhole(source, target)) {
            result_ = Z_STREAM_END;
            return {whole->consumed, whole->produced};
        }
        result_ = inflateReset(&z_);
        if (result_ != Z_OK)
            return {};
    }
    // zlib counts in 32 bits; strips beyond that go in pieces.
    constexpr size_t kPiece = std::numeric_limits<uInt>::max();
    size_t in = 0;
    size_t out = 0;
    for (;;) {
        const size_t inPiece = std::min(kPiece, source.size() - in);
        const size_t outPiece = std::min(kPiece, target.size() - out);
        z_.next_in = const_cast<Bytef*>(source.data() + in);
        z_.avail_in = static_cast<uInt>(inPiece);
        z_.next_out = target.data() + out;
        z_.avail_out = static_cast<uInt>(outPiece);
        result_ = inflate(&z_, flush_);
        const size_t usedIn = inPiece - z_.avail_in;
        const size_t usedOut = outPiece - z_.avail_out;
        in += usedIn;
        out += usedOut;
        if (result_ != Z_OK || out == target.size() || (usedIn == 0 && usedOut == 0))
            break;
    }
    return {in, out};
}

void TLZ77Decoder::DecodeEnd()
{
    if (!started_)
        return;
    started_ = false;
    result_ = inflateEnd(&z_);
    if (result_ < 0)
        RaiseExtended(msg::kLz77Error, {}, TExtendedErrorKind::Compression);
}

}  // namespace kobalto
