#pragma once
// Turns one unfiltered row of PNG samples into bitmap pixels: indices or
// grey levels into an indexed row, everything else into blue, green, red
// with an alpha byte. Pixels land at columns x0, x0 + dx, ... so that
// interlaced passes use the same code.
#include <cstdint>

#include "codecs/png/PngGamma.h"
#include "codecs/png/PngHeader.h"
#include "codecs/png/PngPalette.h"

namespace kobalto {

// Stores count samples of depth bits (1, 2, 4 or 8) into out, a row of an
// indexed bitmap of bits per pixel (1, 4 or 8, at least depth).
void StoreIndexedRow(const uint8_t* raw, uint32_t count, int depth, uint8_t* out, int bits, uint32_t x0,
                     uint32_t dx);

// For grey (16-bit), RGB, grey with alpha and RGB with alpha: count pixels
// into bgr (3 bytes each) and, when alpha is not null, their alpha. 16-bit
// samples keep their high byte; colour samples pass the forward gamma table.
// A tRNS key is compared with the samples at their full depth.
void ConvertDirectRow(const PngHeader& header, const uint8_t* raw, uint32_t count, uint8_t* bgr, uint8_t* alpha,
                      uint32_t x0, uint32_t dx, const PngTransparency& transparency, const PngGamma& gamma);

}  // namespace kobalto
