#include "codecs/GifError.h"

#include "codecs/GifMessages.h"

namespace kobalto {

void GifTruncated(std::string_view) { throw EGIFException(msg::kGifPrematureEnd); }

}  // namespace kobalto
