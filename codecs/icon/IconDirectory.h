#pragma once
// The directory at the start of an icon (or cursor) file: a 6-byte header
// and one 16-byte entry per image. Neither the reserved word nor the
// resource type is checked: cursors read like icons.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kobalto {

struct TIconEntry {
    int width = 0;   // 1 .. 256: a byte of 0 means 256
    int height = 0;  // 1 .. 256
    unsigned colorCount = 0;
    unsigned planes = 0;
    unsigned bitCount = 0;
    uint32_t bytesInImage = 0;
    uint32_t imageOffset = 0;  // from the file's first byte
};

// At most this many images are read from one file; later entries are ignored.
inline constexpr size_t kMaxIconImages = 100;

// The entries in file order, at most kMaxIconImages. Entries cut off by the
// end of the file are left out; a file shorter than the 6-byte header has
// none. Never raises.
std::vector<TIconEntry> ReadIconDirectory(std::span<const uint8_t> file);

// The bytes of one image: from its offset to the end of the file, since some
// writers put a byte count too small for the image. Raises EInvalidGraphic
// when the offset or the byte count reaches beyond the file's end.
std::span<const uint8_t> IconImageBytes(std::span<const uint8_t> file, const TIconEntry& entry);

}  // namespace kobalto
