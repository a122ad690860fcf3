// libFuzzer target: arbitrary bytes through the GIF reader, then drawing the
// picture and writing it back. The codec's own failures are expected
// outcomes; a crash, a hang, a sanitizer report or any other exception is a
// finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/gif/TGIFPicture.h"
#include "fuzz/driver/FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes)
        return 0;
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TGIFPicture gif;
    try {
        gif.LoadFromStream(stream);
        if (!kobalto::fuzz::TooLarge(gif.Width(), gif.Height())) {
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
