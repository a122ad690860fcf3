// libFuzzer target: arbitrary bytes through the GIF reader, then drawing the
// picture and writing it back. The codec's own failures are expected
// outcomes; a crash, a hang, a sanitizer report or any other exception is a
// finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/TGIFPicture.h"
#include "graphics/TBitmap.h"

namespace {

// Larger inputs add time, not coverage.
constexpr size_t kMaxInputBytes = size_t{1} << 20;
// Drawing a screen beyond this tests the allocator, not the codec.
constexpr int64_t kMaxDrawnPixels = int64_t{1} << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInputBytes)
        return 0;
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TGIFPicture gif;
    try {
        gif.LoadFromStream(stream);
        if (int64_t{gif.Width()} * gif.Height() <= kMaxDrawnPixels) {
            kobalto::TBitmap target(gif.Width(), gif.Height());
            gif.Draw(target, 0, 0);
            // Off the target's edges as well.
            gif.Draw(target, -3, target.Height() - 1);
            kobalto::TMemoryStream out;
            gif.SaveToStream(out);
        }
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
