#pragma once
// Texts of the PNG picture class, verbatim (spelling included): users and
// support know them by heart.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kPngInvalidFileHeader =
    "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid "
    "header. This file may be corruped, try obtaining it again.";
inline constexpr const char* kPngIhdrNotFirst =
    "This \"Portable Network Graphics\" image is not supported or it might be invalid.\n"
    "(IHDR chunk is not the first)";
inline constexpr const char* kPngUnexpectedEnd =
    "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the file.";
inline constexpr const char* kPngUnknownCriticalChunk =
    "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded.";
inline constexpr const char* kPngNoImageData = "This \"Portable Network Graphics\" image contains no data.";
inline constexpr const char* kPngInvalidIhdr =
    "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) "
    "might be corrupted";
inline constexpr const char* kPngSizeExceeds =
    "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds the "
    "maximum size, which is 65535 pixels length.";
inline constexpr const char* kPngUnknownCompression =
    "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not be "
    "decoded.";
inline constexpr const char* kPngUnknownInterlace =
    "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded.";
inline constexpr const char* kPngInvalidCrc =
    "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc error)";
inline constexpr const char* kPngZlibError =
    "Could not decompress the image because it contains invalid compressed data.\n Description: %s";
inline constexpr const char* kPngMissingMultipleIdat =
    "This \"Portable Network Graphics\" image is invalid because it has missing image parts.";
inline constexpr const char* kPngInvalidPalette = "The \"Portable Network Graphics\" image contains an invalid palette.";

// Our own texts, for the writer and the encoder settings.
inline constexpr const char* kPngBadSetting = "Invalid PNG encoder setting: %s";
inline constexpr const char* kPngEmptyPicture = "An empty picture cannot be written as a PNG image.";
inline constexpr const char* kPngDeflateCannotStart = "deflate cannot start";
inline constexpr const char* kPngDeflateFailed = "deflate failed";

// Descriptions given with a decompression failure that zlib did not name.
inline constexpr const char* kPngBadFilterType = "invalid filter type";
inline constexpr const char* kPngUnknownZlibFailure = "unknown error";

}  // namespace kobalto::msg
