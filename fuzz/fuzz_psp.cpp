// libFuzzer target: arbitrary bytes through the Paintshop Pro reader.
#include "codecs/psp/TPSPGraphic.h"
#include "fuzz/driver/ExtendedTarget.h"

using namespace kobalto::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return RunExtendedTarget<kobalto::TPSPGraphic>(data, size, [](std::span<const uint8_t> d, int64_t& w, int64_t& h) {
        // The image block's body follows the 36-byte file header and a
        // block header; version 3 has a longer block header but no chunk
        // size, so the width is at 50 either way.
        w = Le32(d, 50);
        h = Le32(d, 54);
    });
}
