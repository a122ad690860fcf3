#pragma once
// Decodes the LZW data of one GIF image. The string table has a fixed size
// of 4096 entries and every index into it goes through a mask, so no code a
// file holds can reach outside it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace kobalto {

// Decodes data (the image's sub-blocks joined) with the given minimum code
// size into out, at most out.size() indices; codes past that are ignored.
// Returns how many indices were written: fewer than out.size() when the
// data ends, or holds the end code, before the image is complete.
// A minimum code size outside 1..11, a first code that is no colour, or a
// code beyond the table built so far raise EGIFException "Invalid GIF data".
size_t DecodeGifLzw(std::span<const uint8_t> data, int minCodeSize, std::span<uint8_t> out);

// Receives decoded indices in order, a piece at a time.
using GifIndexSink = std::function<void(const uint8_t* indices, size_t count)>;

// The same, handing at most limit indices to sink instead of filling a
// buffer, so a caller keeps only the ones it needs.
size_t DecodeGifLzw(std::span<const uint8_t> data, int minCodeSize, size_t limit, const GifIndexSink& sink);

}  // namespace kobalto
