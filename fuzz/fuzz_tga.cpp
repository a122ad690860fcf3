// libFuzzer target: arbitrary bytes through the TGA reader. The reader's own
// failures are expected outcomes; a crash, a hang, a sanitizer report or any
// other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/tga/TTargaGraphic.h"
#include "fuzz/driver/FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes)
        return 0;
    // Width and height where the header keeps them.
    if (size >= 16 && kobalto::fuzz::TooLarge(data[12] | (data[13] << 8), data[14] | (data[15] << 8)))
        return 0;
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TTargaGraphic tga;
    try {
        tga.LoadFromStream(stream);
        kobalto::fuzz::TouchCorners(tga);
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
