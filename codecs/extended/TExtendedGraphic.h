#pragma once
// The base of the extended readers: a bitmap that fills itself from a stream.
// A load takes the stream's bytes (capped), and the reader then
//   1. parses its header into a checked plain struct, nothing allocated,
//      and fills the image properties;
//   2. sets up the colour converter, which gives the pixel format, and
//      checks the size against the caps;
//   3. decodes into a local bitmap, handed back only when complete, giving
//      back the input it is done with as it goes (see InputRelease.h).
// The picture changes only when all of that succeeded.
#include <cstdint>
#include <span>

#include "codecs/extended/InputRelease.h"
#include "codecs/extended/TImageProperties.h"
#include "graphics/TBitmap.h"

namespace kobalto {

class TStreamRest;

class TExtendedGraphic : public TBitmap {
public:
    void LoadFromStream(TStream& stream) final;
    // Reads a whole file held in memory, as LoadFromStream does.
    void LoadFromBytes(std::span<const uint8_t> bytes);

    const TImageProperties& ImageProperties() const { return properties_; }

protected:
    TExtendedGraphic() = default;

    // The format name of the messages ("TGA", "TIF/TIFF", "EPS").
    virtual const char* FormatName() const = 0;
    // Steps 1 to 3 above; fills properties.
    virtual TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) = 0;
    // Where Decode gives back the bytes it is done with: the mapped file
    // during LoadFromStream, nowhere for LoadFromBytes.
    TInputRelease InputRelease() const;

private:
    TImageProperties properties_;
    const TStreamRest* input_ = nullptr;  // only during LoadFromStream
};

}  // namespace kobalto
