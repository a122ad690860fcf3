#include "codecs/jpeg/JpegHeader.h"

#include <algorithm>
#include <limits>
#include <string>

#include "base/Limits.h"
#include "codecs/jpeg/EJPEG.h"
#include "codecs/jpeg/JpegDecompressor.h"
#include "codecs/jpeg/JpegExifOrientation.h"
#include "codecs/jpeg/JpegMessages.h"

namespace kobalto {

namespace {

// The orientation of the first EXIF block; later ones are ignored.
int OrientationOf(j_decompress_ptr c)
{
    for (jpeg_saved_marker_ptr m = c->marker_list; m; m = m->next) {
        std::span<const uint8_t> data(m->data, m->data_length);
        if (m->marker == JPEG_APP0 + 1 && data.size() >= 6 && std::equal(data.begin(), data.begin() + 4, "Exif"))
            return ExifOrientation(data);
    }
    return 1;
}

// Huffman coding spends at least one bit on every 8 × 8 block of each
// component a sequential scan holds, so a sequential file needs at least as
// many bits as its smallest component has blocks. A short file announcing a
// huge picture is refused before anything that size is allocated.
// (Progressive and arithmetic coding can spend less; the pixel cap bounds
// them.)
void CheckLengthCanHoldPicture(j_decompress_ptr c, size_t fileBytes)
{
    if (c->arith_code || c->progressive_mode)
        return;
    uint64_t fewestBlocks = std::numeric_limits<uint64_t>::max();
    for (int i = 0; i < c->num_components; ++i) {
        const jpeg_component_info& comp = c->comp_info[i];
        fewestBlocks = std::min(fewestBlocks, uint64_t{comp.width_in_blocks} * comp.height_in_blocks);
    }
    if (uint64_t{fileBytes} * 8 < fewestBlocks)
        throw EJPEG(msg::Format(msg::kJpegTooShort,
                                {std::to_string(c->image_width), std::to_string(c->image_height)}));
}

}  // namespace

TJpegHeader ReadJpegHeader(std::span<const uint8_t> bytes)
{
    JpegDecompressor decompressor(bytes);
    j_decompress_ptr c = decompressor.Info();
    decompressor.ReadHeader(true);
    CheckImageSize(c->image_width, c->image_height, "JPEG");
    CheckLengthCanHoldPicture(c, bytes.size());
    TJpegHeader header;
    header.width = static_cast<int>(c->image_width);
    header.height = static_cast<int>(c->image_height);
    header.grayscale = c->jpeg_color_space == JCS_GRAYSCALE;
    header.multiScan = decompressor.Guard([c] { return jpeg_has_multiple_scans(c) != FALSE; });
    header.orientation = OrientationOf(c);
    return header;
}

}  // namespace kobalto
