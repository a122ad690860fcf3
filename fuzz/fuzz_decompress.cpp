// libFuzzer target: the decompressors on arbitrary data. The first byte
// picks the decoder and its options, the next two give a width (fax,
// ThunderScan) and the size of the target; the rest is the packed data.
// Decoding into a target with guard bytes around it catches writes past
// either end even without a sanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <zlib.h>

#include "base/Exceptions.h"
#include "codecs/decompress/FaxDecoders.h"
#include "codecs/decompress/LZ77Decoder.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/decompress/ThunderDecoder.h"
#include "fuzz/driver/FuzzHarness.h"

namespace {

std::unique_ptr<kobalto::TDecoder> Pick(uint8_t choice, int width)
{
    using namespace kobalto;
    const bool reversed = choice & 0x10;
    switch (choice & 0x0F) {
    case 0: return std::make_unique<TTargaRLEDecoder>(8);
    case 1: return std::make_unique<TTargaRLEDecoder>(16);
    case 2: return std::make_unique<TTargaRLEDecoder>(24);
    case 3: return std::make_unique<TTargaRLEDecoder>(32);
    case 4: return std::make_unique<TPackbitsRLEDecoder>();
    case 5: return std::make_unique<TPCXRLEDecoder>();
    case 6: return std::make_unique<TPSPRLEDecoder>();
    case 7: return std::make_unique<TRLADecoder>();
    case 8: return std::make_unique<TCCITTMHDecoder>(width, reversed, false);
    case 9: return std::make_unique<TCCITTMHDecoder>(width, reversed, true);
    case 10: return std::make_unique<TCCITTFax3Decoder>(width, reversed, choice >> 5);
    case 11: return std::make_unique<TThunderDecoder>(width);
    default: return std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, true);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3 || size > kobalto::fuzz::kMaxInputBytes)
        return 0;
    const int width = 1 + ((data[1] << 8 | data[2]) & 0x0FFF);
    const size_t room = static_cast<size_t>(width) * (1 + (data[1] >> 4));
    constexpr uint8_t kGuard = 0xA5;
    std::vector<uint8_t> target(room + 32, kGuard);
    auto decoder = Pick(data[0], width);
    try {
        decoder->DecodeInit();
        // Twice, as readers call a decoder once per strip or row.
        for (int pass = 0; pass < 2; ++pass) {
            const auto r = decoder->Decode({data + 3, size - 3}, {target.data() + 16, room});
            if (r.consumed > size - 3 || r.produced > room)
                std::abort();
        }
        decoder->DecodeEnd();
    } catch (const kobalto::Exception&) {
    }
    for (size_t i = 0; i < 16; ++i)
        if (target[i] != kGuard || target[room + 16 + i] != kGuard)
            std::abort();
    return 0;
}
