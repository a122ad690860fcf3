#pragma once
// The failures of the extended readers, all EInvalidGraphic, and the one
// routine that raises them with a text of ExtendedMessages.h.
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "base/Exceptions.h"

namespace kobalto {

// A decompressor's failure.
class EGraphicCompression : public EInvalidGraphic {
    using EInvalidGraphic::EInvalidGraphic;
};
// The colour converter refused the source or target description.
class EColorConversionError : public EInvalidGraphic {
    using EInvalidGraphic::EInvalidGraphic;
};

enum class TExtendedErrorKind { Graphic, Compression, ColorConversion };

// Formats text with args and raises it as the kind's exception.
[[noreturn]] void RaiseExtended(const char* text, std::initializer_list<std::string_view> args = {},
                                TExtendedErrorKind kind = TExtendedErrorKind::Graphic);

// Refuses with "Cannot load image. Invalid or unexpected %s image format." a
// file whose data, even expanded by the most its coding gives per byte
// (1 when stored as it is), holds far too little of the pixel bytes its
// header declares (HoldsFarTooLittle, base/Limits.h).
void CheckDataCanFill(uint64_t declaredBytes, uint64_t dataBytes, uint64_t expansion, std::string_view format);

// TByteReader's truncation handler for the extended readers:
// "Stream read error in %s file.".
[[noreturn]] void ExtendedTruncated(std::string_view format);

}  // namespace kobalto
