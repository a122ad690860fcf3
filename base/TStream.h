#pragma once
// Byte streams: the abstract stream, and the checked whole-buffer helpers
// that every reader and writer uses.
#include <cstddef>
#include <cstdint>

namespace kobalto {

enum class TSeekOrigin { Begin, Current, End };

class TStream {
public:
    virtual ~TStream() = default;
    // Read and Write move up to count bytes and return how many moved.
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::Current); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::Begin); }
    int64_t Size();

    // All or nothing: a short read raises EReadError, a short write EWriteError.
    void ReadBuffer(void* buffer, size_t count);
    void WriteBuffer(const void* buffer, size_t count);
};

}  // namespace kobalto
