#pragma once
// Writing a PNG stream from the pixels a picture holds: signature, header,
// palette, transparency, image data and the kept ancillary chunks.
#include <cstdint>
#include <vector>

#include "base/TStream.h"
#include "codecs/png/PngChunk.h"
#include "codecs/png/PngGamma.h"
#include "codecs/png/PngHeader.h"
#include "codecs/png/PngImage.h"
#include "codecs/png/PngRowFilter.h"

namespace kobalto {

class TRowGate;

struct PngEncoderSettings {
    uint8_t filterSet = kPngFilterSub;
    int compressionLevel = 7;
    uint8_t interlace = 0;
    // The deflate output buffer, and so the size of every full IDAT chunk.
    uint32_t maxIdatSize = 65535;
};

// The header the pixels are written with: palette pictures (colour type 3)
// at 1, 4 or 8 bits, 24-bit pixels as 8-bit RGB (colour type 2), or RGB with
// alpha (colour type 6) when they carry an alpha plane.
PngHeader PngOutputHeader(const PngImage& image, uint8_t interlace);

// The chunks in this order: IHDR; kept chunks that stood before the palette;
// PLTE (indexed pixels, 2^bits entries); tRNS (indexed pixels with entry
// alpha, or a 24-bit key); kept chunks that stood before the image data;
// IDAT; the other kept chunks; IEND. Samples pass the inverse gamma table.
void WritePng(TStream& out, const PngImage& image, const PngEncoderSettings& settings, const PngGamma& gamma,
              const std::vector<PngKeptChunk>& kept);

// What WritePng writes for the 24-bit picture behind gate, opaque, with
// the identity gamma and no kept chunks, not interlaced (whatever settings
// say of that); each row written as soon as the gate has it. Raises
// ERowsWithdrawn when the rows stop coming.
void WritePngAsRowsArrive(TStream& out, const TRowGate& gate, const PngEncoderSettings& settings);

}  // namespace kobalto
