#pragma once
// Reads a PNG stream chunk by chunk: the signature, each chunk's length and
// name, its data (all at once or in pieces) and its CRC. Never reads past
// the stream, never allocates more than the stream still holds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/TStream.h"

namespace kobalto {

struct PngChunkHeader {
    uint32_t length = 0;
    std::array<char, 4> name{};

    bool Is(const char* fourLetters) const;
    // Bit 5 of the first letter clear: a decoder may not ignore the chunk.
    bool Critical() const { return (name[0] & 0x20) == 0; }
};

class PngChunkReader {
public:
    explicit PngChunkReader(TStream& stream);

    // Anything but the 8 signature bytes raises EPNGInvalidFileHeader.
    void ReadSignature();
    // The next chunk's length and name (the one given back by Unread, if
    // any). A stream that ends before them, or that cannot hold the data and
    // CRC they announce, raises EPngUnexpectedEnd.
    PngChunkHeader Next();
    // Gives back a header just returned by Next, before any of its data was
    // read: the next call of Next returns it again.
    void Unread(const PngChunkHeader& header);

    // The current chunk's remaining data, then its CRC checked: nothing when
    // it does not match for an ancillary chunk.
    std::optional<std::vector<uint8_t>> ReadAll();
    // Up to max bytes of the current chunk's data; 0 at its end.
    size_t ReadSome(uint8_t* out, size_t max);
    uint32_t DataLeft() const { return dataLeft_; }
    // Bytes of the stream not read yet.
    uint64_t StreamLeft() const { return streamLeft_; }
    // Skips the rest of the data and checks the CRC. A mismatch raises
    // EPngInvalidCRC for a critical chunk and gives false for an ancillary
    // one, which is then dropped: a damaged comment costs no picture.
    bool EndChunk();

    // Where the reader stands, to come back to with Rewind: a whole run of
    // chunks can be tried one way and then read again another.
    struct Mark {
        int64_t position = 0;
        uint64_t streamLeft = 0;
        uint32_t dataLeft = 0;
        unsigned long crc = 0;
        bool critical = false;
    };
    Mark Here();
    void Rewind(const Mark& mark);

private:
    void ReadExact(void* out, size_t count);

    TStream& stream_;
    uint64_t streamLeft_ = 0;
    uint32_t dataLeft_ = 0;
    unsigned long crc_ = 0;
    bool critical_ = false;
    bool pending_ = false;
    PngChunkHeader pendingHeader_;
};

}  // namespace kobalto
