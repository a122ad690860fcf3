#pragma once
// The image header (IHDR): its checks, the sizes derived from it and its
// 13 bytes on output.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kobalto {

enum PngColorType : uint8_t {
    kPngGrey = 0,
    kPngRgb = 2,
    kPngPalette = 3,
    kPngGreyAlpha = 4,
    kPngRgbAlpha = 6,
};

inline constexpr uint32_t kPngMaxSide = 65535;

// A header that passed every check: each field is one the decoder handles.
struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 8;
    uint8_t colorType = kPngRgb;
    uint8_t interlace = 0;

    int Channels() const;
    int BitsPerPixel() const { return Channels() * bitDepth; }
    // Bytes of one unfiltered row of count pixels (no filter-type byte).
    size_t RowBytes(uint32_t count) const;
    // Bytes per complete pixel, at least 1: the distance the filters look back.
    int FilterOffset() const { return BitsPerPixel() < 8 ? 1 : BitsPerPixel() / 8; }
};

// Checks IHDR data in this order: at least 13 bytes, each side at most
// 65535, compression method 0, interlace method 0 or 1, then a non-zero
// size, a colour type and bit depth that go together and filter method 0,
// and last the pixel cap.
PngHeader ParseIhdr(std::span<const uint8_t> data);

std::array<uint8_t, 13> IhdrBytes(const PngHeader& header);

}  // namespace kobalto
