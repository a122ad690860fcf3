// libFuzzer target: arbitrary bytes through the PCX reader.
#include "codecs/pcx/TPCXGraphic.h"
#include "fuzz/driver/ExtendedTarget.h"

using namespace kobalto::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return RunExtendedTarget<kobalto::TPCXGraphic>(data, size, [](std::span<const uint8_t> d, int64_t& w, int64_t& h) {
        // the window, and one line of all planes
        w = int64_t(Le16(d, 8)) - Le16(d, 4) + 1;
        h = int64_t(Le16(d, 10)) - Le16(d, 6) + 1;
        w = std::max<int64_t>(w, int64_t(Le16(d, 66)) * (d.size() > 65 ? d[65] : 0));
    });
}
