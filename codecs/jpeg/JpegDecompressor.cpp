#include "codecs/jpeg/JpegDecompressor.h"

namespace kobalto {

namespace {

void LimitScans(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans)
        AbortJpeg(cinfo, kJpegTooManyScansCode, kMaxJpegScans);
}

}  // namespace

JpegDecompressor::JpegDecompressor(std::span<const uint8_t> bytes)
{
    cinfo_.err = InitJpegErrorManager(err_);
    j_decompress_ptr c = &cinfo_;
    Guard([c] { jpeg_create_decompress(c); });
    created_ = true;
    UseJpegMemorySource(c, source_, bytes);
    progress_.progress_monitor = LimitScans;
    c->progress = &progress_;
}

JpegDecompressor::~JpegDecompressor()
{
    if (created_)
        jpeg_destroy_decompress(&cinfo_);
}

void JpegDecompressor::ReadHeader(bool keepApp1)
{
    j_decompress_ptr c = &cinfo_;
    Guard([c, keepApp1] {
        if (keepApp1)
            jpeg_save_markers(c, JPEG_APP0 + 1, 0xFFFF);
        jpeg_read_header(c, TRUE);
    });
}

void JpegDecompressor::AcceptCutFile() { source_.endMarkerAtEnd = source_.pub.bytes_in_buffer > 0; }

}  // namespace kobalto
