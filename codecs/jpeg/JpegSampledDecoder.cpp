#include "codecs/jpeg/JpegSampledDecoder.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Limits.h"
#include "codecs/jpeg/EJPEG.h"
#include "codecs/jpeg/JpegCmyk.h"
#include "codecs/jpeg/JpegDecompressor.h"
#include "codecs/jpeg/JpegExifOrientation.h"
#include "codecs/jpeg/JpegMessages.h"
#include "codecs/jpeg/JpegOutput.h"
#include "codecs/jpeg/JpegSplit.h"
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
        throw EJPEG(
            msg::Format(msg::kJpegTooShort, {std::to_string(c->output_width), std::to_string(c->output_height)}));
}

// Reads the header and sets the output up; nothing when the rows would not
// be 24-bit pixels as they are.
std::optional<TJpegOutput> Prepare(JpegDecompressor& d, const TJpegDecodeOptions& o)
{
    const TJpegOutput out = PrepareJpegRows(d, o);
    if (out.quantise)
        return std::nullopt;
    return out;
}

// The pixels the stretch picks, in stored rows and columns. Target rows are
// taken in the order their stored rows arrive: bottom up when the
// orientation mirrors the rows.
struct SamplePlan {
    int width = 0, height = 0;
    int storedWidth = 0, storedHeight = 0;
    bool flipRows = false;
    std::vector<int> ys;          // upright source row of each target row
    std::vector<size_t> offsets;  // byte offset in a stored row of each target column
    TJpegOutput out;
    bool adobe = false;

    int TargetRow(int i) const { return flipRows ? height - 1 - i : i; }
    int StoredRow(int i) const
    {
        const int upright = ys[static_cast<size_t>(TargetRow(i))];
        return flipRows ? storedHeight - 1 - upright : upright;
    }
};

// Fills the target rows taken i in [from, to) from a started decompressor;
// with toEnd, then reads on to the last row, as the whole decode does (a
// fault down there raises; a skip to the end would decode nothing).
void DecodeRows(JpegDecompressor& d, const SamplePlan& plan, int from, int to, bool toEnd, TBitmap& target)
{
    j_decompress_ptr c = d.Info();
    // One byte to spare: pixels are picked four bytes at a time.
    std::vector<uint8_t> row(static_cast<size_t>(plan.storedWidth) * plan.out.bytesPerPixel + 1);
    int decoded = -1;
    const uint8_t* decodedTarget = nullptr;
    for (int i = from; i < to; ++i) {
        const int ty = plan.TargetRow(i);
        const int sy = plan.StoredRow(i);
        uint8_t* dst = target.ScanLine(ty);
        if (sy == decoded) {
            std::memcpy(dst, decodedTarget, static_cast<size_t>(plan.width) * 3);
            continue;
        }
        ReadStoredRow(d, sy, row.data());
        if (plan.out.cmyk)
            CmykRowToBgr(row.data(), plan.storedWidth, plan.adobe);
        // Each 4-byte copy spills one byte into the next pixel, which the
        // next copy writes; the last pixel takes its 3 bytes alone, as the
        // next row may be another thread's.
        const size_t last = plan.offsets.size() - 1;
        for (size_t x = 0; x < last; ++x, dst += 3)
            std::memcpy(dst, row.data() + plan.offsets[x], 4);
        std::memcpy(dst, row.data() + plan.offsets[last], 3);
        decoded = sy;
        decodedTarget = target.ScanLine(ty);
    }
    if (toEnd)
        while (c->output_scanline < c->output_height)
            ReadStoredRow(d, static_cast<int>(c->output_scanline), row.data());
}

// The first target row taken whose stored row is at or below the split, or
// 0 when there is none.
int SplitIndex(j_decompress_ptr c, const SamplePlan& plan)
{
    const int at = JpegSplitRow(c);
    if (at <= 0)
        return 0;
    for (int i = 0; i < plan.height; ++i)
        if (plan.StoredRow(i) >= at)
            return i;
    return 0;
}

}  // namespace

std::optional<TBitmap> DecodeJpegStretched(std::span<const uint8_t> bytes, const TJpegDecodeOptions& o, int width,
                                           int height)
{
    if (o.scaleShift != 0 || o.progressiveDisplay || OrientationSwapsSides(o.orientation) || width <= 0 || height <= 0)
        return std::nullopt;
    JpegDecompressor d(bytes);
    j_decompress_ptr c = d.Info();
    const std::optional<TJpegOutput> out = Prepare(d, o);
    if (!out)
        return std::nullopt;

    SamplePlan plan;
    plan.width = width;
    plan.height = height;
    plan.storedWidth = static_cast<int>(c->output_width);
    plan.storedHeight = static_cast<int>(c->output_height);
    CheckImageSize(plan.storedWidth, plan.storedHeight, "JPEG");
    plan.out = *out;
    plan.adobe = c->saw_Adobe_marker;
    // The stretch's own picks in the upright picture, turned back into
    // stored rows and columns: orientations 2 and 3 mirror the columns,
    // 3 and 4 the rows.
    plan.flipRows = o.orientation == 3 || o.orientation == 4;
    const bool flipColumns = o.orientation == 2 || o.orientation == 3;
    plan.ys = NearestMap(height, plan.storedHeight);
    const std::vector<int> xs = NearestMap(width, plan.storedWidth);
    plan.offsets.resize(xs.size());
    for (size_t i = 0; i < xs.size(); ++i)
        plan.offsets[i] = 3 * static_cast<size_t>(flipColumns ? plan.storedWidth - 1 - xs[i] : xs[i]);

    TBitmap target = TBitmap::ForDecoding(width, height, TPixelFormat::pf24bit);  // every pixel is written
    const int split = SplitIndex(c, plan);
    auto whole = [&] {
        d.Guard([c] { jpeg_start_decompress(c); });
        DecodeRows(d, plan, 0, height, true, target);
        return std::optional<TBitmap>(std::move(target));
    };
    if (split == 0)
        return whole();

    // The helper thread decodes the rows above the split; this one skips
    // to the split and decodes the rest to the end. The rows they fill are
    // disjoint.
    const bool both = RunJpegHalves(
        [&] {
            JpegDecompressor u(bytes);
            if (!Prepare(u, o))
                throw std::logic_error("the second JPEG decoder read the header differently");
            j_decompress_ptr uc = u.Info();
            u.Guard([uc] { jpeg_start_decompress(uc); });
            DecodeRows(u, plan, 0, split, false, target);
        },
        [&] {
            d.Guard([c] { jpeg_start_decompress(c); });
            DecodeRows(d, plan, split, height, true, target);
        });
    if (!both)
        return whole();  // no thread to be had: one decoder does it all
    return target;
}

int JpegSampledSplitRow(std::span<const uint8_t> bytes, const TJpegDecodeOptions& options)
{
    JpegDecompressor d(bytes);
    if (!Prepare(d, options))
        return 0;
    return JpegSplitRow(d.Info());
}

}  // namespace kobalto
