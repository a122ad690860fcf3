#pragma once
// Building and taking apart small JPEG files for the JPEG tests.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include <cstdio>
#include <jpeglib.h>

#include "base/TMemoryStream.h"
#include "codecs/jpeg/JpegEncoder.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "graphics/TBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto::test {

inline std::vector<uint8_t> EncodeForTest(const TBitmap& bitmap, int quality = 95, bool progressive = false)
{
    return EncodeJpeg(bitmap, {quality, false, progressive});
}

inline TJPEGPicture LoadJpeg(const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream(bytes);
    TJPEGPicture picture;
    picture.LoadFromStream(stream);
    return picture;
}

inline std::vector<uint8_t> SaveJpeg(const TJPEGPicture& picture)
{
    TMemoryStream stream;
    picture.SaveToStream(stream);
    return stream.TakeBytes();
}

// How EncodeLayout stores a picture.
enum class TJpegKind { ycc, grey, cmyk, ycck };
struct TJpegLayout {
    TJpegKind kind = TJpegKind::ycc;
    int h = 2, v = 2;  // the luminance's sampling factors against 1 × 1 chroma
    bool progressive = false;
};

// bitmap (24 bits) encoded straight through libjpeg in the given layout, at
// quality 90: the layouts cameras and other programs write, which the
// picture's own encoder never does. Inks are made up from the colours
// (cyan = 255 - red, ..., black from the pixel's x).
inline std::vector<uint8_t> EncodeLayout(const TBitmap& bitmap, const TJpegLayout& layout)
{
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = static_cast<JDIMENSION>(bitmap.Width());
    c.image_height = static_cast<JDIMENSION>(bitmap.Height());
    const bool inks = layout.kind == TJpegKind::cmyk || layout.kind == TJpegKind::ycck;
    c.input_components = layout.kind == TJpegKind::grey ? 1 : inks ? 4 : 3;
    c.in_color_space = layout.kind == TJpegKind::grey ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    if (layout.kind == TJpegKind::ycck)
        jpeg_set_colorspace(&c, JCS_YCCK);
    jpeg_set_quality(&c, 90, TRUE);
    c.comp_info[0].h_samp_factor = layout.h;
    c.comp_info[0].v_samp_factor = layout.v;
    if (layout.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(bitmap.Width()) * 4);
    while (c.next_scanline < c.image_height) {
        const int y = static_cast<int>(c.next_scanline);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor p = bitmap.Pixel(x, y);
            uint8_t* o = row.data() + static_cast<size_t>(x) * c.input_components;
            if (layout.kind == TJpegKind::grey) {
                o[0] = p.green;
            } else if (inks) {
                o[0] = static_cast<uint8_t>(255 - p.red);
                o[1] = static_cast<uint8_t>(255 - p.green);
                o[2] = static_cast<uint8_t>(255 - p.blue);
                o[3] = static_cast<uint8_t>(x * 5);
            } else {
                o[0] = p.red;
                o[1] = p.green;
                o[2] = p.blue;
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}

// The file with one more segment (marker, then payload) right after SOI.
inline std::vector<uint8_t> WithSegment(const std::vector<uint8_t>& jpeg, uint8_t marker,
                                        const std::vector<uint8_t>& payload)
{
    const size_t length = payload.size() + 2;
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

// An EXIF block ("Exif\0\0" and a TIFF structure) whose first IFD holds the
// given 12-byte entries: tag, type, count, value (a SHORT value sits in the
// first two bytes of the value field).
struct ExifEntry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value;
};

inline std::vector<uint8_t> ExifBlock(const std::vector<ExifEntry>& entries, bool bigEndian)
{
    std::vector<uint8_t> b{'E', 'x', 'i', 'f', 0, 0};
    auto u16 = [&](uint16_t v) {
        if (bigEndian)
            b.insert(b.end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
        else
            b.insert(b.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    };
    auto u32 = [&](uint32_t v) {
        if (bigEndian) {
            u16(static_cast<uint16_t>(v >> 16));
            u16(static_cast<uint16_t>(v));
        } else {
            u16(static_cast<uint16_t>(v));
            u16(static_cast<uint16_t>(v >> 16));
        }
    };
    b.insert(b.end(), bigEndian ? std::initializer_list<uint8_t>{'M', 'M'} : std::initializer_list<uint8_t>{'I', 'I'});
    u16(42);
    u32(8);  // IFD0 right after the 8-byte TIFF header
    u16(static_cast<uint16_t>(entries.size()));
    for (const ExifEntry& e : entries) {
        u16(e.tag);
        u16(e.type);
        u32(e.count);
        if (e.type == 3) {  // SHORT: left-justified in the value field
            u16(static_cast<uint16_t>(e.value));
            u16(0);
        } else {
            u32(e.value);
        }
    }
    u32(0);  // no next IFD
    return b;
}

inline std::vector<uint8_t> ExifOrientationBlock(int orientation, bool bigEndian = false)
{
    return ExifBlock({{0x010F, 2, 4, 0}, {0x0112, 3, 1, static_cast<uint32_t>(orientation)}}, bigEndian);
}

// The segments before the first scan, by marker (repeated markers in order).
inline std::multimap<uint8_t, std::vector<uint8_t>> Segments(const std::vector<uint8_t>& jpeg)
{
    std::multimap<uint8_t, std::vector<uint8_t>> out;
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF) {
        const uint8_t marker = jpeg[pos + 1];
        const size_t length = static_cast<size_t>(jpeg[pos + 2] << 8 | jpeg[pos + 3]);
        if (length < 2 || pos + 2 + length > jpeg.size())
            break;
        out.emplace(marker, std::vector<uint8_t>(jpeg.begin() + pos + 4, jpeg.begin() + pos + 2 + length));
        if (marker == 0xDA)
            break;
        pos += 2 + length;
    }
    return out;
}

// Quantisation tables by table number, in the file's (zigzag) order.
inline std::map<int, std::array<int, 64>> QuantTables(const std::vector<uint8_t>& jpeg)
{
    std::map<int, std::array<int, 64>> tables;
    const auto segments = Segments(jpeg);
    auto range = segments.equal_range(0xDB);
    for (auto it = range.first; it != range.second; ++it) {
        const std::vector<uint8_t>& d = it->second;
        size_t pos = 0;
        while (pos < d.size()) {
            const int precision = d[pos] >> 4, id = d[pos] & 15;
            ++pos;
            std::array<int, 64> t{};
            for (int& v : t) {
                v = precision ? (d[pos] << 8 | d[pos + 1]) : d[pos];
                pos += precision ? 2 : 1;
            }
            tables[id] = t;
        }
    }
    return tables;
}

// ImageMagick's decode of a JPEG file given as bytes (turned by its EXIF
// orientation); false when ImageMagick is missing or cannot read it.
inline bool DecodeBytesWithPeer(const std::vector<uint8_t>& jpeg, TBitmap& out)
{
    if (ImageMagickConvert().empty())
        return false;
    TempDir dir;
    WriteBytes(dir.File("peer.jpg"), jpeg);
    return DecodeWithPeer(dir.File("peer.jpg"), out);
}

// Mean absolute difference per channel of two pictures of one size.
inline double MeanAbsDiff(const TBitmap& a, const TBitmap& b)
{
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            TColor p = a.Pixel(x, y), q = b.Pixel(x, y);
            sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
        }
    return sum / (3.0 * a.Width() * a.Height());
}

inline bool Near(TColor a, TColor b, int tolerance)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

}  // namespace kobalto::test
