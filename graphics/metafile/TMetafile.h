#pragma once
// The platform's metafile picture: an enhanced (EMF) or Windows (WMF,
// placeable or plain) metafile, kept as its bytes and played onto bitmaps.
// Its size is the frame at the display's resolution.
#include <cstdint>
#include <vector>

#include "graphics/TGraphic.h"
#include "graphics/metafile/MetafileLayout.h"

namespace kobalto {

class TMetafile : public TGraphic {
public:
    TMetafile() = default;

    const char* ClassName() const override { return "TMetafile"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TMetafile>(*this); }

    int Width() const override { return layout_.width; }
    int Height() const override { return layout_.height; }
    bool Enhanced() const { return layout_.kind == TMetafileKind::Emf; }
    bool IsMetafile() const override { return true; }

    // Raises EInvalidGraphic "メタファイルが不正です" for what is not a
    // metafile we can play; the picture is then unchanged.
    void LoadFromStream(TStream& stream) override;
    void LoadFromBytes(std::vector<uint8_t> bytes);
    // The file as it was loaded.
    void SaveToStream(TStream& stream) const override;
    // Becomes an enhanced metafile holding the bitmap 1:1.
    void AssignBitmap(const TBitmap& source) override;
    // Plays every record onto target, the picture's top-left at (x, y);
    // pixels no record paints keep their colour.
    void Draw(TBitmap& target, int x, int y) const override;

private:
    std::vector<uint8_t> bytes_;
    TMetafileLayout layout_;
};

}  // namespace kobalto
