// libFuzzer target: arbitrary bytes through the Photoshop reader.
#include "codecs/psd/TPSDGraphic.h"
#include "fuzz/driver/ExtendedTarget.h"

using namespace kobalto::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return RunExtendedTarget<kobalto::TPSDGraphic>(data, size, [](std::span<const uint8_t> d, int64_t& w, int64_t& h) {
        h = Be32(d, 14);
        w = Be32(d, 18);
    });
}
