#include "codecs/jpeg/JpegMemorySource.h"

#include <jerror.h>

namespace kobalto {

namespace {

void InitSource(j_decompress_ptr) {}

constexpr JOCTET kEndMarker[] = {0xFF, JPEG_EOI};

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    auto* source = reinterpret_cast<JpegMemorySource*>(cinfo->src);
    if (!source->endMarkerAtEnd)
        AbortJpeg(reinterpret_cast<j_common_ptr>(cinfo), source->bytes.empty() ? JERR_INPUT_EMPTY : JERR_INPUT_EOF);
    // libjpeg warns (ignored) and treats the rest of the scan as zeros.
    source->pub.next_input_byte = kEndMarker;
    source->pub.bytes_in_buffer = sizeof kEndMarker;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) {
        // What was to be skipped is not there; the file ends here.
        FillInputBuffer(cinfo);
        return;
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

}  // namespace

void UseJpegMemorySource(j_decompress_ptr cinfo, JpegMemorySource& source, std::span<const uint8_t> bytes)
{
    source.bytes = bytes;
    source.pub.init_source = InitSource;
    source.pub.fill_input_buffer = FillInputBuffer;
    source.pub.skip_input_data = SkipInputData;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = TermSource;
    source.pub.next_input_byte = bytes.data();
    source.pub.bytes_in_buffer = bytes.size();
    cinfo->src = &source.pub;
}

}  // namespace kobalto
