#pragma once
// Writes a GIF stream: header, logical screen, every frame with its
// extensions, local colour table and LZW data, and the trailer.
#include "base/TByteWriter.h"
#include "codecs/gif/GifFrame.h"
#include "codecs/gif/GifHeader.h"

namespace kobalto {

// GIF89a as soon as one frame needs it (a sorted map or any extension),
// GIF87a otherwise. No frames raise EGIFException "Unsupported GIF
// version".
TGIFVersion GifStreamVersion(const TGIFFrameList& frames);

void WriteGif(const TGIFHeader& header, const TGIFFrameList& frames, TByteWriter& out);

}  // namespace kobalto
