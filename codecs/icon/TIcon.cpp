#include "codecs/icon/TIcon.h"

#include "base/Exceptions.h"
#include "codecs/icon/IconDirectory.h"
#include "codecs/icon/IconImage.h"
#include "codecs/icon/IconMessages.h"
#include "codecs/icon/ReadIconFile.h"
#include "graphics/Draw.h"

namespace kobalto {

void TIcon::LoadFromStream(TStream& stream)
{
    const std::vector<uint8_t> file = ReadRestOfStream(stream);
    for (const TIconEntry& entry : ReadIconDirectory(file)) {
        try {
            image_ = DecodeIconImage(IconImageBytes(file, entry), entry.width, entry.height).bitmap;
            return;
        } catch (const Exception&) {
            // A broken image gives way to the next one.
        }
    }
    throw EInvalidGraphic(msg::kIconHoldsNoImage);
}

void TIcon::Draw(TBitmap& target, int x, int y) const { DrawBitmap(target, x, y, image_); }

const TGraphicClass& IconClass()
{
    static const TGraphicClass cls{"TIcon", [] { return std::make_unique<TIcon>(); }, nullptr};
    return cls;
}

}  // namespace kobalto
