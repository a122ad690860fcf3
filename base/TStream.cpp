#include "base/TStream.h"

#include "base/Exceptions.h"
#include "base/Messages.h"

namespace kobalto {

int64_t TStream::Size()
{
    int64_t pos = Seek(0, TSeekOrigin::Current);
    int64_t end = Seek(0, TSeekOrigin::End);
    Seek(pos, TSeekOrigin::Begin);
    return end;
}

void TStream::ReadBuffer(void* buffer, size_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(msg::kStreamReadError);
}

void TStream::WriteBuffer(const void* buffer, size_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(msg::kStreamWriteError);
}

}  // namespace kobalto
