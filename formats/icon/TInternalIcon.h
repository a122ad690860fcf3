#pragma once
// The general icon reader: decodes every image of the directory (up to 100),
// each composed from its mask and colour parts over white, and keeps them in
// file order. A broken image is skipped, so image 0 is the first one that
// decoded, whatever its size or depth.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/TStream.h"
#include "graphics/TBitmap.h"

namespace kobalto {

class TInternalIcon {
public:
    // Never raises: a file that cannot be opened or read gives no images
    // and false.
    bool LoadFromFile(const std::string& fileName);
    // Reads the stream from its position to its end.
    void LoadFromStream(TStream& stream);
    void Clear();

    // Image index (from 0) and its colour count (2, 16 or 256 for 1-, 4- and
    // 8-bit images, else 0); null when there is no such image. The bitmap
    // stays owned by the reader.
    const TBitmap* GetImage(int index, int* colorCount = nullptr) const;

    int EntryCount() const { return entryCount_; }
    int ImageCount() const { return static_cast<int>(images_.size()); }
    bool FromFile() const { return fromFile_; }

private:
    void ReadImages(const std::vector<uint8_t>& file);

    std::array<uint8_t, 6> header_{};
    int entryCount_ = 0;
    int64_t basePosition_ = 0;
    std::vector<std::unique_ptr<TBitmap>> images_;
    std::vector<int> colorCounts_;
    bool fromFile_ = false;
};

}  // namespace kobalto
