#include "graphics/metafile/GdiCanvas.h"

#include <algorithm>
#include <cmath>

namespace kobalto::mf {

namespace {

bool Finite(const cairo_matrix_t& m)
{
    return std::isfinite(m.xx) && std::isfinite(m.yx) && std::isfinite(m.xy) && std::isfinite(m.yy) &&
           std::isfinite(m.x0) && std::isfinite(m.y0);
}

}  // namespace

TGdiCanvas::TGdiCanvas(cairo_t* cr, const cairo_matrix_t& deviceToOutput, double devicePxPerMmX,
                       double devicePxPerMmY, bool wmfWindow)
    : cr_(cr), deviceToOutput_(deviceToOutput), pxPerMmX_(devicePxPerMmX), pxPerMmY_(devicePxPerMmY),
      wmfWindow_(wmfWindow)
{
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    // Curves flatten coarser than Cairo's default: a metafile may hold many.
    cairo_set_tolerance(cr_, 0.25);
}

TGdiCanvas::~TGdiCanvas()
{
    for (size_t i = 0; i < saved_.size(); ++i)
        cairo_restore(cr_);
    if (path_)
        cairo_path_destroy(path_);
}

cairo_matrix_t TGdiCanvas::Page() const
{
    const TDcState& s = state_;
    double sx = 1, sy = 1;
    const int mode = wmfWindow_ ? 8 : s.mapMode;
    switch (mode) {
    case 2: sx = pxPerMmX_ * 0.1, sy = -pxPerMmY_ * 0.1; break;        // 0.1 mm
    case 3: sx = pxPerMmX_ * 0.01, sy = -pxPerMmY_ * 0.01; break;      // 0.01 mm
    case 4: sx = pxPerMmX_ * 0.254, sy = -pxPerMmY_ * 0.254; break;    // 0.01 inch
    case 5: sx = pxPerMmX_ * 0.0254, sy = -pxPerMmY_ * 0.0254; break;  // 0.001 inch
    case 6: sx = pxPerMmX_ * 25.4 / 1440, sy = -pxPerMmY_ * 25.4 / 1440; break;  // twips
    case 7:
    case 8:
        sx = s.winExtX != 0 ? s.vpExtX / s.winExtX : NAN;
        sy = s.winExtY != 0 ? s.vpExtY / s.winExtY : NAN;
        if (mode == 7 && std::isfinite(sx) && std::isfinite(sy)) {
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    default: break;
    }
    cairo_matrix_t page;
    cairo_matrix_init(&page, sx, 0, 0, sy, s.vpOrgX - s.winOrgX * sx, s.vpOrgY - s.winOrgY * sy);
    return page;
}

bool TGdiCanvas::UseLogical()
{
    const cairo_matrix_t page = Page();
    cairo_matrix_t worldPage, total;
    cairo_matrix_multiply(&worldPage, &state_.world, &page);
    cairo_matrix_multiply(&total, &worldPage, &deviceToOutput_);
    cairo_matrix_t inverse = total;
    if (!Finite(total) || cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS || !Finite(inverse))
        return false;
    cairo_set_matrix(cr_, &total);
    return true;
}

void TGdiCanvas::UseOutput()
{
    cairo_identity_matrix(cr_);
}

double TGdiCanvas::OutputScale() const
{
    const cairo_matrix_t page = Page();
    cairo_matrix_t worldPage, total;
    cairo_matrix_multiply(&worldPage, &state_.world, &page);
    cairo_matrix_multiply(&total, &worldPage, &deviceToOutput_);
    const double s = std::sqrt(std::fabs(total.xx * total.yy - total.xy * total.yx));
    return std::isfinite(s) ? s : 0;
}

void TGdiCanvas::SetMapMode(int mode)
{
    if (mode < 1 || mode > 8)
        return;
    state_.mapMode = mode;
    if (mode < 7) {
        state_.winExtX = state_.winExtY = state_.vpExtX = state_.vpExtY = 1;
    }
}

void TGdiCanvas::SetWindowOrg(double x, double y)
{
    state_.winOrgX = x;
    state_.winOrgY = y;
}

void TGdiCanvas::SetWindowExt(double x, double y)
{
    // Extents count only where the mapping mode lets them; zero is refused.
    if (x == 0 || y == 0 || (!wmfWindow_ && state_.mapMode < 7))
        return;
    state_.winExtX = x;
    state_.winExtY = y;
}

void TGdiCanvas::SetViewportOrg(double x, double y)
{
    state_.vpOrgX = x;
    state_.vpOrgY = y;
}

void TGdiCanvas::SetViewportExt(double x, double y)
{
    if (x == 0 || y == 0 || state_.mapMode < 7)
        return;
    state_.vpExtX = x;
    state_.vpExtY = y;
}

void TGdiCanvas::SetWorldTransform(const cairo_matrix_t& m)
{
    if (Finite(m))
        state_.world = m;
}

void TGdiCanvas::ModifyWorldTransform(const cairo_matrix_t& m, uint32_t mode)
{
    cairo_matrix_t result;
    switch (mode) {
    case 1: cairo_matrix_init_identity(&result); break;
    case 2: cairo_matrix_multiply(&result, &m, &state_.world); break;  // m first
    case 3: cairo_matrix_multiply(&result, &state_.world, &m); break;  // m last
    case 4: result = m; break;
    default: return;
    }
    if (Finite(result))
        state_.world = result;
}

void TGdiCanvas::Save()
{
    // Deeper than any drawing program nests: further levels are refused.
    if (saved_.size() >= 4096)
        return;
    saved_.push_back(state_);
    cairo_save(cr_);
}

void TGdiCanvas::Restore(int which)
{
    const int64_t depth = static_cast<int64_t>(saved_.size());
    const int64_t target = which < 0 ? depth + which : static_cast<int64_t>(which) - 1;
    if (which == 0 || target < 0 || target >= depth)
        return;
    while (static_cast<int64_t>(saved_.size()) > target + 1) {
        saved_.pop_back();
        cairo_restore(cr_);
    }
    state_ = saved_.back();
    saved_.pop_back();
    cairo_restore(cr_);
}

void TGdiCanvas::Select(const TGdiObject& object)
{
    switch (object.kind) {
    case TGdiObject::Kind::Pen: state_.pen = object.pen; break;
    case TGdiObject::Kind::Brush: state_.brush = object.brush; break;
    case TGdiObject::Kind::Font: state_.font = object.font; break;
    default: break;
    }
}

// Keeps the path of an open bracket across operations that need Cairo's
// current path for themselves.
struct TGdiCanvasPathKeeper {
    TGdiCanvasPathKeeper(cairo_t* cr, bool keep) : cr_(cr)
    {
        if (!keep)
            return;
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        path_ = cairo_copy_path(cr_);
        cairo_restore(cr_);
        cairo_new_path(cr_);
    }
    ~TGdiCanvasPathKeeper()
    {
        if (!path_)
            return;
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_new_path(cr_);
        cairo_append_path(cr_, path_);
        cairo_restore(cr_);
        cairo_path_destroy(path_);
    }
    cairo_t* cr_;
    cairo_path_t* path_ = nullptr;
};

void TGdiCanvas::ClipWith(int mode, cairo_fill_rule_t rule)
{
    cairo_set_fill_rule(cr_, rule);
    switch (mode) {
    case 5:  // copy
        cairo_reset_clip(cr_);
        cairo_clip(cr_);
        break;
    case 1:  // and
        cairo_clip(cr_);
        break;
    case 4: {  // difference: the region cut out of everything
        double x0, y0, x1, y1;
        cairo_save(cr_);
        UseOutput();
        cairo_clip_extents(cr_, &x0, &y0, &x1, &y1);
        cairo_rectangle(cr_, x0 - 1, y0 - 1, x1 - x0 + 2, y1 - y0 + 2);
        cairo_restore(cr_);
        cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr_);
        break;
    }
    default:  // union and exclusive-or only ever widen: drawing stays unclipped
        cairo_new_path(cr_);
        break;
    }
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
}

void TGdiCanvas::IntersectClipRect(const TRect& r)
{
    TGdiCanvasPathKeeper keep(cr_, inPath_);
    if (!UseLogical())
        return;
    cairo_new_path(cr_);
    cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ClipWith(1, CAIRO_FILL_RULE_WINDING);
}

void TGdiCanvas::ExcludeClipRect(const TRect& r)
{
    TGdiCanvasPathKeeper keep(cr_, inPath_);
    if (!UseLogical())
        return;
    cairo_new_path(cr_);
    cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ClipWith(4, CAIRO_FILL_RULE_WINDING);
}

void TGdiCanvas::AppendRects(const std::vector<TRect>& rects, bool device)
{
    if (device)
        cairo_set_matrix(cr_, &deviceToOutput_);
    for (const TRect& r : rects)
        cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TGdiCanvas::SelectClipRegion(const std::vector<TRect>& rects, int mode, bool device)
{
    TGdiCanvasPathKeeper keep(cr_, inPath_);
    if (mode == 5 && rects.empty()) {
        cairo_reset_clip(cr_);
        return;
    }
    if (!device && !UseLogical())
        return;
    cairo_new_path(cr_);
    AppendRects(rects, device);
    ClipWith(mode, CAIRO_FILL_RULE_WINDING);
}

void TGdiCanvas::FillRegion(const std::vector<TRect>& rects, const TBrush& brush, bool device)
{
    TGdiCanvasPathKeeper keep(cr_, inPath_);
    if (!device && !UseLogical())
        return;
    cairo_new_path(cr_);
    AppendRects(rects, device);
    UseOutput();
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
    if (ApplyBrush(brush))
        cairo_fill(cr_);
    cairo_new_path(cr_);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
}

void TGdiCanvas::FrameRegion(const std::vector<TRect>& rects, const TBrush& brush, double w, double h,
                             bool device)
{
    TGdiCanvasPathKeeper keep(cr_, inPath_);
    if (!UseLogical())
        return;
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    const double lw = std::max(1.0, std::fabs((w + h) / 2 * std::sqrt(std::fabs(m.xx * m.yy - m.xy * m.yx))));
    cairo_new_path(cr_);
    AppendRects(rects, device);
    UseOutput();
    cairo_set_line_width(cr_, lw);
    if (ApplyBrush(brush))
        cairo_stroke(cr_);
    cairo_new_path(cr_);
}

// Paths.

void TGdiCanvas::BeginPath()
{
    if (path_) {
        cairo_path_destroy(path_);
        path_ = nullptr;
    }
    cairo_new_path(cr_);
    inPath_ = true;
    figureOpen_ = false;
}

void TGdiCanvas::EndPath()
{
    if (!inPath_)
        return;
    inPath_ = false;
    UseOutput();
    path_ = cairo_copy_path(cr_);
    cairo_new_path(cr_);
}

void TGdiCanvas::AbortPath()
{
    inPath_ = false;
    cairo_new_path(cr_);
    if (path_) {
        cairo_path_destroy(path_);
        path_ = nullptr;
    }
}

void TGdiCanvas::CloseFigure()
{
    if (inPath_ && cairo_has_current_point(cr_))
        cairo_close_path(cr_);
    figureOpen_ = false;
}

void TGdiCanvas::PaintPath(bool fill, bool stroke)
{
    if (!path_ || inPath_)
        return;
    UseOutput();
    cairo_new_path(cr_);
    cairo_append_path(cr_, path_);
    if (fill)
        FillCurrent();
    if (stroke)
        StrokeCurrent();
    cairo_new_path(cr_);
    AbortPath();
}

void TGdiCanvas::FillPath() { PaintPath(true, false); }

void TGdiCanvas::StrokePath() { PaintPath(false, true); }

void TGdiCanvas::StrokeAndFillPath() { PaintPath(true, true); }

void TGdiCanvas::SelectClipPath(int mode)
{
    if (!path_ || inPath_)
        return;
    UseOutput();
    cairo_new_path(cr_);
    cairo_append_path(cr_, path_);
    ClipWith(mode, state_.polyFillMode == 2 ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    AbortPath();
}

}  // namespace kobalto::mf
