#pragma once
// The checked description of a Photoshop file: header, palette and where
// each channel line of the merged image lies. Nothing is allocated for
// pixels.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "codecs/color/TColorScheme.h"
#include "graphics/TColor.h"

namespace kobalto {

enum class TPsdMode { Bitmap = 0, Grey = 1, Indexed = 2, RGB = 3, CMYK = 4, Multichannel = 7, Duotone = 8, Lab = 9 };

struct TPsdHeader {
    int width = 0;           // 1 to 30000
    int height = 0;
    int depth = 8;           // 1 (bitmap mode only), 8 or 16
    TPsdMode mode = TPsdMode::RGB;
    int usedChannels = 1;    // the channels read: 1, 3 or 4
    TColorScheme scheme = TColorScheme::Grey;  // of the channels read, in file order
    std::vector<TRGBQuad> palette;  // indexed mode: 256 entries
    bool rle = false;
    size_t lineBytes = 0;    // one unpacked line of one channel
    // For each channel read, then each row: where its line starts and how
    // many bytes it has in the file (lineBytes when stored raw). Every line
    // lies inside the file.
    std::vector<size_t> lineStart;
    std::vector<size_t> lineLength;
};

// Raises "Cannot load image. Invalid or unexpected PSD or PDD image format."
// for a bad signature or field, a large document (version 2) or 32-bit
// channels; "Cannot load image. The compression scheme is not supported for
// PSD or PDD files." for deflate data; "Stream read error in PSD or PDD
// file." when a section or line passes the end of the file.
TPsdHeader ParsePsdHeader(std::span<const uint8_t> bytes);

}  // namespace kobalto
