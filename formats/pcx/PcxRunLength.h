#pragma once
// The PCX run-length code: a byte with its two top bits set carries a count
// (1..63) in its low six bits and repeats the byte after it; any other byte
// stands for itself. A byte of 0xC0 or above therefore always goes out as a
// run, even alone.
#include <cstdint>
#include <span>
#include <vector>

namespace kobalto {

// Appends the coded bytes to out; runs never leave the given span, so each
// plane line decodes on its own.
void AppendPcxRunLength(std::span<const uint8_t> line, std::vector<uint8_t>& out);

}  // namespace kobalto
