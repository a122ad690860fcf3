#pragma once
// Reading a PNG stream: the chunk loop with its checks, the image data and
// the palette and transparency that go with it.
#include <vector>

#include "base/TStream.h"
#include "codecs/png/PngChunk.h"
#include "codecs/png/PngGamma.h"
#include "codecs/png/PngHeader.h"
#include "codecs/png/PngImage.h"

namespace kobalto {

struct PngFile {
    PngHeader header;
    PngImage image;
    PngGamma gamma;
    // Ancillary chunks written back on saving: gAMA, tIME, and the others
    // that may be copied whatever happened to the image (safe-to-copy).
    std::vector<PngKeptChunk> kept;
};

// Every failure is one of the PNG exceptions, or EInvalidGraphic for a
// picture above the pixel cap.
PngFile ReadPng(TStream& stream);

}  // namespace kobalto
