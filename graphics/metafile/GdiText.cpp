// Text of the drawing context: glyphs upright on the output, sized and
// placed by the logical mapping, in the named face or the fallback one.
#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/metafile/GdiCanvas.h"

namespace kobalto::mf {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Beyond this an em would cost more than any picture shows.
constexpr double kMaxEmPixels = 4096;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The symbol character set's letters and common signs as Unicode.
char32_t FromSymbolSet(char32_t c)
{
    static const char16_t kUpper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    static const char16_t kLower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    if (c >= 0xF020 && c <= 0xF0FF)  // the same codes where text is wide
        c -= 0xF000;
    if (c >= 'A' && c <= 'Z')
        return kUpper[c - 'A'];
    if (c >= 'a' && c <= 'z')
        return kLower[c - 'a'];
    switch (c) {
    case 0x2D: return U'−';
    case 0xA3: return U'≤';
    case 0xA5: return U'∞';
    case 0xAE: return U'→';
    case 0xB1: return U'±';
    case 0xB3: return U'≥';
    case 0xB4: return U'×';
    case 0xB6: return U'∂';
    case 0xB9: return U'≠';
    case 0xBB: return U'≈';
    case 0xD6: return U'√';
    case 0xD7: return U'⋅';
    case 0xE5: return U'∑';
    case 0xF2: return U'∫';
    default: return c;
    }
}

std::string Utf8(char32_t c)
{
    // Controls and lone surrogates show nothing.
    if (c < 0x20 || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
        return std::string();
    std::string s;
    AppendUtf8(s, c);
    return s;
}

}  // namespace

void TGdiCanvas::Text(const TTextRun& run)
{
    if (inPath_ || run.text.size() > 65536 || !UseLogical())
        return;
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    const double sx = std::hypot(m.xx, m.yx), sy = std::hypot(m.xy, m.yy);

    if (run.hasRect && (run.options & 2)) {  // opaque: the rectangle in the background colour
        cairo_new_path(cr_);
        cairo_rectangle(cr_, run.rect.left, run.rect.top, run.rect.right - run.rect.left,
                        run.rect.bottom - run.rect.top);
        UseOutput();
        cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
        const TColor& b = state_.bkColor;
        cairo_set_source_rgb(cr_, b.red / 255.0, b.green / 255.0, b.blue / 255.0);
        cairo_fill(cr_);
        if (!UseLogical())
            return;
    }
    if (run.text.empty())
        return;

    const bool updateCp = state_.textAlign & 1;
    const TPointD o = updateCp ? state_.current : run.origin;
    double ox = o.x, oy = o.y;
    cairo_user_to_device(cr_, &ox, &oy);

    const TFont& f = state_.font;
    UseOutput();
    cairo_save(cr_);
    if (run.hasRect && (run.options & 4)) {  // clipped to the rectangle
        if (UseLogical()) {
            cairo_new_path(cr_);
            cairo_rectangle(cr_, run.rect.left, run.rect.top, run.rect.right - run.rect.left,
                            run.rect.bottom - run.rect.top);
            cairo_clip(cr_);
        }
        UseOutput();
    }
    cairo_select_font_face(cr_, f.face.empty() ? "sans-serif" : f.face.c_str(),
                           f.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           f.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    double em = f.height == 0 ? 12 : std::fabs(f.height) * sy;
    if (f.height > 0) {
        // A positive height is the cell: ascent plus descent.
        cairo_set_font_size(cr_, std::min(em, kMaxEmPixels));
        cairo_font_extents_t fe;
        cairo_font_extents(cr_, &fe);
        if (fe.ascent + fe.descent > 0)
            em = em * em / (fe.ascent + fe.descent);
    }
    if (!std::isfinite(em) || em < 0.5 || em > kMaxEmPixels) {
        cairo_restore(cr_);
        return;
    }
    cairo_set_font_size(cr_, em);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);

    std::u32string text = run.text;
    if (f.symbol)
        for (char32_t& c : text)
            c = FromSymbolSet(c);
    std::string all;
    for (char32_t c : text)
        all += Utf8(c);
    double width = 0;
    const bool spaced = run.dx.size() >= run.text.size();
    if (spaced) {
        for (size_t i = 0; i < run.text.size(); ++i)
            width += run.dx[i] * sx;
    } else {
        cairo_text_extents_t te;
        cairo_text_extents(cr_, all.c_str(), &te);
        width = te.x_advance;
    }
    if (!std::isfinite(width)) {
        cairo_restore(cr_);
        return;
    }

    double x = 0, y = 0;
    switch (state_.textAlign & 6) {
    case 2: x = -width; break;     // right
    case 6: x = -width / 2; break; // centre
    default: break;
    }
    switch (state_.textAlign & 24) {
    case 8: y = -fe.descent; break;   // bottom
    case 24: break;                   // baseline
    default: y = fe.ascent; break;    // top
    }
    cairo_translate(cr_, ox, oy);
    cairo_rotate(cr_, -f.escapement / 10 * kPi / 180);
    if (state_.bkMode == 2 && !(run.options & 2)) {
        const TColor& b = state_.bkColor;
        cairo_set_source_rgb(cr_, b.red / 255.0, b.green / 255.0, b.blue / 255.0);
        cairo_rectangle(cr_, x, y - fe.ascent, width, fe.ascent + fe.descent);
        cairo_fill(cr_);
    }
    const TColor& t = state_.textColor;
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    cairo_set_source_rgb(cr_, t.red / 255.0, t.green / 255.0, t.blue / 255.0);
    if (spaced) {
        double pen = x;
        for (size_t i = 0; i < run.text.size(); ++i) {
            const std::string g = Utf8(text[i]);
            if (!g.empty()) {
                cairo_move_to(cr_, pen, y);
                cairo_show_text(cr_, g.c_str());
            }
            pen += run.dx[i] * sx;
        }
    } else {
        cairo_move_to(cr_, x, y);
        cairo_show_text(cr_, all.c_str());
    }
    const double line = std::max(1.0, em / 14);
    if (f.underline)
        cairo_rectangle(cr_, x, y + line, width, line);
    if (f.strikeOut)
        cairo_rectangle(cr_, x, y - fe.ascent / 3, width, line);
    cairo_fill(cr_);
    cairo_restore(cr_);
    if (updateCp && sx > 0)
        state_.current.x += width / sx;
}

}  // namespace kobalto::mf
