#include "codecs/jpeg/JpegMemoryDestination.h"

#include <jerror.h>

#include <new>

namespace kobalto {

namespace {

constexpr size_t kFirstChunk = 64 * 1024;

JpegMemoryDestination& DestinationOf(j_compress_ptr cinfo)
{
    return *reinterpret_cast<JpegMemoryDestination*>(cinfo->dest);
}

// Grows the vector to at least size bytes and points libjpeg past used.
void Expose(j_compress_ptr cinfo, size_t used, size_t size)
{
    std::vector<uint8_t>& bytes = *DestinationOf(cinfo).bytes;
    bool grown = true;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    // No exception may cross libjpeg's frames; leave the handler first.
    if (!grown)
        AbortJpeg(reinterpret_cast<j_common_ptr>(cinfo), JERR_OUT_OF_MEMORY);
    cinfo->dest->next_output_byte = bytes.data() + used;
    cinfo->dest->free_in_buffer = size - used;
}

void InitDestination(j_compress_ptr cinfo) { Expose(cinfo, 0, kFirstChunk); }

// Called when the whole buffer is full.
boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    const size_t used = DestinationOf(cinfo).bytes->size();
    Expose(cinfo, used, used * 2);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    std::vector<uint8_t>& bytes = *DestinationOf(cinfo).bytes;
    bytes.resize(bytes.size() - cinfo->dest->free_in_buffer);
}

}  // namespace

void UseJpegMemoryDestination(j_compress_ptr cinfo, JpegMemoryDestination& destination, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    destination.bytes = &bytes;
    destination.pub.init_destination = InitDestination;
    destination.pub.empty_output_buffer = EmptyOutputBuffer;
    destination.pub.term_destination = TermDestination;
    cinfo->dest = &destination.pub;
}

}  // namespace kobalto
