#pragma once
// Compresses the filtered rows into one zlib stream and writes it as IDAT
// chunks: every full output buffer is one chunk, the rest the last one.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/TStream.h"

namespace kobalto {

class PngIdatWriter {
public:
    // bufferSize is the size of each full IDAT chunk.
    PngIdatWriter(TStream& out, int level, size_t bufferSize);
    ~PngIdatWriter();
    PngIdatWriter(const PngIdatWriter&) = delete;
    PngIdatWriter& operator=(const PngIdatWriter&) = delete;

    void Write(const uint8_t* data, size_t size);
    // Ends the stream; writes what is left, never an empty chunk.
    void Finish();

private:
    void Deflate(int flush);
    void WriteChunk(size_t size);

    TStream& out_;
    z_stream z_{};
    std::vector<uint8_t> buffer_;
    bool finished_ = false;
};

}  // namespace kobalto
