#include "base/ReadStreamRest.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "base/DiscardPages.h"
#include "base/Exceptions.h"
#include "base/FreshMemory.h"
#include "base/Limits.h"
#include "base/Messages.h"
#include "base/TFileStream.h"

namespace kobalto {

TFreshBlock ReadStreamRest(TStream& stream, std::string_view format)
{
    const int64_t size = stream.Size() - stream.Position();
    if (size > kMaxFileBytes)
        throw EInvalidGraphic(msg::Format(msg::kFileTooLarge, {format, std::to_string(size)}));
    TFreshBlock bytes(size > 0 ? static_cast<size_t>(size) : 0);
    stream.ReadBuffer(bytes.Data(), bytes.Size());
    return bytes;
}

TStreamRest::TStreamRest(TStream& stream, std::string_view format)
{
    if (auto* file = dynamic_cast<TFileStream*>(&stream)) {
        const int64_t position = stream.Position();
        const int64_t end = stream.Size();
        if (end - position > kMaxFileBytes)
            throw EInvalidGraphic(msg::Format(msg::kFileTooLarge, {format, std::to_string(end - position)}));
        if (position >= 0 && end > position) {
            void* map = mmap(nullptr, static_cast<size_t>(end), PROT_READ, MAP_PRIVATE, file->Descriptor(), 0);
            if (map != MAP_FAILED) {
                map_ = map;
                mapLength_ = static_cast<size_t>(end);
                madvise(map_, mapLength_, MADV_SEQUENTIAL);
                bytes_ = std::span<const uint8_t>(static_cast<const uint8_t*>(map_) + position,
                                                  static_cast<size_t>(end - position));
                stream.Seek(0, TSeekOrigin::End);
                return;
            }
        }
    }
    copy_ = ReadStreamRest(stream, format);
    bytes_ = {copy_.Data(), copy_.Size()};
}

void TStreamRest::Release(std::span<const uint8_t> done) const
{
    if (!map_ || done.empty())
        return;
    // Within the mapping, which starts on a page; its last page is whole in
    // memory, so bytes reaching the end take it along.
    static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* const start = static_cast<uint8_t*>(map_);
    uint8_t* const first = std::max(const_cast<uint8_t*>(done.data()), start);
    uint8_t* end = const_cast<uint8_t*>(done.data() + done.size());
    if (end >= start + mapLength_)
        end = start + (mapLength_ + page - 1) / page * page;
    if (first < end)
        DiscardPages({first, static_cast<size_t>(end - first)});
}

TStreamRest::~TStreamRest()
{
    if (map_)
        munmap(map_, mapLength_);
}

}  // namespace kobalto
