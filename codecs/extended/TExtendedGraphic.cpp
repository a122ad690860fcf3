#include "codecs/extended/TExtendedGraphic.h"

#include <utility>
#include <vector>

#include "base/ReadStreamRest.h"

namespace kobalto {

void TExtendedGraphic::LoadFromStream(TStream& stream)
{
    const TStreamRest bytes(stream, FormatName());
    LoadFromBytes(bytes.Bytes());
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
