// libFuzzer target: arbitrary bytes through the PNG reader, then drawing the
// picture, writing it back and reading that again; and the same bytes read
// for the plain stretch and taken stretched to a third and to twice the size. The codec's own failures
// are expected outcomes; a crash, a hang, a sanitizer report or any other
// exception is a finding.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/png/TPNGPicture.h"
#include "fuzz/driver/FuzzHarness.h"

namespace {

// The size the header claims, read where a well-formed file keeps it.
bool ClaimsTooMuch(const uint8_t* data, size_t size)
{
    if (size < 24)
        return false;
    auto u32 = [&](size_t p) {
        return (uint32_t{data[p]} << 24) | (uint32_t{data[p + 1]} << 16) | (uint32_t{data[p + 2]} << 8) | data[p + 3];
    };
    return kobalto::fuzz::TooLarge(u32(16), u32(20));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes || ClaimsTooMuch(data, size))
        return 0;
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TPNGPicture png;
    try {
        png.LoadFromStream(stream);
        kobalto::TBitmap target(png.Width(), png.Height());
        png.Draw(target, 0, 0);
        // Off the target's edges as well.
        png.Draw(target, -3, target.Height() - 1);
        kobalto::TMemoryStream out;
        png.SaveToStream(out);
        out.SetPosition(0);
        kobalto::TPNGPicture back;
        back.LoadFromStream(out);
        png.TakeBitmapOnWhite();
    } catch (const kobalto::Exception&) {
    }
    for (const int scale : {1, 6}) {
        kobalto::TMemoryStream again(std::vector<uint8_t>(data, data + size));
        kobalto::TPNGPicture deferred;
        try {
            deferred.DeferDecoding();
            deferred.LoadFromStream(again);
            deferred.TakeStretchedBitmap(
                [scale](int w, int h) { return std::pair{w * scale / 3 + 1, h * scale / 3 + 1}; });
        } catch (const kobalto::Exception&) {
        }
    }
    return 0;
}
