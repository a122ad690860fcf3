#include "base/TMemoryStream.h"

#include <algorithm>
#include <cstring>

namespace kobalto {

size_t TMemoryStream::Read(void* buffer, size_t count)
{
    if (pos_ >= data_.size())
        return 0;
    size_t n = std::min(count, data_.size() - pos_);
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count)
{
    if (count == 0)
        return 0;
    if (pos_ + count > data_.size())
        data_.resize(pos_ + count);
    std::memcpy(data_.data() + pos_, buffer, count);
    pos_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = origin == TSeekOrigin::Begin     ? 0
                   : origin == TSeekOrigin::Current ? static_cast<int64_t>(pos_)
                                                    : static_cast<int64_t>(data_.size());
    int64_t target = base + offset;
    if (target < 0)
        target = 0;
    pos_ = static_cast<size_t>(target);
    return target;
}

}  // namespace kobalto
