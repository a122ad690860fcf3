#pragma once
// The drawing context a metafile plays into: the device-context state the
// records change (mapping, objects, colours, modes, current position, path,
// clipping) over a Cairo context that paints one tile of the picture.
#include <cairo.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "graphics/metafile/GdiObjects.h"

namespace kobalto::mf {

struct TPointD {
    double x = 0, y = 0;
};

enum class TArcKind { Arc, ArcTo, Chord, Pie };

struct TDcState {
    TPen pen;
    TBrush brush;
    TFont font;
    int mapMode = 1;  // MM_TEXT
    double winOrgX = 0, winOrgY = 0, winExtX = 1, winExtY = 1;
    double vpOrgX = 0, vpOrgY = 0, vpExtX = 1, vpExtY = 1;
    cairo_matrix_t world{1, 0, 0, 1, 0, 0};
    TColor textColor = kBlack;
    TColor bkColor = kWhite;
    int bkMode = 2;        // opaque
    int polyFillMode = 1;  // alternate
    int rop2 = 13;         // copy pen
    uint32_t textAlign = 0;
    bool clockwise = false;
    TPointD current;
};

struct TTextRun {
    TPointD origin;              // logical
    std::u32string text;
    std::vector<double> dx;      // logical advances, one per character, or empty
    uint32_t options = 0;        // ETO_OPAQUE 2, ETO_CLIPPED 4
    bool hasRect = false;
    TRect rect;                  // logical
};

struct TBlit {
    const TBitmap* source = nullptr;  // none: a pattern fill with the brush
    double srcX = 0, srcY = 0, srcW = 0, srcH = 0;  // source pixels, from its top row
    double x = 0, y = 0, w = 0, h = 0;              // destination, logical
    uint32_t rop = 0x00CC0020;
    int alpha = -1;                 // 0..255 constant alpha, with per-pixel alpha when perPixel
    bool perPixelAlpha = false;
    bool transparentKey = false;
    TColor key;
};

class TGdiCanvas {
public:
    // deviceToOutput maps the metafile's device units to the tile's pixels.
    // A WMF maps its window straight onto the output (wmfWindow): mapping
    // modes and viewports of the file do not apply there.
    TGdiCanvas(cairo_t* cr, const cairo_matrix_t& deviceToOutput, double devicePxPerMmX,
               double devicePxPerMmY, bool wmfWindow);
    ~TGdiCanvas();
    TGdiCanvas(const TGdiCanvas&) = delete;
    TGdiCanvas& operator=(const TGdiCanvas&) = delete;

    TDcState& State() { return state_; }

    // Mapping.
    void SetMapMode(int mode);
    void SetWindowOrg(double x, double y);
    void SetWindowExt(double x, double y);
    void SetViewportOrg(double x, double y);
    void SetViewportExt(double x, double y);
    void SetWorldTransform(const cairo_matrix_t& m);
    void ModifyWorldTransform(const cairo_matrix_t& m, uint32_t mode);
    void Save();
    void Restore(int which);  // negative: relative to the top; positive: absolute

    void Select(const TGdiObject& object);

    // Shapes, in logical coordinates.
    void MoveTo(TPointD p);
    void LineTo(TPointD p);
    void Polyline(std::span<const TPointD> points, bool fromCurrent);
    void PolyBezier(std::span<const TPointD> points, bool fromCurrent);
    void PolyDraw(std::span<const TPointD> points, std::span<const uint8_t> types);
    void PolyPolygon(const std::vector<std::vector<TPointD>>& polygons);
    void PolyPolyline(const std::vector<std::vector<TPointD>>& lines);
    void Rectangle(const TRect& r);
    void RoundRect(const TRect& r, double cornerW, double cornerH);
    void Ellipse(const TRect& r);
    void ArcShape(TArcKind kind, const TRect& box, TPointD start, TPointD end);
    void AngleArc(TPointD centre, double radius, double startDeg, double sweepDeg);
    void SetPixel(TPointD p, TColor color);

    // Paths.
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath(int mode);

    // Clipping and regions; rectangles in device units when device is true.
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    void SelectClipRegion(const std::vector<TRect>& rects, int mode, bool device);
    void FillRegion(const std::vector<TRect>& rects, const TBrush& brush, bool device);
    void FrameRegion(const std::vector<TRect>& rects, const TBrush& brush, double w, double h, bool device);

    void Text(const TTextRun& run);
    void Blit(const TBlit& blit);

private:
    cairo_matrix_t Page() const;
    // Sets the logical-to-output matrix; false when it cannot be inverted.
    bool UseLogical();
    void UseOutput();
    void BeginShape();
    void EndShape(bool fill, bool stroke);
    void ApplySource(TColor color);
    bool ApplyBrush(const TBrush& brush);
    bool ApplyPen();
    void StrokeCurrent();
    void FillCurrent();
    // Fills and/or strokes the path recorded between BeginPath and EndPath,
    // then forgets it.
    void PaintPath(bool fill, bool stroke);
    // Adds each line of two or more points as a figure, closed if asked.
    void AddPolylines(const std::vector<std::vector<TPointD>>& lines, bool close);
    void AppendEllipse(const TRect& r);
    void AppendArc(const TRect& box, TPointD start, TPointD end, bool lineToStart);
    void AppendRects(const std::vector<TRect>& rects, bool device);
    void StartFigure(TPointD p);
    // Starts a line's figure at the current position, or at first.
    void StartLine(TPointD first, bool fromCurrent);
    double OutputScale() const;
    void ClipWith(int mode, cairo_fill_rule_t rule);

    cairo_t* cr_;
    cairo_matrix_t deviceToOutput_;
    double pxPerMmX_, pxPerMmY_;
    bool wmfWindow_;
    TDcState state_;
    std::vector<TDcState> saved_;
    bool inPath_ = false;
    bool figureOpen_ = false;
    cairo_path_t* path_ = nullptr;  // the closed path, in output pixels
};

}  // namespace kobalto::mf
