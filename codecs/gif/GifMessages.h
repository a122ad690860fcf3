#pragma once
// Texts of the GIF codec and its colour reduction.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kGifInvalidSignature = "Invalid GIF signature";
inline constexpr const char* kGifUnsupportedVersion = "Unsupported GIF version";
inline constexpr const char* kGifPrematureEnd = "Premature end of data";
inline constexpr const char* kGifInvalidData = "Invalid GIF data";
inline constexpr const char* kGifUnknownBlock = "Unknown GIF block type";
inline constexpr const char* kGifColorNotInTable = "Color not in color table";
inline constexpr const char* kGifInvalidBitmapList = "Invalid bitmap list";
inline constexpr const char* kGifEmptyImage = "Cannot write a GIF image without pixels";
inline constexpr const char* kGifImageTooLarge = "Image is too large for GIF";
inline constexpr const char* kGifRunLengthNotWritten = "GIF run-length compression is not available; only LZW is written.";
inline constexpr const char* kGifInvalidColorCount = "Invalid color count: a palette holds 1 to 256 colors";

}  // namespace kobalto::msg
