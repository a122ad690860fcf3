#include "codecs/jpeg/JpegDecoder.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/Limits.h"
#include "codecs/jpeg/JpegCmyk.h"
#include "codecs/jpeg/JpegDecompressor.h"
#include "codecs/jpeg/JpegExifOrientation.h"
#include "codecs/jpeg/JpegOrientedRows.h"
#include "codecs/jpeg/JpegOutput.h"
#include "codecs/jpeg/JpegSplit.h"

namespace kobalto {

namespace {

// Rows asked of libjpeg per call; also the height of the staging buffer.
constexpr int kRowBatch = 16;

void TakePalette(j_decompress_ptr c, TBitmap& bitmap)
{
    std::vector<TRGBQuad>& palette = bitmap.Palette();
    palette.assign(static_cast<size_t>(c->actual_number_of_colors), TRGBQuad{});
    const bool grey = c->out_color_components == 1;
    for (int i = 0; i < c->actual_number_of_colors; ++i) {
        const uint8_t r = c->colormap[0][i];
        palette[static_cast<size_t>(i)] =
            grey ? TRGBQuad{r, r, r, 0} : TRGBQuad{c->colormap[2][i], c->colormap[1][i], r, 0};
    }
}

// Reads one output pass into bitmap through rows, up to stored row end
// (all of them by default).
void ReadRows(JpegDecompressor& d, const TJpegOutput& out, const JpegOrientedRows& rows, std::vector<uint8_t>& staging,
              int end = -1)
{
    j_decompress_ptr c = d.Info();
    const int stop = end < 0 ? static_cast<int>(c->output_height) : end;
    const int width = static_cast<int>(c->output_width);
    const size_t rowBytes = static_cast<size_t>(width) * out.bytesPerPixel;
    const bool direct = !out.cmyk && rows.DirectRow(0);
    if (!direct && staging.empty())
        staging.resize(rowBytes * kRowBatch);
    std::array<JSAMPROW, kRowBatch> pointers{};
    const bool adobe = c->saw_Adobe_marker;
    while (static_cast<int>(c->output_scanline) < stop) {
        const int first = static_cast<int>(c->output_scanline);
        const int count = std::min(kRowBatch, stop - first);
        for (int i = 0; i < count; ++i)
            pointers[static_cast<size_t>(i)] = direct ? rows.DirectRow(first + i) : staging.data() + i * rowBytes;
        JSAMPARRAY p = pointers.data();
        const int got = static_cast<int>(d.Guard([c, p, count] { return jpeg_read_scanlines(c, p, static_cast<JDIMENSION>(count)); }));
        if (got == 0)
            break;  // cannot happen: a cut file ends in a made-up end marker; never spin
        if (direct)
            continue;
        for (int i = 0; i < got; ++i) {
            uint8_t* row = staging.data() + i * rowBytes;
            if (out.cmyk)
                CmykRowToBgr(row, width, adobe);
            rows.Place(first + i, row);
        }
    }
}

// Progressive display: every scan is shown as it arrives, early ones with
// the fast settings; the last pass, with the asked ones, stays.
void ReadScanByScan(JpegDecompressor& d, const TJpegOutput& out, const JpegOrientedRows& rows, TBitmap& bitmap,
                    const TJpegDecodeOptions& o, std::vector<uint8_t>& staging)
{
    j_decompress_ptr c = d.Info();
    for (;;) {
        d.Guard([c] { while (jpeg_consume_input(c) == JPEG_ROW_COMPLETED) {} });
        const bool last = jpeg_input_complete(c);
        c->dct_method = (last && !o.bestSpeed) ? JDCT_ISLOW : JDCT_IFAST;
        if (out.quantise) {
            c->colormap = nullptr;  // lets libjpeg choose the quantiser anew
            c->two_pass_quantize = (last && !o.bestSpeed) ? TRUE : FALSE;
            c->dither_mode = (last && !o.bestSpeed) ? JDITHER_FS : JDITHER_ORDERED;
        }
        d.Guard([c] { jpeg_start_output(c, c->input_scan_number); });
        if (out.quantise)
            TakePalette(c, bitmap);
        ReadRows(d, out, rows, staging);
        d.Guard([c] { jpeg_finish_output(c); });
        if (last)
            return;
    }
}

}  // namespace

TBitmap DecodeJpeg(std::span<const uint8_t> bytes, const TJpegDecodeOptions& o)
{
    JpegDecompressor d(bytes);
    j_decompress_ptr c = d.Info();
    d.ReadHeader(false);
    d.AcceptCutFile();
    const TJpegOutput out = ChooseJpegOutput(c, o);
    const bool scanByScan = o.progressiveDisplay && d.Guard([c] { return jpeg_has_multiple_scans(c) != FALSE; });
    if (scanByScan) {
        c->buffered_image = TRUE;
        if (out.quantise) {
            c->enable_1pass_quant = TRUE;
            c->enable_2pass_quant = TRUE;
        }
    }
    d.Guard([c] { jpeg_calc_output_dimensions(c); });
    const int width = static_cast<int>(c->output_width);
    const int height = static_cast<int>(c->output_height);
    CheckImageSize(width, height, "JPEG");
    const bool swap = OrientationSwapsSides(o.orientation);
    // libjpeg delivers every row, also of a cut file, or the decode raises.
    TBitmap bitmap = TBitmap::ForDecoding(swap ? height : width, swap ? width : height,
                                          out.quantise ? TPixelFormat::pf8bit : TPixelFormat::pf24bit);
    const JpegOrientedRows rows(bitmap, width, height, o.orientation, out.quantise ? 1 : 3);
    std::vector<uint8_t> staging;

    // The quantiser carries its dithering from row to row: one decoder.
    const int split = scanByScan || out.quantise ? 0 : JpegSplitRow(c);
    d.Guard([c] { jpeg_start_decompress(c); });
    if (scanByScan) {
        ReadScanByScan(d, out, rows, bitmap, o, staging);
    } else {
        if (out.quantise)
            TakePalette(c, bitmap);
        // A helper thread decodes the rows above the split and this one the
        // rest; each stored row has its own place in the bitmap.
        auto upper = [&] {
            JpegDecompressor u(bytes);
            j_decompress_ptr uc = u.Info();
            PrepareJpegRows(u, o);
            u.Guard([uc] { jpeg_start_decompress(uc); });
            std::vector<uint8_t> own;
            ReadRows(u, out, rows, own, split);
        };
        auto lower = [&] {
            const auto skip = static_cast<JDIMENSION>(split);
            d.Guard([c, skip] { jpeg_skip_scanlines(c, skip); });
            ReadRows(d, out, rows, staging);
        };
        const bool both = split > 0 && RunJpegHalves(upper, lower);
        if (!both)
            ReadRows(d, out, rows, staging);
    }
    // Every row is in; what follows the last scan is not looked at.
    if (out.cmyk && o.grayscale)
        return GreyBitmapOf(bitmap);
    if (out.cmyk && o.eightBit)
        bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    return bitmap;
}

}  // namespace kobalto
