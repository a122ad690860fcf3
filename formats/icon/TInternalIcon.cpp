#include "formats/icon/TInternalIcon.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/TFileStream.h"
#include "codecs/icon/IconDirectory.h"
#include "codecs/icon/IconImage.h"
#include "codecs/icon/ReadIconFile.h"

namespace kobalto {

bool TInternalIcon::LoadFromFile(const std::string& fileName)
{
    fromFile_ = true;
    try {
        TFileStream stream(fileName, TFileStream::Mode::OpenRead);
        LoadFromStream(stream);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void TInternalIcon::LoadFromStream(TStream& stream)
{
    basePosition_ = stream.Position();
    const std::vector<uint8_t> file = ReadRestOfStream(stream);
    // A header cut short reads as zeros: no entries.
    header_.fill(0);
    std::copy_n(file.begin(), std::min(file.size(), header_.size()), header_.begin());
    Clear();
    entryCount_ = header_[4] | (header_[5] << 8);
    ReadImages(file);
}

void TInternalIcon::Clear()
{
    images_.clear();
    colorCounts_.clear();
}

const TBitmap* TInternalIcon::GetImage(int index, int* colorCount) const
{
    if (index < 0 || index >= ImageCount())
        return nullptr;
    if (colorCount)
        *colorCount = colorCounts_[static_cast<size_t>(index)];
    return images_[static_cast<size_t>(index)].get();
}

void TInternalIcon::ReadImages(const std::vector<uint8_t>& file)
{
    for (const TIconEntry& entry : ReadIconDirectory(file)) {
        try {
            TIconImage image = DecodeIconImage(IconImageBytes(file, entry), entry.width, entry.height);
            images_.push_back(std::make_unique<TBitmap>(std::move(image.bitmap)));
            colorCounts_.push_back(image.colorCount);
        } catch (const Exception&) {
            // A broken image is skipped; the next one may still decode.
        }
    }
}

}  // namespace kobalto
