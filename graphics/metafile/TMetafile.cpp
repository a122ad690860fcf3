#include "graphics/metafile/TMetafile.h"

#include <cairo.h>

#include <algorithm>

#include "base/Exceptions.h"
#include "graphics/TBitmap.h"
#include "graphics/metafile/GdiCanvas.h"
#include "graphics/metafile/MetafilePlayers.h"
#include "graphics/metafile/MetafileWriter.h"
#include "platform/DisplayMetrics.h"

namespace kobalto {

namespace {

// Cairo surfaces stay well under its 32767-pixel side; big pictures play
// once per tile.
constexpr int kTile = 4096;

void CopyIn(const TBitmap& target, int x0, int y0, cairo_surface_t* s)
{
    uint8_t* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const bool direct = target.PixelFormat() == TPixelFormat::pf24bit;
    for (int y = 0; y < h; ++y) {
        uint32_t* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        if (direct) {
            const uint8_t* in = target.ScanLine(y0 + y) + static_cast<size_t>(x0) * 3;
            for (int x = 0; x < w; ++x, in += 3)
                out[x] = 0xFF000000u | uint32_t{in[2]} << 16 | uint32_t{in[1]} << 8 | in[0];
        } else {
            for (int x = 0; x < w; ++x) {
                const TColor c = target.Pixel(x0 + x, y0 + y);
                out[x] = 0xFF000000u | uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue;
            }
        }
    }
    cairo_surface_mark_dirty(s);
}

void CopyOut(cairo_surface_t* s, TBitmap& target, int x0, int y0)
{
    cairo_surface_flush(s);
    const uint8_t* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const bool direct = target.PixelFormat() == TPixelFormat::pf24bit;
    for (int y = 0; y < h; ++y) {
        const uint32_t* in = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        if (direct) {
            uint8_t* out = target.ScanLine(y0 + y) + static_cast<size_t>(x0) * 3;
            for (int x = 0; x < w; ++x, out += 3) {
                out[0] = static_cast<uint8_t>(in[x]);
                out[1] = static_cast<uint8_t>(in[x] >> 8);
                out[2] = static_cast<uint8_t>(in[x] >> 16);
            }
        } else {
            for (int x = 0; x < w; ++x)
                target.SetPixel(x0 + x, y0 + y,
                                TColor{static_cast<uint8_t>(in[x] >> 16), static_cast<uint8_t>(in[x] >> 8),
                                       static_cast<uint8_t>(in[x])});
        }
    }
}

}  // namespace

void TMetafile::LoadFromStream(TStream& stream)
{
    const int64_t size = stream.Size() - stream.Position();
    if (size < 0)
        ThrowInvalidMetafile();
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    stream.ReadBuffer(bytes.data(), bytes.size());
    LoadFromBytes(std::move(bytes));
}

void TMetafile::LoadFromBytes(std::vector<uint8_t> bytes)
{
    TMetafileLayout layout = ParseMetafileLayout(bytes, platform::DisplayMetrics());
    bytes_ = std::move(bytes);
    layout_ = layout;
}

void TMetafile::SaveToStream(TStream& stream) const
{
    stream.WriteBuffer(bytes_.data(), bytes_.size());
}

void TMetafile::AssignBitmap(const TBitmap& source)
{
    LoadFromBytes(EncodeEmf(source, platform::DisplayMetrics()));
}

void TMetafile::Draw(TBitmap& target, int x, int y) const
{
    if (Empty() || target.Empty())
        return;
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = static_cast<int>(std::min<int64_t>(int64_t{x} + Width(), target.Width()));
    const int bottom = static_cast<int>(std::min<int64_t>(int64_t{y} + Height(), target.Height()));
    for (int ty = top; ty < bottom; ty += kTile) {
        for (int tx = left; tx < right; tx += kTile) {
            const int tw = std::min(kTile, right - tx), th = std::min(kTile, bottom - ty);
            cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, tw, th);
            if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
                cairo_surface_destroy(s);
                throw EOutOfMemory();
            }
            CopyIn(target, tx, ty, s);
            cairo_t* cr = cairo_create(s);
            cairo_matrix_t toOutput;
            if (Enhanced()) {
                const double sx = Width() / layout_.frameWidth, sy = Height() / layout_.frameHeight;
                cairo_matrix_init(&toOutput, sx, 0, 0, sy, x - tx - layout_.frameLeft * sx,
                                  y - ty - layout_.frameTop * sy);
                mf::TGdiCanvas canvas(cr, toOutput, layout_.pxPerMmX, layout_.pxPerMmY, false);
                mf::PlayEmf(bytes_, layout_, canvas);
            } else {
                cairo_matrix_init(&toOutput, 1, 0, 0, 1, x - tx, y - ty);
                mf::TGdiCanvas canvas(cr, toOutput, 1, 1, true);
                mf::TDcState& st = canvas.State();
                st.vpExtX = Width(), st.vpExtY = Height();
                st.winOrgX = layout_.windowX, st.winOrgY = layout_.windowY;
                st.winExtX = layout_.windowW, st.winExtY = layout_.windowH;
                mf::PlayWmf(bytes_, layout_, canvas);
            }
            cairo_destroy(cr);
            CopyOut(s, target, tx, ty);
            cairo_surface_destroy(s);
        }
    }
}

}  // namespace kobalto
