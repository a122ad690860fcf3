#pragma once
// Inflates the image data that runs across consecutive IDAT chunks. The
// caller asks for exactly the bytes it still needs, so nothing grows beyond
// what the header allows, however much the data would expand.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/png/PngChunkReader.h"

namespace kobalto {

class PngInflater {
public:
    // Starts on the data of the chunk reader's current chunk, an IDAT.
    explicit PngInflater(PngChunkReader& reader);
    ~PngInflater();
    PngInflater(const PngInflater&) = delete;
    PngInflater& operator=(const PngInflater&) = delete;

    // Exactly count bytes. Raises EPNGZLIBError for bad compressed data and
    // EPNGMissingMultipleIDAT when the data ends early.
    void Read(uint8_t* out, size_t count);

    // After the last row: checks the end of the compressed stream as far as
    // the IDAT chunks go (a bad checksum raises EPNGZLIBError) and leaves
    // the chunk reader before the next chunk that is not part of the run.
    void Finish();

private:
    // More input from the run; false once the run has ended.
    bool Refill();
    void Inflate(uint8_t* out, size_t count, size_t& produced, bool& streamEnd);

    PngChunkReader& reader_;
    z_stream z_{};
    std::vector<uint8_t> input_;
    bool runEnded_ = false;
    bool streamEnded_ = false;
};

}  // namespace kobalto
