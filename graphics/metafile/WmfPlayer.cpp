#include <algorithm>
#include <optional>
#include <vector>

#include "base/Exceptions.h"
#include "base/TByteReader.h"
#include "graphics/metafile/MetafileDib.h"
#include "graphics/metafile/MetafilePlayers.h"
#include "graphics/metafile/MetafileRecords.h"

namespace kobalto::mf {

namespace {

double S16(TByteReader& r)
{
    return static_cast<int16_t>(r.U16LE());
}

// Rectangles come bottom, right, top, left.
TRect RectBRTL(TByteReader& r)
{
    TRect x;
    x.bottom = S16(r), x.right = S16(r), x.top = S16(r), x.left = S16(r);
    return x;
}

TPointD PointYX(TByteReader& r)
{
    const double y = S16(r);
    return TPointD{S16(r), y};
}

std::vector<TPointD> PointsXY(TByteReader& r, uint64_t count)
{
    if (count > r.Remaining() / 4)
        r.Truncated();
    std::vector<TPointD> pts(static_cast<size_t>(count));
    for (TPointD& p : pts) {
        p.x = S16(r);
        p.y = S16(r);
    }
    return pts;
}

uint32_t U32(TByteReader& r)
{
    const uint32_t lo = r.U16LE();
    return lo | uint32_t{r.U16LE()} << 16;
}

// Windows code page 1252 above 0x7F is close enough to Latin-1 for glyphs.
std::u32string Ansi(std::span<const uint8_t> s)
{
    std::u32string out;
    for (uint8_t c : s) {
        if (c == 0)
            break;
        out.push_back(c);
    }
    return out;
}

class TWmfPlayer {
public:
    TWmfPlayer(TGdiCanvas& canvas, uint32_t objects) : c_(canvas), objects_(objects) {}

    void Record(uint16_t function, std::span<const uint8_t> rec);

private:
    void Create(TGdiObject o)
    {
        // The lowest free slot, as the platform numbers them; slots below
        // firstFree_ are taken, so creating many objects stays linear.
        for (; firstFree_ < objects_.size(); ++firstFree_)
            if (!objects_[firstFree_]) {
                objects_[firstFree_++] = std::move(o);
                return;
            }
    }
    const TGdiObject* Get(uint32_t index)
    {
        return index < objects_.size() && objects_[index] ? &*objects_[index] : nullptr;
    }
    void Blit(uint16_t function, TByteReader& r, size_t words);
    std::vector<TRect> RegionOf(uint32_t index)
    {
        const TGdiObject* o = Get(index);
        return o && o->kind == TGdiObject::Kind::Region ? o->region : std::vector<TRect>{};
    }

    TGdiCanvas& c_;
    std::vector<std::optional<TGdiObject>> objects_;
    size_t firstFree_ = 0;
};

void TWmfPlayer::Blit(uint16_t function, TByteReader& r, size_t words)
{
    TBlit b;
    TDib dib;
    bool fromBottom = false;
    // The forms without a bitmap carry one more word and no bitmap.
    const bool bare = words == static_cast<size_t>((function >> 8) + 3);
    switch (function) {
    case META_PATBLT:
        b.rop = U32(r);
        b.h = S16(r), b.w = S16(r), b.y = S16(r), b.x = S16(r);
        break;
    case META_STRETCHDIB:
    case META_SETDIBTODEV: {
        if (function == META_STRETCHDIB) {
            b.rop = U32(r);
            r.Skip(2);
            b.srcH = S16(r), b.srcW = S16(r), b.srcY = S16(r), b.srcX = S16(r);
            b.h = S16(r), b.w = S16(r), b.y = S16(r), b.x = S16(r);
        } else {
            r.Skip(2 + 2 + 2);  // usage, scan count, start scan
            b.srcY = S16(r), b.srcX = S16(r);
            b.h = b.srcH = S16(r), b.w = b.srcW = S16(r);
            b.y = S16(r), b.x = S16(r);
        }
        dib = ReadPackedDib(r.Take(r.Remaining()));
        fromBottom = true;
        break;
    }
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_BITBLT:
    case META_STRETCHBLT: {
        const bool stretch = function == META_DIBSTRETCHBLT || function == META_STRETCHBLT;
        b.rop = U32(r);
        if (stretch)
            b.srcH = S16(r), b.srcW = S16(r);
        b.srcY = S16(r), b.srcX = S16(r);
        if (bare)
            r.Skip(2);
        b.h = S16(r), b.w = S16(r), b.y = S16(r), b.x = S16(r);
        if (!stretch)
            b.srcW = b.w, b.srcH = b.h;
        if (!bare) {
            // Device-dependent bitmaps of the oldest records are not drawn.
            if (function == META_BITBLT || function == META_STRETCHBLT)
                return;
            dib = ReadPackedDib(r.Take(r.Remaining()));
        }
        break;
    }
    default:
        return;
    }
    if (dib.bitmap) {
        b.source = dib.bitmap.get();
        if (fromBottom && dib.bottomUp)
            b.srcY = dib.bitmap->Height() - b.srcY - b.srcH;
    } else if (function != META_PATBLT && !bare) {
        return;
    }
    c_.Blit(b);
}

void TWmfPlayer::Record(uint16_t function, std::span<const uint8_t> rec)
{
    TByteReader r(rec, "WMF");
    const size_t words = rec.size() / 2;
    r.Skip(6);
    TDcState& st = c_.State();
    switch (function) {
    case META_SETBKCOLOR: st.bkColor = ColorRef(U32(r)); break;
    case META_SETTEXTCOLOR: st.textColor = ColorRef(U32(r)); break;
    case META_SETBKMODE: st.bkMode = r.U16LE(); break;
    case META_SETPOLYFILLMODE: st.polyFillMode = r.U16LE(); break;
    case META_SETROP2: st.rop2 = r.U16LE(); break;
    case META_SETTEXTALIGN: st.textAlign = r.U16LE(); break;
    case META_SETWINDOWORG: { const TPointD p = PointYX(r); c_.SetWindowOrg(p.x, p.y); break; }
    case META_SETWINDOWEXT: { const TPointD p = PointYX(r); c_.SetWindowExt(p.x, p.y); break; }
    case META_OFFSETWINDOWORG: {
        const TPointD p = PointYX(r);
        c_.SetWindowOrg(st.winOrgX + p.x, st.winOrgY + p.y);
        break;
    }
    case META_SCALEWINDOWEXT: {
        const double yd = S16(r), yn = S16(r), xd = S16(r), xn = S16(r);
        if (xd != 0 && yd != 0)
            c_.SetWindowExt(st.winExtX * xn / xd, st.winExtY * yn / yd);
        break;
    }
    case META_MOVETO: c_.MoveTo(PointYX(r)); break;
    case META_LINETO: c_.LineTo(PointYX(r)); break;
    case META_RECTANGLE: c_.Rectangle(RectBRTL(r)); break;
    case META_ELLIPSE: c_.Ellipse(RectBRTL(r)); break;
    case META_ROUNDRECT: {
        const double h = S16(r), w = S16(r);
        c_.RoundRect(RectBRTL(r), w, h);
        break;
    }
    case META_ARC: case META_PIE: case META_CHORD: {
        const TPointD end = PointYX(r), start = PointYX(r);
        const TRect box = RectBRTL(r);
        c_.ArcShape(function == META_ARC ? TArcKind::Arc : function == META_PIE ? TArcKind::Pie : TArcKind::Chord,
                    box, start, end);
        break;
    }
    case META_POLYGON: c_.PolyPolygon({PointsXY(r, r.U16LE())}); break;
    case META_POLYLINE: c_.Polyline(PointsXY(r, r.U16LE()), false); break;
    case META_POLYPOLYGON: {
        const uint16_t n = r.U16LE();
        if (n > r.Remaining() / 2)
            r.Truncated();
        std::vector<uint16_t> counts(n);
        for (uint16_t& k : counts)
            k = r.U16LE();
        std::vector<std::vector<TPointD>> polys;
        for (uint16_t k : counts)
            polys.push_back(PointsXY(r, k));
        c_.PolyPolygon(polys);
        break;
    }
    case META_SETPIXEL: {
        const TColor color = ColorRef(U32(r));
        c_.SetPixel(PointYX(r), color);
        break;
    }
    case META_EXCLUDECLIPRECT: c_.ExcludeClipRect(RectBRTL(r)); break;
    case META_INTERSECTCLIPRECT: c_.IntersectClipRect(RectBRTL(r)); break;
    case META_SAVEDC: c_.Save(); break;
    case META_RESTOREDC: c_.Restore(static_cast<int16_t>(r.U16LE())); break;
    case META_SELECTOBJECT: {
        const TGdiObject* o = Get(r.U16LE());
        if (o && o->kind == TGdiObject::Kind::Region)
            c_.SelectClipRegion(o->region, 5, false);
        else if (o)
            c_.Select(*o);
        break;
    }
    case META_SELECTCLIPREGION: {
        const uint16_t index = r.U16LE();
        c_.SelectClipRegion(RegionOf(index), 5, false);
        break;
    }
    case META_DELETEOBJECT: {
        const uint16_t index = r.U16LE();
        if (index < objects_.size()) {
            objects_[index].reset();
            firstFree_ = std::min<size_t>(firstFree_, index);
        }
        break;
    }
    case META_CREATEPENINDIRECT: {
        TGdiObject o;
        o.kind = TGdiObject::Kind::Pen;
        const uint16_t style = r.U16LE();
        o.pen.style = (style & 0xF) > 5 ? uint32_t{PS_SOLID} : uint32_t{style & 0xFu};
        o.pen.endCap = style >> 8 & 0xF;
        o.pen.join = style >> 12 & 0xF;
        o.pen.width = S16(r);
        r.Skip(2);
        o.pen.color = ColorRef(U32(r));
        Create(o);
        break;
    }
    case META_CREATEBRUSHINDIRECT: {
        TGdiObject o;
        o.kind = TGdiObject::Kind::Brush;
        o.brush.style = r.U16LE();
        o.brush.color = ColorRef(U32(r));
        o.brush.hatch = r.U16LE();
        if (o.brush.style != BS_SOLID && o.brush.style != BS_NULL && o.brush.style != BS_HATCHED)
            o.brush.style = BS_SOLID;
        Create(o);
        break;
    }
    case META_DIBCREATEPATTERNBRUSH: {
        TGdiObject o;
        o.kind = TGdiObject::Kind::Brush;
        r.Skip(4);
        o.brush.style = BS_DIBPATTERNPT;
        o.brush.pattern = ReadPackedDib(r.Take(r.Remaining())).bitmap;
        if (!o.brush.pattern)
            o.brush = TBrush{BS_SOLID, TColor{128, 128, 128}, 0, nullptr};
        Create(o);
        break;
    }
    case META_CREATEFONTINDIRECT: {
        TGdiObject o;
        o.kind = TGdiObject::Kind::Font;
        TFont& f = o.font;
        f.height = S16(r), f.width = S16(r), f.escapement = S16(r);
        r.Skip(2);
        f.weight = S16(r);
        f.italic = r.U8(), f.underline = r.U8(), f.strikeOut = r.U8();
        f.symbol = r.U8() == 2;
        r.Skip(4);
        const auto face = r.Take(std::min<size_t>(r.Remaining(), 32));
        for (uint8_t ch : face) {
            if (ch == 0)
                break;
            f.face += static_cast<char>(ch < 0x80 ? ch : '?');
        }
        Create(o);
        break;
    }
    case META_CREATEREGION: {
        TGdiObject o;
        o.kind = TGdiObject::Kind::Region;
        r.Skip(2 + 2 + 4 + 2 + 2 + 2);
        TRect box;
        box.left = S16(r), box.top = S16(r), box.right = S16(r), box.bottom = S16(r);
        o.region.push_back(box);
        Create(o);
        break;
    }
    case META_CREATEPALETTE:
    case META_CREATEPATTERNBRUSH: {
        // They take a slot; a bitmap-pattern brush of this old kind paints grey.
        TGdiObject o;
        if (function == META_CREATEPATTERNBRUSH) {
            o.kind = TGdiObject::Kind::Brush;
            o.brush = TBrush{BS_SOLID, TColor{128, 128, 128}, 0, nullptr};
        }
        Create(o);
        break;
    }
    case META_FILLREGION: {
        const uint16_t region = r.U16LE();
        const TGdiObject* brush = Get(r.U16LE());
        if (brush && brush->kind == TGdiObject::Kind::Brush)
            c_.FillRegion(RegionOf(region), brush->brush, false);
        break;
    }
    case META_FRAMEREGION: {
        const uint16_t region = r.U16LE();
        const TGdiObject* brush = Get(r.U16LE());
        const double h = S16(r), w = S16(r);
        if (brush && brush->kind == TGdiObject::Kind::Brush)
            c_.FrameRegion(RegionOf(region), brush->brush, w, h, false);
        break;
    }
    case META_PAINTREGION: c_.FillRegion(RegionOf(r.U16LE()), st.brush, false); break;
    case META_TEXTOUT: {
        const uint16_t n = r.U16LE();
        TTextRun run;
        run.text = Ansi(r.Take(n));
        r.Skip(n & 1);
        run.origin = PointYX(r);
        c_.Text(run);
        break;
    }
    case META_EXTTEXTOUT: {
        TTextRun run;
        run.origin = PointYX(r);
        const uint16_t n = r.U16LE();
        run.options = r.U16LE();
        if (run.options & 6) {
            run.hasRect = true;
            run.rect.left = S16(r), run.rect.top = S16(r), run.rect.right = S16(r), run.rect.bottom = S16(r);
        }
        const auto text = r.Take(n);
        r.Skip(std::min<size_t>(n & 1, r.Remaining()));
        run.text = Ansi(text);
        if (r.Remaining() >= size_t{n} * 2 && run.text.size() == n) {
            run.dx.resize(n);
            for (double& d : run.dx)
                d = S16(r);
        }
        c_.Text(run);
        break;
    }
    case META_PATBLT: case META_BITBLT: case META_STRETCHBLT: case META_DIBBITBLT:
    case META_DIBSTRETCHBLT: case META_STRETCHDIB: case META_SETDIBTODEV:
        Blit(function, r, words);
        break;
    default:
        // Mapping modes and viewports do not apply: the window maps onto
        // the picture. Palettes, escapes and the rest show nothing.
        break;
    }
}

}  // namespace

void PlayWmf(std::span<const uint8_t> bytes, const TMetafileLayout& layout, TGdiCanvas& canvas)
{
    TWmfPlayer player(canvas, layout.objects);
    TByteReader r(bytes.first(layout.recordsEnd), "WMF");
    size_t pos = layout.recordsBegin;
    while (layout.recordsEnd - pos >= 6) {
        r.Seek(pos);
        const size_t size = static_cast<size_t>(r.U32LE()) * 2;  // walked when the layout was parsed
        const uint16_t function = r.U16LE();
        const auto rec = bytes.subspan(pos, size);
        pos += size;
        if (function == META_EOF)
            break;
        try {
            player.Record(function, rec);
        } catch (const Exception&) {
            // Fields that run past their record: the record is skipped.
        }
    }
}

}  // namespace kobalto::mf
