#pragma once
// PackBits run-length coding of one row: a header byte n, then n + 1 bytes
// as they are (n 0..127), or one byte repeated 1 - n times (n -1..-127 as a
// signed byte). -128 is never written.
#include <cstdint>
#include <span>
#include <vector>

namespace kobalto {

// Appends the coded row to out and returns how many bytes it appended.
size_t AppendPackBits(std::span<const uint8_t> row, std::vector<uint8_t>& out);

}  // namespace kobalto
