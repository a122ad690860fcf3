#include "codecs/icon/ReadIconFile.h"

#include "base/Exceptions.h"
#include "codecs/icon/IconMessages.h"

namespace kobalto {

namespace {

// 100 images of 256 × 256 pixels at 32 bits with their masks take under 27 MB.
constexpr int64_t kMaxIconFileBytes = int64_t{1} << 28;

}  // namespace

std::vector<uint8_t> ReadRestOfStream(TStream& stream)
{
    const int64_t start = stream.Position();
    const int64_t end = stream.Size();
    const int64_t size = end > start ? end - start : 0;
    if (size > kMaxIconFileBytes)
        throw EInvalidGraphic(msg::kInvalidIconImage);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    size_t got = 0;
    while (got < bytes.size()) {
        const size_t n = stream.Read(bytes.data() + got, bytes.size() - got);
        if (n == 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace kobalto
