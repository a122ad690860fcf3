#include "codecs/jpeg/EJPEG.h"

#include "codecs/jpeg/JpegMessages.h"

namespace kobalto {

EJPEG::EJPEG(int code) : EInvalidGraphic(msg::Format(msg::kJpegError, {std::to_string(code)})), code_(code) {}

}  // namespace kobalto
