#pragma once

namespace kobalto {

struct TFitSize {
    int width = 0;
    int height = 0;
};

// Fits a w × h picture into a boxWidth × boxHeight box keeping its
// proportions: the whole box width unless the picture is then too tall.
// Quotients first, then products, in extended precision, truncated toward
// zero. A zero w raises the invalid-operation error (0 ÷ 0 or x ÷ 0).
TFitSize FitToBox(int boxWidth, int boxHeight, int w, int h);

}  // namespace kobalto
