// libFuzzer target: arbitrary bytes through the BMP reader. The reader's own
// failures are expected outcomes; a crash, a hang, a sanitizer report or any
// other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "graphics/BmpReader.h"
#include "graphics/TBitmap.h"

namespace {

// Larger inputs add time, not coverage.
constexpr size_t kMaxInputBytes = size_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInputBytes)
        return 0;
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TBitmap bitmap;
    try {
        kobalto::ReadBmp(stream, bitmap);
        // Reading the corners touches the first and last rows the reader filled.
        if (!bitmap.Empty()) {
            volatile uint8_t sink = bitmap.Pixel(0, 0).red;
            sink = bitmap.Pixel(bitmap.Width() - 1, bitmap.Height() - 1).blue;
            (void)sink;
        }
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
