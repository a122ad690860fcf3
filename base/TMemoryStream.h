#pragma once
#include <cstdint>
#include <vector>

#include "base/TStream.h"

namespace kobalto {

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

    const std::vector<uint8_t>& Bytes() const { return data_; }
    std::vector<uint8_t> TakeBytes() { pos_ = 0; return std::move(data_); }

private:
    std::vector<uint8_t> data_;
    size_t pos_ = 0;
};

}  // namespace kobalto
