#include "codecs/icon/IconDirectory.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/TByteReader.h"
#include "codecs/icon/IconMessages.h"

namespace kobalto {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

int SideFromByte(uint8_t b) { return b == 0 ? 256 : b; }

}  // namespace

std::vector<TIconEntry> ReadIconDirectory(std::span<const uint8_t> file)
{
    std::vector<TIconEntry> entries;
    if (file.size() < kHeaderSize)
        return entries;
    TByteReader r(file, "ICO");
    r.Skip(4);  // reserved word and resource type
    const size_t declared = r.U16LE();
    const size_t present = (file.size() - kHeaderSize) / kEntrySize;
    const size_t count = std::min({declared, present, kMaxIconImages});
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        TIconEntry e;
        e.width = SideFromByte(r.U8());
        e.height = SideFromByte(r.U8());
        e.colorCount = r.U8();
        r.Skip(1);  // reserved
        e.planes = r.U16LE();
        e.bitCount = r.U16LE();
        e.bytesInImage = r.U32LE();
        e.imageOffset = r.U32LE();
        entries.push_back(e);
    }
    return entries;
}

std::span<const uint8_t> IconImageBytes(std::span<const uint8_t> file, const TIconEntry& entry)
{
    const uint64_t end = uint64_t{entry.imageOffset} + entry.bytesInImage;
    if (entry.imageOffset >= file.size() || end > file.size())
        throw EInvalidGraphic(msg::kInvalidIconImage);
    return file.subspan(entry.imageOffset);
}

}  // namespace kobalto
