#pragma once
// The checked description of the first image of a TIFF file: the fields the
// pixel code uses, with their defaults filled in, and the places of its
// strips or tiles. Pixel code trusts nothing else.
#include <array>
#include <cstdint>
#include <vector>

#include "base/TByteReader.h"
#include "codecs/color/TColorScheme.h"
#include "graphics/TColor.h"

namespace kobalto {

enum class TTiffCompression { None, MH, MHWord, Fax3, PackBits, Deflate, Jpeg, Thunder };

struct TTiffChunk {
    size_t offset = 0;  // inside the TIFF data
    size_t size = 0;    // cut to the data present
};

struct TTiffImage {
    int width = 0;   // 1 .. kMaxDimension
    int height = 0;
    int bitsPerSample = 1;
    int samplesPerPixel = 1;
    int photometric = 0;
    TTiffCompression compression = TTiffCompression::None;
    TColorScheme scheme = TColorScheme::Unknown;
    bool reversedBits = false;  // fill order 2: each byte's bits stored backwards
    uint32_t t4Options = 0;
    bool predictor = false;     // horizontal differencing
    bool planar = false;        // one plane per sample
    int orientation = 1;        // 1 .. 8
    // Strips are chunks as wide as the image.
    bool tiled = false;
    int chunkWidth = 0;
    int chunkRows = 0;
    int chunksAcross = 1;
    int chunksDown = 1;
    std::vector<TTiffChunk> chunks;  // plane by plane, row by row; may be short
    std::vector<TRGBQuad> palette;   // indexed images: 2^bits entries
    std::array<double, 3> yCbCrCoefficients{0.299, 0.587, 0.114};
    int subsamplingH = 2;
    int subsamplingV = 2;
    std::vector<uint8_t> jpegTables;
    double xResolution = 0;  // dots per inch
    double yResolution = 0;
};

// Reads the header and the first directory of tiff (which spans the whole
// TIFF data). Raises "Cannot load image. Invalid or unexpected TIF/TIFF image
// format." for a bad header, a zero or missing size, or missing strip fields;
// "Cannot load image. The compression scheme is not supported for TIF/TIFF
// files." for compressions without a decoder; "Cannot load image. Palette in
// TIF/TIFF file is invalid." for a short colour map; "Color conversion
// failed. Could not find a proper method." for floating-point samples.
TTiffImage ParseTiffImage(TByteReader& tiff);

}  // namespace kobalto
