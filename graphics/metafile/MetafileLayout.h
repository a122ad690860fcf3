#pragma once
// The checked outline of a metafile: its kind, its picture size at the
// display's resolution, where its records lie and what its playback needs
// from the header. Records beyond the headers are only walked for their
// sizes here; their contents are checked as they play.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/DisplayMetrics.h"

namespace kobalto {

enum class TMetafileKind { Emf, Wmf };

struct TMetafileLayout {
    TMetafileKind kind = TMetafileKind::Emf;
    int width = 0;   // picture pixels; 0 × 0 for an empty picture
    int height = 0;
    size_t recordsBegin = 0;  // first record after the headers
    size_t recordsEnd = 0;    // end of the last record walked
    // EMF: the frame in reference-device pixels and the device's pixels per mm.
    double frameLeft = 0, frameTop = 0, frameWidth = 1, frameHeight = 1;
    double pxPerMmX = 1, pxPerMmY = 1;
    uint32_t handles = 0;
    // WMF: the window the records start with, and the object table size.
    double windowX = 0, windowY = 0, windowW = 1, windowH = 1;
    uint32_t objects = 0;
};

// Raises EInvalidGraphic with the invalid-metafile text for anything that is
// not a metafile we can play: unknown signature, bad header fields, a record
// size that runs past the end, or a picture beyond the pixel cap.
TMetafileLayout ParseMetafileLayout(std::span<const uint8_t> bytes, const platform::TDisplayMetrics& display);

[[noreturn]] void ThrowInvalidMetafile();

}  // namespace kobalto
