// Shapes of the drawing context: outlines built under the logical mapping,
// then filled with the brush and stroked with the pen in output pixels.
#include <algorithm>
#include <cmath>

#include "graphics/metafile/GdiCanvas.h"
#include "graphics/metafile/MetafileSurface.h"

namespace kobalto::mf {

namespace {

constexpr double kPi = 3.14159265358979323846;

// One ellipse arc of at most a quarter turn as a cubic.
void ArcSegment(cairo_t* cr, double cx, double cy, double rx, double ry, double t0, double t1)
{
    const double k = 4.0 / 3.0 * std::tan((t1 - t0) / 4);
    const double c0 = std::cos(t0), s0 = std::sin(t0), c1 = std::cos(t1), s1 = std::sin(t1);
    cairo_curve_to(cr, cx + rx * (c0 - k * s0), cy + ry * (s0 + k * c0), cx + rx * (c1 + k * s1),
                   cy + ry * (s1 - k * c1), cx + rx * c1, cy + ry * s1);
}

// From the current point's arc start, t0 to t1 in parameter angle.
void ParametricArc(cairo_t* cr, double cx, double cy, double rx, double ry, double t0, double t1)
{
    const int n = std::max(1, static_cast<int>(std::ceil(std::fabs(t1 - t0) / (kPi / 2) - 1e-9)));
    const double step = (t1 - t0) / n;
    for (int i = 0; i < n; ++i)
        ArcSegment(cr, cx, cy, rx, ry, t0 + i * step, t0 + (i + 1) * step);
}

}  // namespace

void TGdiCanvas::BeginShape()
{
    if (!inPath_)
        cairo_new_path(cr_);
}

void TGdiCanvas::EndShape(bool fill, bool stroke)
{
    if (inPath_)
        return;
    if (fill)
        FillCurrent();
    if (stroke)
        StrokeCurrent();
    cairo_new_path(cr_);
}

void TGdiCanvas::ApplySource(TColor c)
{
    cairo_operator_t op = CAIRO_OPERATOR_OVER;
    switch (state_.rop2) {
    case 1: c = kBlack; break;                                  // black
    case 16: c = kWhite; break;                                 // white
    case 6: c = kWhite; op = CAIRO_OPERATOR_DIFFERENCE; break;  // not destination
    case 7: op = CAIRO_OPERATOR_DIFFERENCE; break;              // xor pen
    case 9: op = CAIRO_OPERATOR_MULTIPLY; break;                // and pen
    case 15: op = CAIRO_OPERATOR_LIGHTEN; break;                // or pen
    default: break;
    }
    cairo_set_operator(cr_, op);
    cairo_set_source_rgb(cr_, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

bool TGdiCanvas::ApplyBrush(const TBrush& brush)
{
    if (state_.rop2 == 11)  // no operation
        return false;
    switch (brush.style) {
    case BS_SOLID:
        ApplySource(brush.color);
        return true;
    case BS_HATCHED: {
        cairo_surface_t* s = HatchSurface(brush.hatch, brush.color, state_.bkMode == 2, state_.bkColor);
        ApplySource(brush.color);
        cairo_pattern_t* p = cairo_pattern_create_for_surface(s);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
        cairo_set_source(cr_, p);
        cairo_pattern_destroy(p);
        cairo_surface_destroy(s);
        return true;
    }
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT: {
        if (!brush.pattern || brush.pattern->Empty())
            return false;
        cairo_surface_t* s = SurfaceFromBitmap(*brush.pattern, false);
        if (!s)
            return false;
        ApplySource(kBlack);
        cairo_pattern_t* p = cairo_pattern_create_for_surface(s);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
        cairo_set_source(cr_, p);
        cairo_pattern_destroy(p);
        cairo_surface_destroy(s);
        return true;
    }
    default:
        return false;
    }
}

void TGdiCanvas::FillCurrent()
{
    UseOutput();
    cairo_set_fill_rule(cr_, state_.polyFillMode == 2 ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    if (ApplyBrush(state_.brush))
        cairo_fill_preserve(cr_);
}

void TGdiCanvas::StrokeCurrent()
{
    const TPen& pen = state_.pen;
    if (pen.style == PS_NULL || state_.rop2 == 11)
        return;
    // Lines are at least one pixel wide, as on a screen.
    const double width = std::max(1.0, pen.width * OutputScale());
    if (!std::isfinite(width))
        return;
    UseOutput();
    ApplySource(pen.color);
    cairo_set_line_width(cr_, width);
    static const cairo_line_cap_t kCaps[] = {CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_SQUARE, CAIRO_LINE_CAP_BUTT};
    static const cairo_line_join_t kJoins[] = {CAIRO_LINE_JOIN_ROUND, CAIRO_LINE_JOIN_BEVEL, CAIRO_LINE_JOIN_MITER};
    cairo_set_line_cap(cr_, kCaps[std::min<uint32_t>(pen.endCap, 2)]);
    cairo_set_line_join(cr_, kJoins[std::min<uint32_t>(pen.join, 2)]);
    double dashes[6];
    int count = 0;
    const double u = width;
    switch (pen.style) {
    case PS_DASH: dashes[0] = 6 * u, dashes[1] = 2 * u, count = 2; break;
    case PS_DOT: dashes[0] = u, dashes[1] = u, count = 2; break;
    case PS_DASHDOT: dashes[0] = 3 * u, dashes[1] = 2 * u, dashes[2] = u, dashes[3] = 2 * u, count = 4; break;
    case PS_DASHDOTDOT:
        dashes[0] = 3 * u, dashes[1] = u, dashes[2] = u, dashes[3] = u, dashes[4] = u, dashes[5] = u, count = 6;
        break;
    default: break;
    }
    cairo_set_dash(cr_, dashes, count, 0);
    cairo_stroke_preserve(cr_);
    cairo_set_dash(cr_, nullptr, 0, 0);
}

void TGdiCanvas::StartFigure(TPointD p)
{
    if (inPath_ && figureOpen_ && cairo_has_current_point(cr_))
        return;
    cairo_move_to(cr_, p.x, p.y);
    figureOpen_ = true;
}

void TGdiCanvas::MoveTo(TPointD p)
{
    state_.current = p;
    figureOpen_ = false;
}

void TGdiCanvas::LineTo(TPointD p)
{
    if (UseLogical()) {
        BeginShape();
        StartFigure(state_.current);
        cairo_line_to(cr_, p.x, p.y);
        EndShape(false, true);
    }
    state_.current = p;
}

void TGdiCanvas::StartLine(TPointD first, bool fromCurrent)
{
    if (fromCurrent) {
        StartFigure(state_.current);
        return;
    }
    cairo_move_to(cr_, first.x, first.y);
    figureOpen_ = true;
}

void TGdiCanvas::Polyline(std::span<const TPointD> points, bool fromCurrent)
{
    if (points.empty() || (!fromCurrent && points.size() < 2))
        return;
    if (UseLogical()) {
        BeginShape();
        StartLine(points[0], fromCurrent);
        for (size_t i = fromCurrent ? 0 : 1; i < points.size(); ++i)
            cairo_line_to(cr_, points[i].x, points[i].y);
        EndShape(false, true);
    }
    if (fromCurrent)
        state_.current = points.back();
}

void TGdiCanvas::PolyBezier(std::span<const TPointD> points, bool fromCurrent)
{
    const size_t first = fromCurrent ? 0 : 1;
    if (points.size() < first + 3)
        return;
    if (UseLogical()) {
        BeginShape();
        StartLine(points[0], fromCurrent);
        for (size_t i = first; i + 3 <= points.size(); i += 3)
            cairo_curve_to(cr_, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x,
                           points[i + 2].y);
        EndShape(false, true);
    }
    if (fromCurrent)
        state_.current = points[first + (points.size() - first) / 3 * 3 - 1];
}

void TGdiCanvas::PolyDraw(std::span<const TPointD> points, std::span<const uint8_t> types)
{
    if (points.empty() || !UseLogical())
        return;
    BeginShape();
    StartFigure(state_.current);
    TPointD start = state_.current;
    for (size_t i = 0; i < points.size() && i < types.size(); ++i) {
        const uint8_t t = types[i] & 6;
        if (t == 6) {
            cairo_move_to(cr_, points[i].x, points[i].y);
            start = points[i];
        } else if (t == 4 && i + 2 < points.size()) {
            cairo_curve_to(cr_, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x,
                           points[i + 2].y);
            i += 2;
        } else {
            cairo_line_to(cr_, points[i].x, points[i].y);
        }
        if (types[std::min(i, types.size() - 1)] & 1)
            cairo_close_path(cr_);
        state_.current = points[std::min(i, points.size() - 1)];
    }
    (void)start;
    EndShape(false, true);
}

void TGdiCanvas::AddPolylines(const std::vector<std::vector<TPointD>>& lines, bool close)
{
    for (const auto& line : lines) {
        if (line.size() < 2)
            continue;
        cairo_move_to(cr_, line[0].x, line[0].y);
        for (size_t i = 1; i < line.size(); ++i)
            cairo_line_to(cr_, line[i].x, line[i].y);
        if (close)
            cairo_close_path(cr_);
    }
}

void TGdiCanvas::PolyPolygon(const std::vector<std::vector<TPointD>>& polygons)
{
    if (!UseLogical())
        return;
    BeginShape();
    AddPolylines(polygons, true);
    figureOpen_ = false;
    EndShape(true, true);
}

void TGdiCanvas::PolyPolyline(const std::vector<std::vector<TPointD>>& lines)
{
    if (!UseLogical())
        return;
    BeginShape();
    AddPolylines(lines, false);
    EndShape(false, true);
}

void TGdiCanvas::Rectangle(const TRect& r)
{
    if (!UseLogical())
        return;
    BeginShape();
    cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    figureOpen_ = false;
    EndShape(true, true);
}

void TGdiCanvas::RoundRect(const TRect& r, double cornerW, double cornerH)
{
    if (!UseLogical())
        return;
    const double l = std::min(r.left, r.right), rr = std::max(r.left, r.right);
    const double t = std::min(r.top, r.bottom), b = std::max(r.top, r.bottom);
    const double rx = std::min(std::fabs(cornerW) / 2, (rr - l) / 2);
    const double ry = std::min(std::fabs(cornerH) / 2, (b - t) / 2);
    BeginShape();
    cairo_move_to(cr_, l + rx, t);
    cairo_line_to(cr_, rr - rx, t);
    ParametricArc(cr_, rr - rx, t + ry, rx, ry, -kPi / 2, 0);
    cairo_line_to(cr_, rr, b - ry);
    ParametricArc(cr_, rr - rx, b - ry, rx, ry, 0, kPi / 2);
    cairo_line_to(cr_, l + rx, b);
    ParametricArc(cr_, l + rx, b - ry, rx, ry, kPi / 2, kPi);
    cairo_line_to(cr_, l, t + ry);
    ParametricArc(cr_, l + rx, t + ry, rx, ry, kPi, 3 * kPi / 2);
    cairo_close_path(cr_);
    figureOpen_ = false;
    EndShape(true, true);
}

void TGdiCanvas::AppendEllipse(const TRect& r)
{
    const double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const double rx = std::fabs(r.right - r.left) / 2, ry = std::fabs(r.bottom - r.top) / 2;
    cairo_move_to(cr_, cx + rx, cy);
    ParametricArc(cr_, cx, cy, rx, ry, 0, 2 * kPi);
    cairo_close_path(cr_);
}

void TGdiCanvas::Ellipse(const TRect& r)
{
    if (!UseLogical())
        return;
    BeginShape();
    AppendEllipse(r);
    figureOpen_ = false;
    EndShape(true, true);
}

void TGdiCanvas::AppendArc(const TRect& box, TPointD start, TPointD end, bool lineToStart)
{
    const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const double rx = std::fabs(box.right - box.left) / 2, ry = std::fabs(box.bottom - box.top) / 2;
    if (rx == 0 || ry == 0)
        return;
    const double t0 = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
    double t1 = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
    // Counter-clockwise as the picture shows it, unless the file asks for
    // clockwise; a mirrored mapping turns the parameter direction round.
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    const bool mirrored = m.xx * m.yy - m.xy * m.yx < 0;
    const bool increasing = mirrored != state_.clockwise;
    if (increasing) {
        while (t1 <= t0)
            t1 += 2 * kPi;
    } else {
        while (t1 >= t0)
            t1 -= 2 * kPi;
    }
    const double sx = cx + rx * std::cos(t0), sy = cy + ry * std::sin(t0);
    if (lineToStart)
        cairo_line_to(cr_, sx, sy);
    else
        cairo_move_to(cr_, sx, sy);
    ParametricArc(cr_, cx, cy, rx, ry, t0, t1);
}

void TGdiCanvas::ArcShape(TArcKind kind, const TRect& box, TPointD start, TPointD end)
{
    if (!UseLogical())
        return;
    BeginShape();
    switch (kind) {
    case TArcKind::Arc:
        AppendArc(box, start, end, false);
        figureOpen_ = true;
        EndShape(false, true);
        break;
    case TArcKind::ArcTo: {
        StartFigure(state_.current);
        AppendArc(box, start, end, true);
        double x = 0, y = 0;
        if (cairo_has_current_point(cr_))
            cairo_get_current_point(cr_, &x, &y);
        state_.current = TPointD{x, y};
        EndShape(false, true);
        break;
    }
    case TArcKind::Chord:
        AppendArc(box, start, end, false);
        cairo_close_path(cr_);
        figureOpen_ = false;
        EndShape(true, true);
        break;
    case TArcKind::Pie:
        cairo_move_to(cr_, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
        AppendArc(box, start, end, true);
        cairo_close_path(cr_);
        figureOpen_ = false;
        EndShape(true, true);
        break;
    }
}

void TGdiCanvas::AngleArc(TPointD c, double radius, double startDeg, double sweepDeg)
{
    if (!UseLogical() || !std::isfinite(startDeg) || !std::isfinite(sweepDeg) || std::fabs(sweepDeg) > 36000)
        return;
    // Angles turn counter-clockwise on a y-down page: the parameter falls.
    const double t0 = -startDeg * kPi / 180, t1 = -(startDeg + sweepDeg) * kPi / 180;
    BeginShape();
    StartFigure(state_.current);
    cairo_line_to(cr_, c.x + radius * std::cos(t0), c.y + radius * std::sin(t0));
    if (t1 != t0)
        ParametricArc(cr_, c.x, c.y, radius, radius, t0, t1);
    state_.current = TPointD{c.x + radius * std::cos(t1), c.y + radius * std::sin(t1)};
    EndShape(false, true);
}

void TGdiCanvas::SetPixel(TPointD p, TColor color)
{
    if (inPath_ || !UseLogical())
        return;
    double x = p.x, y = p.y;
    cairo_user_to_device(cr_, &x, &y);
    UseOutput();
    cairo_new_path(cr_);
    cairo_rectangle(cr_, std::floor(x), std::floor(y), 1, 1);
    ApplySource(color);
    cairo_fill(cr_);
}

}  // namespace kobalto::mf
