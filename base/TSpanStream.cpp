#include "base/TSpanStream.h"

#include <algorithm>
#include <cstring>

namespace kobalto {

size_t TSpanStream::Read(void* buffer, size_t count)
{
    if (pos_ >= bytes_.size())
        return 0;
    const size_t n = std::min(count, bytes_.size() - pos_);
    // The caller's buffer may be these very bytes, further back.
    std::memmove(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

size_t TSpanStream::Write(const void*, size_t) { return 0; }

int64_t TSpanStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int64_t base = origin == TSeekOrigin::Begin     ? 0
                         : origin == TSeekOrigin::Current ? static_cast<int64_t>(pos_)
                                                          : static_cast<int64_t>(bytes_.size());
    pos_ = static_cast<size_t>(std::max<int64_t>(base + offset, 0));
    return static_cast<int64_t>(pos_);
}

}  // namespace kobalto
