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

namespace {

// The logical screen and every frame descriptor, walked the way the reader
// walks them: a picture or frame the file claims beyond the fuzzing size
// would spend the run on pixels, not parsing.
bool ClaimsTooMuch(const uint8_t* data, size_t size)
{
    auto u16 = [&](size_t p) { return static_cast<int64_t>(data[p] | (data[p + 1] << 8)); };
    if (size < 13)
        return false;
    if (kobalto::fuzz::TooLarge(u16(6), u16(8)))
        return true;
    size_t pos = 13 + ((data[10] & 0x80) ? size_t{3} << ((data[10] & 7) + 1) : 0);
    auto skipSubBlocks = [&] {
        while (pos < size && data[pos] != 0)
            pos += size_t{data[pos]} + 1;
        ++pos;
    };
    while (pos < size) {
        const uint8_t kind = data[pos++];
        if (kind == 0x21) {
            ++pos;  // label
            skipSubBlocks();
        } else if (kind == 0x2C && pos + 9 <= size) {
            if (kobalto::fuzz::TooLarge(u16(pos + 4), u16(pos + 6)))
                return true;
            const uint8_t packed = data[pos + 8];
            pos += 9 + ((packed & 0x80) ? size_t{3} << ((packed & 7) + 1) : 0) + 1;  // code size
            skipSubBlocks();
        } else {
            break;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes || ClaimsTooMuch(data, size))
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
