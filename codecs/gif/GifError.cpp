#include "codecs/gif/GifError.h"

#include "codecs/gif/GifMessages.h"

namespace kobalto {

void GifTruncated(std::string_view) { throw EGIFException(msg::kGifPrematureEnd); }

}  // namespace kobalto
