#include <cstring>
#include <optional>
#include <vector>

#include "base/Exceptions.h"
#include "base/TByteReader.h"
#include "graphics/metafile/MetafileDib.h"
#include "graphics/metafile/MetafilePlayers.h"
#include "graphics/metafile/MetafileRecords.h"

namespace kobalto::mf {

namespace {

// Handle numbers beyond this are refused rather than given a table slot.
constexpr uint32_t kMaxHandles = 65536;

float F32(TByteReader& r)
{
    const uint32_t bits = r.U32LE();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

TRect RectL(TByteReader& r)
{
    TRect x;
    x.left = r.I32LE(), x.top = r.I32LE(), x.right = r.I32LE(), x.bottom = r.I32LE();
    return x;
}

TPointD PointL(TByteReader& r)
{
    const double x = r.I32LE();
    return TPointD{x, static_cast<double>(r.I32LE())};
}

TPointD PointS(TByteReader& r)
{
    const double x = static_cast<int16_t>(r.U16LE());
    return TPointD{x, static_cast<double>(static_cast<int16_t>(r.U16LE()))};
}

std::vector<TPointD> Points(TByteReader& r, uint64_t count, bool small)
{
    if (count > r.Remaining() / (small ? 4 : 8))
        r.Truncated();
    std::vector<TPointD> pts(static_cast<size_t>(count));
    for (TPointD& p : pts)
        p = small ? PointS(r) : PointL(r);
    return pts;
}

std::vector<std::vector<TPointD>> PolyPoints(TByteReader& r, bool small)
{
    r.Skip(16);
    const uint32_t polys = r.U32LE();
    const uint32_t total = r.U32LE();
    if (polys > r.Remaining() / 4)
        r.Truncated();
    std::vector<uint32_t> counts(polys);
    uint64_t sum = 0;
    for (uint32_t& c : counts)
        sum += c = r.U32LE();
    if (sum != total)
        r.Truncated();
    std::vector<TPointD> all = Points(r, total, small);
    std::vector<std::vector<TPointD>> out;
    size_t at = 0;
    for (uint32_t c : counts) {
        out.emplace_back(all.begin() + at, all.begin() + at + c);
        at += c;
    }
    return out;
}

std::vector<TRect> Region(TByteReader& r, uint32_t bytes)
{
    TByteReader d = r.Sub(bytes);
    d.Skip(8);
    const uint32_t count = d.U32LE();
    d.Skip(4 + 16);
    if (count > d.Remaining() / 16)
        d.Truncated();
    std::vector<TRect> rects(count);
    for (TRect& x : rects)
        x = RectL(d);
    return rects;
}

TPen PenFromStyle(uint32_t style, double width, TColor color)
{
    TPen pen;
    const uint32_t kind = style & 0xF;
    pen.style = kind == 8 ? PS_DOT : kind > 5 ? PS_SOLID : kind;  // alternate; user, inside frame
    pen.endCap = (style >> 8) & 0xF;
    pen.join = (style >> 12) & 0xF;
    // A cosmetic pen is one pixel wide whatever it says.
    pen.width = (style & 0xF0000) ? width : 0;
    if (!(style & 0xF0000) && width > 1)
        pen.width = width;
    pen.color = color;
    return pen;
}

class TEmfPlayer {
public:
    TEmfPlayer(std::span<const uint8_t> bytes, TGdiCanvas& canvas) : bytes_(bytes), c_(canvas) {}

    void Record(uint32_t type, std::span<const uint8_t> rec);

private:
    TDib Dib(std::span<const uint8_t> rec, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits)
    {
        if (offBmi > rec.size() || cbBmi > rec.size() - offBmi || offBits > rec.size() ||
            cbBits > rec.size() - offBits)
            return {};
        return ReadDib(rec.subspan(offBmi, cbBmi), rec.subspan(offBits, cbBits));
    }
    void Put(uint32_t index, TGdiObject object)
    {
        if (index == 0 || index >= kMaxHandles)
            return;
        if (index >= objects_.size())
            objects_.resize(index + 1);
        objects_[index] = std::move(object);
    }
    const TGdiObject* Get(uint32_t index)
    {
        if (index & 0x80000000u) {
            return StockObject(index, stock_) ? &stock_ : nullptr;
        }
        if (index < objects_.size() && objects_[index])
            return &*objects_[index];
        return nullptr;
    }
    void BitmapRecord(uint32_t type, TByteReader& r, std::span<const uint8_t> rec);
    void TextRecord(bool wide, TByteReader& r, std::span<const uint8_t> rec);

    std::span<const uint8_t> bytes_;
    TGdiCanvas& c_;
    std::vector<std::optional<TGdiObject>> objects_;
    TGdiObject stock_;
};

void TEmfPlayer::BitmapRecord(uint32_t type, TByteReader& r, std::span<const uint8_t> rec)
{
    TBlit b;
    r.Skip(16);
    uint32_t offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
    bool fromBottom = false;
    if (type == EMR_STRETCHDIBITS || type == EMR_SETDIBITSTODEVICE) {
        b.x = r.I32LE(), b.y = r.I32LE();
        b.srcX = r.I32LE(), b.srcY = r.I32LE(), b.srcW = r.I32LE(), b.srcH = r.I32LE();
        offBmi = r.U32LE(), cbBmi = r.U32LE(), offBits = r.U32LE(), cbBits = r.U32LE();
        r.Skip(4);  // colour usage
        if (type == EMR_STRETCHDIBITS) {
            b.rop = r.U32LE();
            b.w = r.I32LE(), b.h = r.I32LE();
        } else {
            b.w = b.srcW, b.h = b.srcH;
        }
        fromBottom = true;
    } else {
        b.x = r.I32LE(), b.y = r.I32LE(), b.w = r.I32LE(), b.h = r.I32LE();
        const uint32_t ropOrBlend = r.U32LE();
        b.srcX = r.I32LE(), b.srcY = r.I32LE();
        r.Skip(24 + 4);  // source transform, background colour
        r.Skip(4);       // colour usage
        offBmi = r.U32LE(), cbBmi = r.U32LE(), offBits = r.U32LE(), cbBits = r.U32LE();
        b.srcW = b.w, b.srcH = b.h;
        if (type != EMR_BITBLT)
            b.srcW = r.I32LE(), b.srcH = r.I32LE();
        if (type == EMR_ALPHABLEND) {
            b.rop = 0x00CC0020;
            b.alpha = ropOrBlend >> 16 & 0xFF;
            b.perPixelAlpha = (ropOrBlend >> 24 & 0xFF) != 0;
        } else if (type == EMR_TRANSPARENTBLT) {
            b.rop = 0x00CC0020;
            b.transparentKey = true;
            b.key = ColorRef(ropOrBlend);
        } else {
            b.rop = ropOrBlend;
        }
    }
    TDib dib;
    if (cbBmi > 0) {
        dib = Dib(rec, offBmi, cbBmi, offBits, cbBits);
        if (!dib.bitmap)
            return;
        b.source = dib.bitmap.get();
        if (fromBottom && dib.bottomUp)
            b.srcY = dib.bitmap->Height() - b.srcY - b.srcH;
    }
    c_.Blit(b);
}

void TEmfPlayer::TextRecord(bool wide, TByteReader& r, std::span<const uint8_t> rec)
{
    r.Skip(16 + 4 + 8);  // bounds, graphics mode, scales
    TTextRun run;
    run.origin = PointL(r);
    const uint32_t chars = r.U32LE();
    const uint32_t offString = r.U32LE();
    run.options = r.U32LE();
    run.rect = RectL(r);
    run.hasRect = true;
    const uint32_t offDx = r.U32LE();
    // Glyph numbers of a font we do not have draw nothing sensible.
    if (run.options & 0x10)
        return;
    const uint64_t unit = wide ? 2 : 1;
    if (offString > rec.size() || chars > (rec.size() - offString) / unit)
        return;
    TByteReader s(rec.subspan(offString, static_cast<size_t>(chars * unit)), "EMF");
    for (uint32_t i = 0; i < chars; ++i) {
        char32_t ch = wide ? s.U16LE() : s.U8();
        if (wide && ch >= 0xD800 && ch < 0xDC00 && i + 1 < chars) {
            const char32_t low = s.U16LE();
            ++i;
            ch = 0x10000 + ((ch - 0xD800) << 10) + (low - 0xDC00);
            run.text.push_back(ch);
            continue;
        }
        run.text.push_back(ch);
    }
    const uint64_t dxStep = (run.options & 0x2000) ? 8 : 4;  // with vertical advances
    if (offDx != 0 && offDx <= rec.size() && chars <= (rec.size() - offDx) / dxStep) {
        TByteReader d(rec.subspan(offDx, static_cast<size_t>(chars * dxStep)), "EMF");
        // A surrogate pair has two advances: they add up.
        std::vector<double> dx(chars);
        for (double& v : dx) {
            v = d.I32LE();
            if (dxStep == 8)
                d.Skip(4);
        }
        if (run.text.size() == chars) {
            run.dx = std::move(dx);
        }
    }
    c_.Text(run);
}

void TEmfPlayer::Record(uint32_t type, std::span<const uint8_t> rec)
{
    TByteReader r(rec, "EMF");
    r.Skip(8);
    TDcState& st = c_.State();
    switch (type) {
    case EMR_POLYBEZIER: case EMR_POLYBEZIER16:
    case EMR_POLYGON: case EMR_POLYGON16:
    case EMR_POLYLINE: case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO: case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO: case EMR_POLYLINETO16: {
        const bool small = type >= EMR_POLYBEZIER16;
        const uint32_t kind = small ? type - EMR_POLYBEZIER16 + EMR_POLYBEZIER : type;
        r.Skip(16);
        const std::vector<TPointD> pts = Points(r, r.U32LE(), small);
        if (kind == EMR_POLYBEZIER || kind == EMR_POLYBEZIERTO)
            c_.PolyBezier(pts, kind == EMR_POLYBEZIERTO);
        else if (kind == EMR_POLYGON)
            c_.PolyPolygon({pts});
        else
            c_.Polyline(pts, kind == EMR_POLYLINETO);
        break;
    }
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYLINE16:
        c_.PolyPolyline(PolyPoints(r, type == EMR_POLYPOLYLINE16));
        break;
    case EMR_POLYPOLYGON: case EMR_POLYPOLYGON16:
        c_.PolyPolygon(PolyPoints(r, type == EMR_POLYPOLYGON16));
        break;
    case EMR_POLYDRAW: case EMR_POLYDRAW16: {
        r.Skip(16);
        const uint32_t n = r.U32LE();
        const std::vector<TPointD> pts = Points(r, n, type == EMR_POLYDRAW16);
        const auto types = r.Take(n);
        c_.PolyDraw(pts, types);
        break;
    }
    case EMR_SETWINDOWEXTEX: { const double x = r.I32LE(); c_.SetWindowExt(x, r.I32LE()); break; }
    case EMR_SETWINDOWORGEX: { const double x = r.I32LE(); c_.SetWindowOrg(x, r.I32LE()); break; }
    case EMR_SETVIEWPORTEXTEX: { const double x = r.I32LE(); c_.SetViewportExt(x, r.I32LE()); break; }
    case EMR_SETVIEWPORTORGEX: { const double x = r.I32LE(); c_.SetViewportOrg(x, r.I32LE()); break; }
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
        const double xn = r.I32LE(), xd = r.I32LE(), yn = r.I32LE(), yd = r.I32LE();
        if (xd == 0 || yd == 0)
            break;
        if (type == EMR_SCALEWINDOWEXTEX)
            c_.SetWindowExt(st.winExtX * xn / xd, st.winExtY * yn / yd);
        else
            c_.SetViewportExt(st.vpExtX * xn / xd, st.vpExtY * yn / yd);
        break;
    }
    case EMR_SETPIXELV: { const TPointD p = PointL(r); c_.SetPixel(p, ColorRef(r.U32LE())); break; }
    case EMR_SETMAPMODE: c_.SetMapMode(static_cast<int>(r.U32LE())); break;
    case EMR_SETBKMODE: st.bkMode = static_cast<int>(r.U32LE()); break;
    case EMR_SETPOLYFILLMODE: st.polyFillMode = static_cast<int>(r.U32LE()); break;
    case EMR_SETROP2: st.rop2 = static_cast<int>(r.U32LE()); break;
    case EMR_SETTEXTALIGN: st.textAlign = r.U32LE(); break;
    case EMR_SETTEXTCOLOR: st.textColor = ColorRef(r.U32LE()); break;
    case EMR_SETBKCOLOR: st.bkColor = ColorRef(r.U32LE()); break;
    case EMR_MOVETOEX: c_.MoveTo(PointL(r)); break;
    case EMR_LINETO: c_.LineTo(PointL(r)); break;
    case EMR_EXCLUDECLIPRECT: c_.ExcludeClipRect(RectL(r)); break;
    case EMR_INTERSECTCLIPRECT: c_.IntersectClipRect(RectL(r)); break;
    case EMR_SAVEDC: c_.Save(); break;
    case EMR_RESTOREDC: c_.Restore(r.I32LE()); break;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM: {
        cairo_matrix_t m;
        m.xx = F32(r), m.yx = F32(r), m.xy = F32(r), m.yy = F32(r), m.x0 = F32(r), m.y0 = F32(r);
        if (type == EMR_SETWORLDTRANSFORM)
            c_.SetWorldTransform(m);
        else
            c_.ModifyWorldTransform(m, r.U32LE());
        break;
    }
    case EMR_SELECTOBJECT:
        if (const TGdiObject* o = Get(r.U32LE()))
            c_.Select(*o);
        break;
    case EMR_DELETEOBJECT: {
        const uint32_t index = r.U32LE();
        if (index < objects_.size())
            objects_[index].reset();
        break;
    }
    case EMR_CREATEPEN: {
        const uint32_t index = r.U32LE();
        const uint32_t style = r.U32LE();
        const double width = r.I32LE();
        r.Skip(4);
        TGdiObject o;
        o.kind = TGdiObject::Kind::Pen;
        o.pen = PenFromStyle(style, width, ColorRef(r.U32LE()));
        Put(index, o);
        break;
    }
    case EMR_EXTCREATEPEN: {
        const uint32_t index = r.U32LE();
        r.Skip(16);
        const uint32_t style = r.U32LE();
        const double width = r.U32LE();
        const uint32_t brushStyle = r.U32LE();
        TGdiObject o;
        o.kind = TGdiObject::Kind::Pen;
        o.pen = PenFromStyle(style, width, ColorRef(r.U32LE()));
        if (brushStyle == BS_NULL)
            o.pen.style = PS_NULL;
        Put(index, o);
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const uint32_t index = r.U32LE();
        TGdiObject o;
        o.kind = TGdiObject::Kind::Brush;
        o.brush.style = r.U32LE();
        o.brush.color = ColorRef(r.U32LE());
        o.brush.hatch = r.U32LE();
        if (o.brush.style != BS_SOLID && o.brush.style != BS_NULL && o.brush.style != BS_HATCHED)
            o.brush.style = BS_SOLID;
        Put(index, o);
        break;
    }
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
        const uint32_t index = r.U32LE();
        r.Skip(4);
        const uint32_t offBmi = r.U32LE(), cbBmi = r.U32LE(), offBits = r.U32LE(), cbBits = r.U32LE();
        TGdiObject o;
        o.kind = TGdiObject::Kind::Brush;
        o.brush.style = BS_DIBPATTERNPT;
        o.brush.pattern = Dib(rec, offBmi, cbBmi, offBits, cbBits).bitmap;
        if (!o.brush.pattern)
            o.brush = TBrush{BS_SOLID, TColor{128, 128, 128}, 0, nullptr};
        Put(index, o);
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const uint32_t index = r.U32LE();
        TGdiObject o;
        o.kind = TGdiObject::Kind::Font;
        TFont& f = o.font;
        f.height = r.I32LE(), f.width = r.I32LE(), f.escapement = r.I32LE();
        r.Skip(4);
        f.weight = r.I32LE();
        f.italic = r.U8(), f.underline = r.U8(), f.strikeOut = r.U8();
        f.symbol = r.U8() == 2;
        r.Skip(4);
        for (int i = 0; i < 32; ++i) {
            const uint16_t ch = r.U16LE();
            if (ch == 0)
                break;
            if (ch < 0x80)
                f.face += static_cast<char>(ch);
        }
        Put(index, o);
        break;
    }
    case EMR_ANGLEARC: {
        const TPointD centre = PointL(r);
        const double radius = r.U32LE();
        const double start = F32(r);
        c_.AngleArc(centre, radius, start, F32(r));
        break;
    }
    case EMR_ELLIPSE: c_.Ellipse(RectL(r)); break;
    case EMR_RECTANGLE: c_.Rectangle(RectL(r)); break;
    case EMR_ROUNDRECT: { const TRect box = RectL(r); const double w = r.I32LE(); c_.RoundRect(box, w, r.I32LE()); break; }
    case EMR_ARC: case EMR_ARCTO: case EMR_CHORD: case EMR_PIE: {
        const TRect box = RectL(r);
        const TPointD a = PointL(r), b = PointL(r);
        const TArcKind kind = type == EMR_ARC ? TArcKind::Arc : type == EMR_ARCTO ? TArcKind::ArcTo
                              : type == EMR_CHORD ? TArcKind::Chord : TArcKind::Pie;
        c_.ArcShape(kind, box, a, b);
        break;
    }
    case EMR_SETARCDIRECTION: st.clockwise = r.U32LE() == 2; break;
    case EMR_BEGINPATH: c_.BeginPath(); break;
    case EMR_ENDPATH: c_.EndPath(); break;
    case EMR_CLOSEFIGURE: c_.CloseFigure(); break;
    case EMR_FILLPATH: c_.FillPath(); break;
    case EMR_STROKEANDFILLPATH: c_.StrokeAndFillPath(); break;
    case EMR_STROKEPATH: c_.StrokePath(); break;
    case EMR_ABORTPATH: c_.AbortPath(); break;
    case EMR_SELECTCLIPPATH: c_.SelectClipPath(static_cast<int>(r.U32LE())); break;
    case EMR_FILLRGN: case EMR_FRAMERGN: {
        r.Skip(16);
        const uint32_t bytes = r.U32LE();
        const TGdiObject* brush = Get(r.U32LE());
        double w = 1, h = 1;
        if (type == EMR_FRAMERGN)
            w = r.I32LE(), h = r.I32LE();
        const std::vector<TRect> rects = Region(r, bytes);
        if (!brush || brush->kind != TGdiObject::Kind::Brush)
            break;
        if (type == EMR_FILLRGN)
            c_.FillRegion(rects, brush->brush, true);
        else
            c_.FrameRegion(rects, brush->brush, w, h, true);
        break;
    }
    case EMR_PAINTRGN: {
        r.Skip(16);
        const uint32_t bytes = r.U32LE();
        c_.FillRegion(Region(r, bytes), st.brush, true);
        break;
    }
    case EMR_EXTSELECTCLIPRGN: {
        const uint32_t bytes = r.U32LE();
        const int mode = static_cast<int>(r.U32LE());
        c_.SelectClipRegion(bytes >= 32 ? Region(r, bytes) : std::vector<TRect>{}, mode, true);
        break;
    }
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_SETDIBITSTODEVICE: case EMR_STRETCHDIBITS:
    case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT:
        BitmapRecord(type, r, rec);
        break;
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW:
        TextRecord(type == EMR_EXTTEXTOUTW, r, rec);
        break;
    default:
        // Comments (EMF+ included), palettes, colour management and the
        // rest change nothing a picture on white shows.
        break;
    }
}

}  // namespace

void PlayEmf(std::span<const uint8_t> bytes, const TMetafileLayout& layout, TGdiCanvas& canvas)
{
    TEmfPlayer player(bytes, canvas);
    TByteReader r(bytes.first(layout.recordsEnd), "EMF");
    size_t pos = layout.recordsBegin;
    while (layout.recordsEnd - pos >= 8) {
        r.Seek(pos);
        const uint32_t type = r.U32LE();
        const uint32_t size = r.U32LE();
        const auto rec = bytes.subspan(pos, size);  // walked when the layout was parsed
        pos += size;
        if (type == EMR_EOF)
            break;
        try {
            player.Record(type, rec);
        } catch (const Exception&) {
            // Fields that run past their record: the record is skipped.
        }
    }
}

}  // namespace kobalto::mf
