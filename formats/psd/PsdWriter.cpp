#include "formats/psd/PsdWriter.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/Checked.h"
#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/SafeFileWriter.h"
#include "base/TByteWriter.h"
#include "formats/RgbRows.h"
#include "formats/psd/PackBits.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

constexpr int kMaxSide = 30000;  // larger pictures need the version 2 (large document) form
constexpr int kChannels = 3;
constexpr uint16_t kModeRgb = 3;
constexpr uint16_t kRaw = 0;
constexpr uint16_t kRle = 1;
constexpr uint16_t kResolutionInfo = 0x03ED;
constexpr uint32_t kFixed72 = 72u << 16;  // 16.16 fixed point
constexpr uint16_t kPixelsPerInch = 1;
constexpr uint16_t kInches = 1;

void CheckWritable(const TBitmap& bitmap)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        throw EInvalidGraphicOperation("Cannot write an empty picture as Photoshop");
    if (bitmap.Width() > kMaxSide || bitmap.Height() > kMaxSide)
        throw EInvalidGraphicOperation(
            msg::Format("Cannot write a picture of %d x %d pixels as Photoshop: each side must be at most 30000 pixels.",
                        {std::to_string(bitmap.Width()), std::to_string(bitmap.Height())}));
}

// Everything before the image data: header, empty colour-mode data, the
// resolution resource, empty layer and mask information.
TByteWriter Sections(const TRgbRows& rows)
{
    TByteWriter w;
    w.Text("8BPS");
    w.U16BE(1);  // version
    w.Fill(6, 0);
    w.U16BE(kChannels);
    w.U32BE(static_cast<uint32_t>(rows.Height()));
    w.U32BE(static_cast<uint32_t>(rows.Width()));
    w.U16BE(8);  // bits per channel
    w.U16BE(kModeRgb);
    w.U32BE(0);  // colour-mode data

    w.U32BE(28);  // image resources: the one block below
    w.Text("8BIM");
    w.U16BE(kResolutionInfo);
    w.U16BE(0);  // empty name, padded to an even length
    w.U32BE(16);
    for (int axis = 0; axis < 2; ++axis) {
        w.U32BE(kFixed72);
        w.U16BE(kPixelsPerInch);
        w.U16BE(kInches);  // unit the size is shown in
    }

    w.U32BE(0);  // layer and mask information
    return w;
}

struct PackedImage {
    std::vector<uint8_t> rowSizes;  // a 16-bit big-endian count per row of each channel
    std::vector<uint8_t> data;
};

PackedImage Pack(const TRgbRows& rows)
{
    const size_t w = static_cast<size_t>(rows.Width());
    const int h = rows.Height();
    PackedImage packed;
    packed.rowSizes.reserve(CheckedMul(static_cast<size_t>(h), 2 * kChannels));
    std::vector<uint8_t> row(w);
    for (int c = 0; c < kChannels; ++c)
        for (int y = 0; y < h; ++y) {
            rows.Channel(y, c, row.data());
            // At most 30000 + 30000 / 128 + 1 bytes: always a 16-bit count.
            const size_t n = AppendPackBits(row, packed.data);
            packed.rowSizes.push_back(static_cast<uint8_t>(n >> 8));
            packed.rowSizes.push_back(static_cast<uint8_t>(n));
        }
    return packed;
}

void WritePsd(TStream& stream, const TRgbRows& rows)
{
    const TByteWriter sections = Sections(rows);
    stream.WriteBuffer(sections.Data().data(), sections.Size());

    const PackedImage packed = Pack(rows);
    const size_t rawBytes = CheckedMul(CheckedMul(static_cast<size_t>(rows.Width()), rows.Height()), kChannels);
    const size_t packedBytes = packed.rowSizes.size() + packed.data.size();
    TByteWriter compression;
    if (packedBytes <= rawBytes) {
        compression.U16BE(kRle);
        stream.WriteBuffer(compression.Data().data(), compression.Size());
        stream.WriteBuffer(packed.rowSizes.data(), packed.rowSizes.size());
        stream.WriteBuffer(packed.data.data(), packed.data.size());
        return;
    }
    compression.U16BE(kRaw);
    stream.WriteBuffer(compression.Data().data(), compression.Size());
    std::vector<uint8_t> row(static_cast<size_t>(rows.Width()));
    for (int c = 0; c < kChannels; ++c)
        for (int y = 0; y < rows.Height(); ++y) {
            rows.Channel(y, c, row.data());
            stream.WriteBuffer(row.data(), row.size());
        }
}

}  // namespace

void SaveBitmapAsPsd(const TBitmap& bitmap, const std::string& fileName)
{
    CheckWritable(bitmap);
    const TRgbRows rows(bitmap);
    WriteFileSafely(fileName, [&rows](TStream& stream) { WritePsd(stream, rows); });
}

}  // namespace kobalto
