#pragma once
// The checked 740-byte header of an RLA file and its table of line offsets.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kobalto {

struct TRlaHeader {
    int width = 0;   // of the active window, at least 1
    int height = 0;
    int colourChannels = 3;  // red, green, blue
    int matteChannels = 0;   // the first is kept as alpha
    int colourBits = 8;      // 1 to 16
    int matteBits = 8;
    double gamma = 1.0;      // applied when positive and not 1
    std::vector<size_t> lineOffsets;  // bottom row first; each inside the file
};

// Raises "Cannot load image. Invalid or unexpected RLA image format." for
// channel texts other than "rgb", float or over-wide samples, an empty or
// inverted window, and offsets outside the file.
TRlaHeader ParseRlaHeader(std::span<const uint8_t> bytes);

}  // namespace kobalto
