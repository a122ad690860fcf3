#pragma once
// The failures of the PNG picture class, one class per fault, each with its
// fixed text.
#include <string>
#include <string_view>

#include "base/Exceptions.h"

namespace kobalto {

#define KOBALTO_PNG_ERROR(Name)  \
    class Name : public Exception { \
    public:                         \
        Name();                     \
    };

KOBALTO_PNG_ERROR(EPNGInvalidFileHeader)
KOBALTO_PNG_ERROR(EPNGIHDRNotFirst)
KOBALTO_PNG_ERROR(EPngUnexpectedEnd)
KOBALTO_PNG_ERROR(EPNGUnknownCriticalChunk)
KOBALTO_PNG_ERROR(EPNGNoImageData)
KOBALTO_PNG_ERROR(EPngInvalidIHDR)
KOBALTO_PNG_ERROR(EPNGSizeExceeds)
KOBALTO_PNG_ERROR(EPNGUnknownCompression)
KOBALTO_PNG_ERROR(EPNGUnknownInterlace)
KOBALTO_PNG_ERROR(EPngInvalidCRC)
KOBALTO_PNG_ERROR(EPNGMissingMultipleIDAT)
KOBALTO_PNG_ERROR(EPNGInvalidPalette)

#undef KOBALTO_PNG_ERROR

// The description is zlib's own text for the failure.
class EPNGZLIBError : public Exception {
public:
    explicit EPNGZLIBError(std::string_view description);
};

// The truncation handler for TByteReader over PNG data.
[[noreturn]] void PngTruncated(std::string_view format);

}  // namespace kobalto
