#pragma once
// Texts of the TIFF and TGA writers and TBitmap64: our own, since the system
// said nothing of its own here.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kCannotWriteEmpty = "Cannot write an empty picture as %s";
inline constexpr const char* kSideTooLong =
    "Cannot write a picture of %d x %d pixels as %s: each side must be below 65536 pixels.";
inline constexpr const char* kTiffTooLarge = "Picture too large for a TIFF file";
inline constexpr const char* kTiffNarrowFourBit = "Cannot write a 4-bit picture narrower than 4 pixels as TIFF";
inline constexpr const char* kTiffPixelFormat = "Cannot write this pixel format as TIFF";
inline constexpr const char* kTga24Bit = "Cannot write a 24-bit TBitmap64 as TGA: only 15-, 16- and 32-bit rasters";
inline constexpr const char* kBitmap64NoFormat = "TBitmap64 has no %d-bit pixel format";
inline constexpr const char* kScanLineOutOfRange = "Scan line index out of range";
inline constexpr const char* kBitmap64NotWindowsBmp = "Unsupported BMP file: only Windows bitmaps load into TBitmap64";
inline constexpr const char* kBitmap64BmpKind =
    "Unsupported BMP file: only uncompressed 16-, 24- and 32-bit bitmaps load into TBitmap64";

}  // namespace kobalto::msg
