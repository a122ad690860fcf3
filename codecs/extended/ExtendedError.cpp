#include "codecs/extended/ExtendedError.h"

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

void ExtendedTruncated(std::string_view format)
{
    RaiseExtended(msg::kStreamReadErrorIn, {format});
}

}  // namespace kobalto
