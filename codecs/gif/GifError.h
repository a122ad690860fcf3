#pragma once
// The GIF codec's failures: a picture-layer error of its own class, so a
// caller can tell a damaged GIF from other faults.
#include <string_view>

#include "base/Exceptions.h"

namespace kobalto {

class EGIFException : public EInvalidGraphic {
    using EInvalidGraphic::EInvalidGraphic;
};

// The byte reader's truncation handler for GIF data.
[[noreturn]] void GifTruncated(std::string_view format);

}  // namespace kobalto
