#pragma once
// Where a picture goes in an icon square: the side, the fitted size and the
// offset at which the fitted picture is drawn.

namespace kobalto {

// The icon sides written, smallest first.
inline constexpr int kIconSides[] = {16, 24, 32, 48, 64};

struct TIconPlacement {
    int side = 0;
    int width = 0;   // the fitted picture
    int height = 0;
    int left = 0;    // where it is drawn in the square
    int top = 0;
    bool asIs = false;  // a square of a standard side other than 24 is taken unchanged
};

// The smallest side both of whose dimensions are below it, else 64: a
// picture smaller than its side is enlarged.
int ChooseIconSide(int width, int height);

// The longer dimension becomes the side; the shorter one is scaled in
// proportion (rounded to nearest, ties to even, at least 1) and centred.
// Raises EZeroDivide for a 0 × 0 picture.
TIconPlacement PlaceInIcon(int width, int height);

}  // namespace kobalto
