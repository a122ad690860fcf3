#pragma once
// The texts of the extended readers, verbatim. Every one is
// raised through RaiseExtended (ExtendedError.h).
namespace kobalto::msg {

inline constexpr const char* kInvalidImageFormat = "Cannot load image. Invalid or unexpected %s image format.";
inline constexpr const char* kNotSupportedFor = "Cannot load image. %s not supported for %s files.";
inline constexpr const char* kCompressionSchemeIs = "The compression scheme is";
inline constexpr const char* kStreamReadErrorIn = "Stream read error in %s file.";
inline constexpr const char* kCrcError = "Cannot load image. CRC error found in %s file.";
inline constexpr const char* kCompressionError = "Cannot load image. Compression error found in %s file.";
inline constexpr const char* kExtraCompressedData = "Cannot load image. Extra compressed data found in %s file.";
inline constexpr const char* kInvalidPalette = "Cannot load image. Palette in %s file is invalid.";
inline constexpr const char* kInvalidColorFormat = "Invalid color format in %s file.";

inline constexpr const char* kIndexedMismatch =
    "Conversion between indexed and non-indexed pixel formats is not supported.";
inline constexpr const char* kNoConversion = "Color conversion failed. Could not find a proper method.";
inline constexpr const char* kInvalidBitsPerSample = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
inline constexpr const char* kInvalidSampleCount = "Sample count per pixel does not correspond to the given color scheme.";
inline constexpr const char* kInvalidSubsampling = "Subsampling value is invalid. Allowed are 1, 2 and 4.";
inline constexpr const char* kVerticalSubsampling = "Vertical subsampling value must be <= horizontal subsampling value.";

inline constexpr const char* kLz77Error = "LZ77 decompression error.";
inline constexpr const char* kBogusJpegTables = "Bogus JPEG tables field.";
inline constexpr const char* kJpegStripSize = "Improper JPEG strip/tile size.";
inline constexpr const char* kJpegComponentCount = "Improper JPEG component count.";
inline constexpr const char* kJpegPrecision = "Improper JPEG data precision.";
inline constexpr const char* kJpegSampling = "Improper JPEG sampling factors.";
inline constexpr const char* kJpegFractionalScanline = "Fractional JPEG scanline unsupported.";
inline constexpr const char* kJpegWarningTitle = "Warning";
inline constexpr const char* kJpegUnexpectedEnd = "JPEG decompression error. Unexpected end of input.";

// The format names the texts above are filled with.
inline constexpr const char* kFormatTga = "TGA";
inline constexpr const char* kFormatTiff = "TIF/TIFF";
inline constexpr const char* kFormatEps = "EPS";
inline constexpr const char* kFormatPcx = "PCX";
inline constexpr const char* kFormatPnm = "PBM, PGM or PPM";
inline constexpr const char* kFormatPsd = "PSD or PDD";
inline constexpr const char* kFormatPsp = "PSP";
inline constexpr const char* kFormatRla = "RLA";
inline constexpr const char* kFormatAutodesk = "Autodesk";

}  // namespace kobalto::msg
