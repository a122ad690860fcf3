#include "codecs/jpeg/JpegSampledDecoder.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/Limits.h"
#include "codecs/jpeg/EJPEG.h"
#include "codecs/jpeg/JpegCmyk.h"
#include "codecs/jpeg/JpegDecompressor.h"
#include "codecs/jpeg/JpegExifOrientation.h"
#include "codecs/jpeg/JpegMessages.h"
#include "codecs/jpeg/JpegOutput.h"
#include "graphics/Draw.h"

namespace kobalto {

namespace {

// Skips to stored row y and reads it into row.
void ReadStoredRow(JpegDecompressor& d, int y, uint8_t* row)
{
    j_decompress_ptr c = d.Info();
    const JDIMENSION skip = static_cast<JDIMENSION>(y) - c->output_scanline;
    if (skip > 0)
        d.Guard([c, skip] { return jpeg_skip_scanlines(c, skip); });
    JSAMPROW p = row;
    const JDIMENSION got = d.Guard([c, &p] { return jpeg_read_scanlines(c, &p, 1); });
    // libjpeg makes up the rows of a cut file; never leave a row unwritten.
    if (got != 1)
        throw EJPEG(msg::Format(msg::kJpegTooShort, {std::to_string(c->output_width), std::to_string(c->output_height)}));
}

}  // namespace

std::optional<TBitmap> DecodeJpegStretched(std::span<const uint8_t> bytes, const TJpegDecodeOptions& o, int width,
                                           int height)
{
    if (o.scaleShift != 0 || o.progressiveDisplay || OrientationSwapsSides(o.orientation) || width <= 0 ||
        height <= 0)
        return std::nullopt;
    JpegDecompressor d(bytes);
    j_decompress_ptr c = d.Info();
    d.ReadHeader(false);
    d.AcceptCutFile();
    const TJpegOutput out = ChooseJpegOutput(c, o);
    if (out.quantise)
        return std::nullopt;
    d.Guard([c] { jpeg_calc_output_dimensions(c); });
    const int storedWidth = static_cast<int>(c->output_width);
    const int storedHeight = static_cast<int>(c->output_height);
    CheckImageSize(storedWidth, storedHeight, "JPEG");

    // The stretch's own picks in the upright picture, turned back into
    // stored rows and columns: orientations 2 and 3 mirror the columns,
    // 3 and 4 the rows.
    const bool flipRows = o.orientation == 3 || o.orientation == 4;
    const bool flipColumns = o.orientation == 2 || o.orientation == 3;
    const std::vector<int> ys = NearestMap(height, storedHeight);
    const std::vector<int> xs = NearestMap(width, storedWidth);
    std::vector<size_t> offsets(xs.size());
    for (size_t i = 0; i < xs.size(); ++i)
        offsets[i] = 3 * static_cast<size_t>(flipColumns ? storedWidth - 1 - xs[i] : xs[i]);

    TBitmap target = TBitmap::ForDecoding(width, height, TPixelFormat::pf24bit);  // every pixel is written
    std::vector<uint8_t> row(static_cast<size_t>(storedWidth) * out.bytesPerPixel);
    const bool adobe = c->saw_Adobe_marker;
    d.Guard([c] { jpeg_start_decompress(c); });
    // Target rows in the order their stored rows arrive: bottom up when the
    // rows are mirrored.
    int decoded = -1;
    const uint8_t* decodedTarget = nullptr;
    for (int i = 0; i < height; ++i) {
        const int ty = flipRows ? height - 1 - i : i;
        const int upright = ys[static_cast<size_t>(ty)];
        const int sy = flipRows ? storedHeight - 1 - upright : upright;
        uint8_t* dst = target.ScanLine(ty);
        if (sy == decoded) {
            std::memcpy(dst, decodedTarget, static_cast<size_t>(width) * 3);
            continue;
        }
        ReadStoredRow(d, sy, row.data());
        if (out.cmyk)
            CmykRowToBgr(row.data(), storedWidth, adobe);
        for (size_t x = 0; x < offsets.size(); ++x, dst += 3)
            std::memcpy(dst, row.data() + offsets[x], 3);
        decoded = sy;
        decodedTarget = target.ScanLine(ty);
    }
    // The whole decode reads to the last row, and a fault down there raises;
    // reading (not skipping: a skip to the end decodes nothing) keeps it so.
    while (c->output_scanline < c->output_height)
        ReadStoredRow(d, static_cast<int>(c->output_scanline), row.data());
    return target;
}

}  // namespace kobalto
