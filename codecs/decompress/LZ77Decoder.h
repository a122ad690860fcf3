#pragma once
// Deflate data (TIFF compression 8 and 32946) through zlib.
#include <zlib.h>

#include <cstdint>

#include "codecs/decompress/TDecoder.h"

namespace kobalto {

// The most bytes deflate makes of one input byte.
inline constexpr uint64_t kDeflateExpansion = 1032;

class TLZ77Decoder : public TDecoder {
public:
    // flushMode is zlib's; with autoReset every Decode starts a new stream,
    // as each TIFF strip or tile is one.
    TLZ77Decoder(int flushMode, bool autoReset) : flush_(flushMode), autoReset_(autoReset) {}
    ~TLZ77Decoder() override;

    // Raises EGraphicCompression "LZ77 decompression error." when zlib
    // cannot start.
    void DecodeInit() override;
    // Inflates until the stream ends, the target is full or the data is
    // spent; a fault in the data ends the call with what was produced.
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;
    void DecodeEnd() override;

    int LastResult() const { return result_; }

private:
    z_stream z_{};
    bool started_ = false;
    int flush_;
    bool autoReset_;
    int result_ = Z_OK;
};

}  // namespace kobalto
