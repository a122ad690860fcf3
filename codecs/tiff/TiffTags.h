#pragma once
// The TIFF tag numbers and field types this system reads and writes.
#include <cstdint>

namespace kobalto::tiff {

enum TTag : uint16_t {
    kNewSubfileType = 254,
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kFillOrder = 266,
    kStripOffsets = 273,
    kOrientation = 274,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kXResolution = 282,
    kYResolution = 283,
    kPlanarConfiguration = 284,
    kT4Options = 292,
    kResolutionUnit = 296,
    kSoftware = 305,
    kPredictor = 317,
    kColorMap = 320,
    kTileWidth = 322,
    kTileLength = 323,
    kTileOffsets = 324,
    kTileByteCounts = 325,
    kExtraSamples = 338,
    kSampleFormat = 339,
    kJpegTables = 347,
    kYCbCrCoefficients = 529,
    kYCbCrSubSampling = 530,
    kYCbCrPositioning = 531,
};

enum TFieldType : uint16_t {
    kByte = 1,
    kAscii = 2,
    kShort = 3,
    kLong = 4,
    kRational = 5,
    kSByte = 6,
    kUndefined = 7,
    kSShort = 8,
    kSLong = 9,
    kSRational = 10,
    kFloat = 11,
    kDouble = 12,
    kIfd = 13,
};

// Bytes of one value of a field type; 0 for types nobody defined.
inline unsigned FieldTypeSize(uint16_t type)
{
    switch (type) {
    case kByte: case kAscii: case kSByte: case kUndefined: return 1;
    case kShort: case kSShort: return 2;
    case kLong: case kSLong: case kFloat: case kIfd: return 4;
    case kRational: case kSRational: case kDouble: return 8;
    default: return 0;
    }
}

}  // namespace kobalto::tiff
