// libFuzzer target: arbitrary bytes through the RLA reader.
#include "codecs/rla/TRLAGraphic.h"
#include "fuzz/driver/ExtendedTarget.h"

using namespace kobalto::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return RunExtendedTarget<kobalto::TRLAGraphic>(data, size, [](std::span<const uint8_t> d, int64_t& w, int64_t& h) {
        w = int64_t(int16_t(Be16(d, 10))) - int16_t(Be16(d, 8)) + 1;
        h = int64_t(int16_t(Be16(d, 14))) - int16_t(Be16(d, 12)) + 1;
    });
}
