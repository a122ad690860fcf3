#include "formats/icon/IconPlacement.h"

#include <algorithm>

#include "base/Extended.h"

namespace kobalto {

int ChooseIconSide(int width, int height)
{
    for (int side : kIconSides)
        if (side < 64 && width < side && height < side)
            return side;
    return 64;
}

namespace {

// (side ÷ long) × short in extended precision, divided first.
int Proportional(int side, int longer, int shorter)
{
    const int64_t g = RoundHalfEven(Divide(side, longer) * static_cast<Extended>(shorter));
    // A very thin picture would round to nothing, and nothing cannot be resized.
    return static_cast<int>(std::max<int64_t>(g, 1));
}

}  // namespace

TIconPlacement PlaceInIcon(int width, int height)
{
    TIconPlacement p;
    if (width == height && (width == 16 || width == 32 || width == 48 || width == 64)) {
        p.side = p.width = p.height = width;
        p.asIs = true;
        return p;
    }
    p.side = ChooseIconSide(width, height);
    if (height < width) {
        p.width = p.side;
        p.height = Proportional(p.side, width, height);
        p.top = (p.side - p.height) / 2;
    } else {
        p.width = Proportional(p.side, height, width);
        p.height = p.side;
        p.left = (p.side - p.width) / 2;
    }
    return p;
}

}  // namespace kobalto
