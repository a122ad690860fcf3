#pragma once
// The picture size a TIFF claims, read with the reader's own header parser,
// so a fuzz target can skip pictures too large to be worth the time.
#include <cstdint>
#include <span>

#include "base/Exceptions.h"
#include "base/TByteReader.h"
#include "codecs/tiff/TiffImage.h"
#include "fuzz/driver/FuzzHarness.h"

namespace kobalto::fuzz {

inline bool TiffTooLarge(std::span<const uint8_t> tiff)
{
    try {
        TByteReader r(tiff, "TIFF");
        const TTiffImage im = ParseTiffImage(r);
        return TooLarge(im.width, im.height) || TooLarge(im.chunkWidth, im.chunkRows);
    } catch (const Exception&) {
        return false;  // the reader will say so itself
    }
}

}  // namespace kobalto::fuzz
