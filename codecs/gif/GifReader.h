#pragma once
// Reads a GIF87a or GIF89a file: the logical screen and every frame with
// its extensions and decoded pixels.
#include <cstdint>
#include <span>

#include "codecs/gif/GifFrame.h"
#include "codecs/gif/GifHeader.h"

namespace kobalto {

// Fills header and frames from bytes. Failures raise EGIFException with
// "Invalid GIF signature", "Unsupported GIF version", "Premature end of
// data", "Invalid GIF data" or "Unknown GIF block type"; a logical screen or
// frames above the pixel cap raise it with the cap's text.
void ReadGif(std::span<const uint8_t> bytes, TGIFHeader& header, TGIFFrameList& frames);

}  // namespace kobalto
