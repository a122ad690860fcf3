#pragma once
// Inflates the image data that runs across consecutive IDAT chunks. The
// caller asks for exactly the bytes it still needs, so nothing grows beyond
// what the header allows, however much the data would expand.
//
// Open first tries the whole run at once: its data gathered, its CRCs
// checked, inflated in one call into a buffer of the image data's size (and
// the trailing bytes the streaming path would also read). Anything short of
// a clean result (a cut or damaged chunk, bad or short data, a stream that
// does not end in time, no memory for the buffers) goes back to the first
// IDAT and takes the streaming path, whose answers (the rows, the error and
// when it is raised) are then exactly those of a reader without the first.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/FreshMemory.h"
#include "codecs/png/PngChunkReader.h"

namespace kobalto {

class PngInflater {
public:
    // Starts on the data of the chunk reader's current chunk, an IDAT, whose
    // image data has imageBytes bytes. The whole path is tried only when the
    // rest of the stream (all the compressed data could be) and the inflated
    // image data fit in wholeBudget bytes together. streamBytes, when given,
    // are the bytes the reader's stream reads, the caller's to change: the
    // run is gathered among them instead of copied, and they are put back as
    // they were should the whole path fail; after it succeeded, the run's
    // bytes cannot be read again.
    static std::unique_ptr<PngInflater> Open(PngChunkReader& reader, size_t imageBytes, size_t wholeBudget,
                                             std::span<uint8_t> streamBytes = {});

    // The streaming path alone.
    explicit PngInflater(PngChunkReader& reader);
    ~PngInflater();
    PngInflater(const PngInflater&) = delete;
    PngInflater& operator=(const PngInflater&) = delete;

    // Exactly count bytes. Raises EPNGZLIBError for bad compressed data and
    // EPNGMissingMultipleIDAT when the data ends early.
    void Read(uint8_t* out, size_t count);
    // The next count bytes, writable: in the whole buffer where it holds
    // them (they stay valid until Finish), else read into scratch.
    uint8_t* Next(size_t count, uint8_t* scratch);

    // After the last row: checks the end of the compressed stream as far as
    // the IDAT chunks go (a bad checksum raises EPNGZLIBError) and leaves
    // the chunk reader before the next chunk that is not part of the run.
    void Finish();

private:
    PngInflater(PngChunkReader& reader, TFreshBlock inflated, size_t size);

    // More input from the run; false once the run has ended.
    bool Refill();
    void Inflate(uint8_t* out, size_t count, size_t& produced, bool& streamEnd);

    PngChunkReader& reader_;
    z_stream z_{};
    std::vector<uint8_t> input_;
    bool runEnded_ = false;
    bool streamEnded_ = false;
    // The whole path's result, served by Read from inflatedAt_ on.
    bool whole_ = false;
    TFreshBlock inflated_;
    size_t inflatedSize_ = 0;
    size_t inflatedAt_ = 0;
    size_t lastRowAt_ = 0;     // where the row before the current one starts
    size_t releasedUpTo_ = 0;  // memory before this went back (whole 2 MB pages of it)
};

}  // namespace kobalto
