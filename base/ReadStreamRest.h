#pragma once
// Readers that parse a whole file in memory take its bytes through this one
// routine, so the file-size cap holds for all of them.
#include <cstdint>
#include <span>
#include <string_view>

#include "base/FreshMemory.h"
#include "base/TStream.h"

namespace kobalto {

// Every byte from the stream's position to its end. Raises EInvalidGraphic
// naming the format when that is more than kMaxFileBytes, and the stream's
// read error when the stream yields fewer bytes than its size says. The
// block is read into as it is, never cleared first: clearing and copying a
// photo-sized buffer cost more than decoding a good part of it.
TFreshBlock ReadStreamRest(TStream& stream, std::string_view format);

// The same bytes, mapped from the file for a file stream (neither copied nor
// cleared first, which is most of the time of reading a large file), read
// through ReadStreamRest otherwise. The stream ends up at its end.
class TStreamRest {
public:
    TStreamRest(TStream& stream, std::string_view format);
    ~TStreamRest();
    TStreamRest(const TStreamRest&) = delete;
    TStreamRest& operator=(const TStreamRest&) = delete;
    std::span<const uint8_t> Bytes() const { return bytes_; }
    // The reader is done with these bytes: when they are mapped from the
    // file, the whole pages among them leave the process's memory, to be
    // read from the file again should they be touched later. A large file
    // then does not sit in memory beside its decoded picture. Nothing
    // happens to bytes held in memory.
    void Release(std::span<const uint8_t> done) const;

private:
    TFreshBlock copy_;
    void* map_ = nullptr;
    size_t mapLength_ = 0;
    std::span<const uint8_t> bytes_;
};

}  // namespace kobalto
