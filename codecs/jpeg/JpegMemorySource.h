#pragma once
// libjpeg's input from bytes already in memory. The whole file is handed
// over at once, so libjpeg asking for more means the file has ended: that is
// an error (empty input, or input ended early), never a made-up end marker.
#include <cstdint>
#include <span>

#include "codecs/jpeg/JpegErrorManager.h"

namespace kobalto {

struct JpegMemorySource {
    jpeg_source_mgr pub;
    std::span<const uint8_t> bytes;
};

// Points cinfo at bytes through source; both must outlive the decompressor.
void UseJpegMemorySource(j_decompress_ptr cinfo, JpegMemorySource& source, std::span<const uint8_t> bytes);

}  // namespace kobalto
