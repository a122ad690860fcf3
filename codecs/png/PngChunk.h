#pragma once
// An ancillary chunk a loaded picture keeps and writes back, with where it
// stood relative to the palette and the image data.
#include <array>
#include <cstdint>
#include <vector>

namespace kobalto {

enum class PngChunkPlace : uint8_t { BeforePalette, BeforeImageData, AfterImageData };

struct PngKeptChunk {
    std::array<char, 4> name{};
    std::vector<uint8_t> data;
    PngChunkPlace place = PngChunkPlace::AfterImageData;
};

}  // namespace kobalto
