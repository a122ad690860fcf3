#pragma once
// libjpeg's output into a growing byte vector.
#include <cstdint>
#include <vector>

#include "codecs/jpeg/JpegErrorManager.h"

namespace kobalto {

struct JpegMemoryDestination {
    jpeg_destination_mgr pub;
    std::vector<uint8_t>* bytes = nullptr;
};

// Points cinfo at bytes through destination; after jpeg_finish_compress
// bytes holds exactly the written file. Both must outlive the compressor.
void UseJpegMemoryDestination(j_compress_ptr cinfo, JpegMemoryDestination& destination, std::vector<uint8_t>& bytes);

}  // namespace kobalto
