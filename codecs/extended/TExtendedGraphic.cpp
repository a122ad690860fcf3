#include "codecs/extended/TExtendedGraphic.h"

#include <utility>
#include <vector>

#include "base/ReadStreamRest.h"

namespace kobalto {

void TExtendedGraphic::LoadFromStream(TStream& stream)
{
    const TStreamRest bytes(stream, FormatName());
    input_ = &bytes;
    struct Reset {
        const TStreamRest*& input;
        ~Reset() { input = nullptr; }
    } reset{input_};
    LoadFromBytes(bytes.Bytes());
}

TInputRelease TExtendedGraphic::InputRelease() const
{
    return [input = input_](std::span<const uint8_t> done) {
        if (input)
            input->Release(done);
    };
}

void TExtendedGraphic::LoadFromBytes(std::span<const uint8_t> bytes)
{
    TImageProperties properties;
    TBitmap decoded = Decode(bytes, properties);
    const bool transparent = Transparent();
    TBitmap::operator=(std::move(decoded));
    SetTransparent(transparent);
    properties_ = properties;
}

}  // namespace kobalto
