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

// Receives the decoded rows in the file's order: row is the stored row's
// number, count its indices (width, or fewer for the last one the data
// reached).
using GifRowSink = std::function<void(size_t row, const uint8_t* indices, size_t count)>;

// The same for an image of width × rows indices, handed on a row at a time
// instead of filling a buffer, so a caller keeps only the rows and columns
// it needs.
size_t DecodeGifLzwRows(std::span<const uint8_t> data, int minCodeSize, size_t width, size_t rows,
                        const GifRowSink& sink);

}  // namespace kobalto
