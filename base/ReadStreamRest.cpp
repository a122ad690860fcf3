#include "base/ReadStreamRest.h"

#include <string>

#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/Messages.h"

namespace kobalto {

std::vector<uint8_t> ReadStreamRest(TStream& stream, std::string_view format)
{
    const int64_t size = stream.Size() - stream.Position();
    if (size > kMaxFileBytes)
        throw EInvalidGraphic(msg::Format(msg::kFileTooLarge, {format, std::to_string(size)}));
    std::vector<uint8_t> bytes(size > 0 ? static_cast<size_t>(size) : 0);
    stream.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

}  // namespace kobalto
