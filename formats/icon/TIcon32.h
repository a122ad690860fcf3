#pragma once
// A narrow reader for icons whose first image has 32 bits per pixel and sits
// right after a one-entry directory. It takes the colour bytes of that image
// and nothing else: the alpha byte and the mask are not used.
#include <cstdint>
#include <string>
#include <vector>

#include "base/TStream.h"
#include "graphics/TBitmap.h"

namespace kobalto {

class TIcon32 {
public:
    TIcon32();

    // Opening the file may raise EFOpenError; every failure after that is a
    // false result.
    bool LoadFromFile(const std::string& fileName);
    // Takes the stream from its position to its end and decodes it.
    bool LoadFromStream(TStream& stream);
    // True when a picture was decoded from the data held.
    bool DecodeData();

    int IconWidth() const { return iconWidth_; }
    int IconHeight() const { return iconHeight_; }
    void SetIconSize(int width, int height);

    // The decoded picture, 32 bits per pixel; pixels the colour bytes did
    // not reach stay white.
    const TBitmap& Bitmap() const { return bitmap_; }
    void SetBitmap(const TBitmap& bitmap);

private:
    bool Decode();

    std::vector<uint8_t> data_;
    int iconWidth_ = 32;
    int iconHeight_ = 32;
    TBitmap bitmap_;
};

}  // namespace kobalto
