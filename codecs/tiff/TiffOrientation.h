#pragma once
// Puts a TIFF's decoded rows where its Orientation value (the EXIF one) says,
// so that the picture comes out upright without a second full-size bitmap.
#include <cstdint>
#include <vector>

#include "graphics/TBitmap.h"

namespace kobalto {

// Orientations 5 to 8 turn the picture a quarter: its sides swap.
bool SwapsSides(int orientation);

class TOrientedRows {
public:
    // out is the upright picture (sides swapped where the orientation says);
    // storedWidth is the width of a stored row. 1 (or anything outside
    // 2..8) keeps rows as stored. Up to slots rows may be pending at once.
    TOrientedRows(TBitmap& out, int orientation, int storedWidth, int slots = 1);
    // Where stored row y is converted to: its place in out, or a row of its
    // own that Place then moves.
    uint8_t* Target(int y, int slot = 0);
    // Puts stored row y, converted into Target(y, slot), in its place.
    void Place(int y, int slot = 0);

private:
    TBitmap& out_;
    int orientation_;
    int width_;        // of a stored row
    int storedHeight_;
    int bits_;         // per pixel as stored in out
    std::vector<std::vector<uint8_t>> rows_;  // for the orientations that move pixels
};

}  // namespace kobalto
