#include "codecs/decompress/TiffJpegDecoder.h"

#include "base/Warnings.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"
#include "codecs/jpeg/JpegErrorManager.h"

namespace kobalto {

namespace {

// The bytes of one stream; asking for more means the stream ended early:
// an end marker is supplied, so libjpeg finishes with what it has.
struct TiffJpegSource {
    jpeg_source_mgr pub;
    bool endedEarly = false;
};

const JOCTET kEndOfImage[2] = {0xFF, 0xD9};

void InitSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr cinfo)
{
    auto* src = reinterpret_cast<TiffJpegSource*>(cinfo->src);
    src->endedEarly = true;
    src->pub.next_input_byte = kEndOfImage;
    src->pub.bytes_in_buffer = 2;
    return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count)
{
    auto* src = reinterpret_cast<TiffJpegSource*>(cinfo->src);
    if (count <= 0)
        return;
    if (static_cast<size_t>(count) > src->pub.bytes_in_buffer) {
        FillInput(cinfo);
        return;
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void Point(TiffJpegSource& src, std::span<const uint8_t> bytes)
{
    src.pub.next_input_byte = bytes.data();
    src.pub.bytes_in_buffer = bytes.size();
    src.endedEarly = false;
}

// One libjpeg decompressor for the span of one call.
class Session {
public:
    Session()
    {
        cinfo.err = InitJpegErrorManager(err);
        JpegGuard(err, [&] { jpeg_create_decompress(&cinfo); });
        src.pub.init_source = InitSource;
        src.pub.fill_input_buffer = FillInput;
        src.pub.skip_input_data = SkipInput;
        src.pub.resync_to_restart = jpeg_resync_to_restart;
        src.pub.term_source = TermSource;
        cinfo.src = &src.pub;
    }
    ~Session() { jpeg_destroy_decompress(&cinfo); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    template <typename F>
    auto Guard(F&& call) -> decltype(call())
    {
        return JpegGuard(err, std::forward<F>(call));
    }

    // Loads the tables, if any; returns false when they are no tables-only stream.
    bool LoadTables(std::span<const uint8_t> tables)
    {
        if (tables.empty())
            return true;
        Point(src, tables);
        const int r = Guard([&] { return jpeg_read_header(&cinfo, FALSE); });
        return r == JPEG_HEADER_TABLES_ONLY;
    }

    jpeg_decompress_struct cinfo{};
    JpegErrorManager err;
    TiffJpegSource src{};
};

[[noreturn]] void Refuse(const char* text)
{
    RaiseExtended(text, {}, TExtendedErrorKind::Compression);
}

}  // namespace

int TTiffJpegDecoder::OutputComponents() const
{
    if (p_.planar || p_.color == TTiffJpegColor::Grey)
        return 1;
    return p_.color == TTiffJpegColor::CMYK ? 4 : 3;
}

void TTiffJpegDecoder::DecodeInit()
{
    Session s;
    if (!s.LoadTables(p_.tables))
        Refuse(msg::kBogusJpegTables);
}

TDecodeResult TTiffJpegDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    Session s;
    if (!s.LoadTables(p_.tables))
        Refuse(msg::kBogusJpegTables);
    Point(s.src, source);
    jpeg_decompress_struct& c = s.cinfo;
    s.Guard([&] { return jpeg_read_header(&c, TRUE); });

    const size_t rowBytes = static_cast<size_t>(p_.width) * OutputComponents();
    if (rowBytes == 0 || target.size() % rowBytes != 0)
        Refuse(msg::kJpegFractionalScanline);
    const size_t rows = target.size() / rowBytes;
    if (static_cast<int>(c.image_width) != p_.width || c.image_height < rows)
        Refuse(msg::kJpegStripSize);
    if (c.num_components != (p_.planar ? 1 : p_.samplesPerPixel))
        Refuse(msg::kJpegComponentCount);
    if (c.data_precision != p_.bitsPerSample)
        Refuse(msg::kJpegPrecision);
    const bool ycc = p_.color == TTiffJpegColor::YCbCr && !p_.planar;
    for (int i = 0; i < c.num_components; ++i) {
        const int h = i == 0 && ycc ? p_.subsamplingH : 1;
        const int v = i == 0 && ycc ? p_.subsamplingV : 1;
        if (c.comp_info[i].h_samp_factor != h || c.comp_info[i].v_samp_factor != v)
            Refuse(msg::kJpegSampling);
    }

    if (OutputComponents() == 1) {
        c.jpeg_color_space = JCS_GRAYSCALE;
        c.out_color_space = JCS_GRAYSCALE;
    } else if (p_.color == TTiffJpegColor::CMYK) {
        c.jpeg_color_space = JCS_CMYK;
        c.out_color_space = JCS_CMYK;
    } else {
        c.jpeg_color_space = p_.color == TTiffJpegColor::RGB ? JCS_RGB : JCS_YCbCr;
        c.out_color_space = JCS_EXT_BGR;
    }
    s.Guard([&] { return jpeg_start_decompress(&c); });
    size_t row = 0;
    while (row < rows && c.output_scanline < c.output_height) {
        JSAMPROW line = target.data() + row * rowBytes;
        row += s.Guard([&] { return jpeg_read_scanlines(&c, &line, 1); });
    }
    const bool endedEarly = s.src.endedEarly;
    s.Guard([&] { jpeg_abort_decompress(&c); });
    if (endedEarly)
        ReportWarning(msg::kJpegWarningTitle, msg::kJpegUnexpectedEnd);
    return {endedEarly ? source.size() : source.size() - s.src.pub.bytes_in_buffer, row * rowBytes};
}

}  // namespace kobalto
