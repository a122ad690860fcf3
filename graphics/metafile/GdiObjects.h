#pragma once
// The drawing objects a metafile creates and selects: pens, brushes, fonts
// and regions, already checked and in plain values.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/TBitmap.h"
#include "graphics/TColor.h"

namespace kobalto::mf {

enum PenStyle : uint32_t { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5 };
enum BrushStyle : uint32_t { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6 };

struct TPen {
    uint32_t style = PS_SOLID;  // low four bits of the style word
    uint32_t endCap = 0;        // 0 round, 1 square, 2 flat
    uint32_t join = 0;          // 0 round, 1 bevel, 2 mitre
    double width = 0;           // logical units; 0 is one pixel
    TColor color = kBlack;
};

struct TBrush {
    uint32_t style = BS_SOLID;
    TColor color = kWhite;
    uint32_t hatch = 0;
    std::shared_ptr<const TBitmap> pattern;  // BS_PATTERN and DIB patterns
};

struct TFont {
    double height = -12;  // negative: the em height; positive: the cell height
    double width = 0;
    double escapement = 0;  // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool symbol = false;  // the symbol character set: letters are Greek
    std::string face;
};

struct TRect {
    double left = 0, top = 0, right = 0, bottom = 0;
};

struct TGdiObject {
    enum class Kind { Pen, Brush, Font, Region, Other } kind = Kind::Other;
    TPen pen;
    TBrush brush;
    TFont font;
    std::vector<TRect> region;  // device units (EMF) or logical (WMF)
};

// COLORREF: 0x00BBGGRR; the top byte (palette flags) is ignored.
inline TColor ColorRef(uint32_t v)
{
    return TColor{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16)};
}

// The stock objects, selected by index with the top bit set.
bool StockObject(uint32_t index, TGdiObject& out);

}  // namespace kobalto::mf
