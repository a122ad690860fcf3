#pragma once
// Drawing between bitmaps: 1:1 copies and the nearest-neighbour stretch.
// Both of them honour the source's transparency switch: pixels of the
// key colour (the source's bottom-left pixel) are not drawn.
#include <vector>

#include "graphics/TColor.h"

namespace kobalto {

class TBitmap;

// Draws source 1:1 with its top-left corner at (x, y) of target, clipped.
void DrawBitmap(TBitmap& target, int x, int y, const TBitmap& source);

// Stretches the whole source onto the whole target, picking pixels by
// nearest neighbour: dropped rows and columns are spread evenly when
// reducing, repeated evenly when enlarging. A 1-bit source combines the
// pixels it drops with AND instead, so black survives at the expense of white.
void StretchBitmap(TBitmap& target, const TBitmap& source);

// The source line (row or column, from the top or the left) that
// StretchBitmap picks for each of targetSize target lines: the centre of the
// target cell mapped back. Also for decoders that fill a stretched bitmap
// straight from the lines it would pick.
std::vector<int> NearestMap(int targetSize, int sourceSize);

}  // namespace kobalto
