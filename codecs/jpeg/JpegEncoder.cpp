#include "codecs/jpeg/JpegEncoder.h"

#include <algorithm>
#include <array>

#include "codecs/jpeg/JpegErrorManager.h"
#include "codecs/jpeg/JpegMemoryDestination.h"
#include "graphics/PixelRows.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

constexpr int kRowBatch = 16;

// A compressor writing into bytes, destroyed with all its memory.
class JpegCompressor : public JpegGuarded {
public:
    explicit JpegCompressor(std::vector<uint8_t>& bytes)
    {
        cinfo_.err = InitJpegErrorManager(err_);
        j_compress_ptr c = &cinfo_;
        Guard([c] { jpeg_create_compress(c); });
        created_ = true;
        UseJpegMemoryDestination(c, destination_, bytes);
    }
    ~JpegCompressor()
    {
        if (created_)
            jpeg_destroy_compress(&cinfo_);
    }
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;

    j_compress_ptr Info() { return &cinfo_; }

private:
    JpegMemoryDestination destination_;
    jpeg_compress_struct cinfo_;
    bool created_ = false;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, const TJpegEncodeOptions& o)
{
    std::vector<uint8_t> bytes;
    JpegCompressor compressor(bytes);
    j_compress_ptr c = compressor.Info();
    c->image_width = static_cast<JDIMENSION>(bitmap.Width());
    c->image_height = static_cast<JDIMENSION>(bitmap.Height());
    c->input_components = 3;
    // The bitmap's own byte order, so rows go in as they lie in memory.
    c->in_color_space = JCS_EXT_BGR;
    const int quality = o.quality;
    const bool grayscale = o.grayscale, progressive = o.progressive;
    compressor.Guard([c, quality, grayscale, progressive] {
        jpeg_set_defaults(c);
        jpeg_set_quality(c, quality, TRUE);
        if (grayscale)
            jpeg_set_colorspace(c, JCS_GRAYSCALE);
        if (progressive)
            jpeg_simple_progression(c);
        jpeg_start_compress(c, TRUE);
    });

    // Other formats are turned into blue-green-red a batch of rows at a time.
    const bool direct = bitmap.PixelFormat() == TPixelFormat::pf24bit;
    std::vector<uint8_t> staging;
    const size_t rowBytes = static_cast<size_t>(bitmap.Width()) * 3;
    if (!direct)
        staging.resize(rowBytes * kRowBatch);
    std::array<JSAMPROW, kRowBatch> pointers{};
    while (c->next_scanline < c->image_height) {
        const int first = static_cast<int>(c->next_scanline);
        const int count = std::min(kRowBatch, bitmap.Height() - first);
        for (int i = 0; i < count; ++i) {
            if (direct) {
                // libjpeg only reads input rows; its row type is not const.
                pointers[static_cast<size_t>(i)] = const_cast<uint8_t*>(bitmap.ScanLine(first + i));
            } else {
                pointers[static_cast<size_t>(i)] = staging.data() + i * rowBytes;
                RowToBgr24(bitmap, first + i, pointers[static_cast<size_t>(i)]);
            }
        }
        JSAMPARRAY p = pointers.data();
        const auto written = compressor.Guard([c, p, count] { return jpeg_write_scanlines(c, p, static_cast<JDIMENSION>(count)); });
        if (written == 0)
            break;  // cannot happen with a memory destination; never spin
    }
    compressor.Guard([c] { jpeg_finish_compress(c); });
    return bytes;
}

}  // namespace kobalto
