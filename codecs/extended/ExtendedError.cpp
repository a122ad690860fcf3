#include "codecs/extended/ExtendedError.h"

#include "base/Limits.h"
#include "base/Messages.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

void RaiseExtended(const char* text, std::initializer_list<std::string_view> args, TExtendedErrorKind kind)
{
    const std::string message = msg::Format(text, args);
    switch (kind) {
    case TExtendedErrorKind::Compression: throw EGraphicCompression(message);
    case TExtendedErrorKind::ColorConversion: throw EColorConversionError(message);
    case TExtendedErrorKind::Graphic: break;
    }
    throw EInvalidGraphic(message);
}

void CheckDataCanFill(uint64_t declaredBytes, uint64_t dataBytes, uint64_t expansion, std::string_view format)
{
    const uint64_t reach = dataBytes > UINT64_MAX / expansion ? UINT64_MAX : dataBytes * expansion;
    if (HoldsFarTooLittle(declaredBytes, reach))
        RaiseExtended(msg::kInvalidImageFormat, {format});
}

void ExtendedTruncated(std::string_view format)
{
    RaiseExtended(msg::kStreamReadErrorIn, {format});
}

}  // namespace kobalto
