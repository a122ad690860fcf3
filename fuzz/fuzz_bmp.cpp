// libFuzzer target: arbitrary bytes through the BMP reader. The reader's own
// failures are expected outcomes; a crash, a hang, a sanitizer report or any
// other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "graphics/BmpReader.h"
#include "fuzz/driver/FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes)
        return 0;
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TBitmap bitmap;
    try {
        kobalto::ReadBmp(stream, bitmap);
        kobalto::fuzz::TouchCorners(bitmap);
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
