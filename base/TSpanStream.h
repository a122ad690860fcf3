#pragma once
// A read-only stream over bytes it does not own, which must outlive it.
#include <span>

#include "base/TStream.h"

namespace kobalto {

class TSpanStream : public TStream {
public:
    explicit TSpanStream(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Read(void* buffer, size_t count) override;
    // Moves nothing: the bytes are not the stream's to change.
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

}  // namespace kobalto
