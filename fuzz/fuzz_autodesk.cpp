// libFuzzer target: arbitrary bytes through the Autodesk reader.
#include "codecs/autodesk/TAutodeskGraphic.h"
#include "fuzz/driver/ExtendedTarget.h"

using namespace kobalto::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return RunExtendedTarget<kobalto::TAutodeskGraphic>(data, size, [](std::span<const uint8_t>, int64_t&, int64_t&) {
        // The reader wants the pixels in the input before it allocates.
    });
}
