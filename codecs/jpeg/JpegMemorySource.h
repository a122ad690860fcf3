#pragma once
// libjpeg's input from bytes already in memory. The whole file is handed
// over at once, so libjpeg asking for more means the file has ended. Before
// the image data that is an error (empty input, or input ended early); once
// the image data has begun, a partly downloaded photo shows the part that
// arrived: the source then answers with an end marker, and libjpeg fills
// the missing blocks in.
#include <cstdint>
#include <span>

#include "codecs/jpeg/JpegErrorManager.h"

namespace kobalto {

struct JpegMemorySource {
    jpeg_source_mgr pub;
    std::span<const uint8_t> bytes;
    bool endMarkerAtEnd = false;  // set once the image data has begun
};

// Points cinfo at bytes through source; both must outlive the decompressor.
void UseJpegMemorySource(j_decompress_ptr cinfo, JpegMemorySource& source, std::span<const uint8_t> bytes);

}  // namespace kobalto
