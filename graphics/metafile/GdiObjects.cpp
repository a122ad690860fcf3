#include "graphics/metafile/GdiObjects.h"

namespace kobalto::mf {

bool StockObject(uint32_t index, TGdiObject& out)
{
    const auto brush = [&](uint32_t style, uint8_t grey) {
        out.kind = TGdiObject::Kind::Brush;
        out.brush = TBrush{style, TColor{grey, grey, grey}, 0, nullptr};
    };
    const auto pen = [&](uint32_t style, uint8_t grey) {
        out.kind = TGdiObject::Kind::Pen;
        out.pen = TPen{style, 0, 0, 0, TColor{grey, grey, grey}};
    };
    switch (index & 0x7FFFFFFF) {
    case 0: brush(BS_SOLID, 255); return true;   // white
    case 1: brush(BS_SOLID, 192); return true;   // light grey
    case 2: brush(BS_SOLID, 128); return true;   // grey
    case 3: brush(BS_SOLID, 64); return true;    // dark grey
    case 4: brush(BS_SOLID, 0); return true;     // black
    case 5: brush(BS_NULL, 0); return true;      // hollow
    case 6: pen(PS_SOLID, 255); return true;     // white
    case 7: pen(PS_SOLID, 0); return true;       // black
    case 8: pen(PS_NULL, 0); return true;        // none
    case 10: case 11: case 12: case 13: case 14: case 16: case 17:
        out.kind = TGdiObject::Kind::Font;
        out.font = TFont{};
        return true;
    case 18: brush(BS_SOLID, 255); return true;  // the DC brush
    case 19: pen(PS_SOLID, 0); return true;      // the DC pen
    default: return false;
    }
}

}  // namespace kobalto::mf
