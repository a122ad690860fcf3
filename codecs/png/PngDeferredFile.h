#pragma once
// A PNG file read as far as its image data, the rest decoded later: at the
// size a stretch asks for, or whole. The steps after the image data are
// those of ReadPng, so the errors raised and their order are its own.
#include <memory>

#include "base/FreshMemory.h"
#include "base/TStream.h"
#include "codecs/png/PngReader.h"

namespace kobalto {

class TRowGate;

class PngDeferredFile {
public:
    // Null, with the stream where it was, for what DecodePngStretched does
    // not take (seen from the header) and for a stream too large to hold;
    // ReadPng then reads it. Otherwise every byte of the stream is kept and
    // the chunks before the image data are read, raising what ReadPng
    // raises for them.
    static std::unique_ptr<PngDeferredFile> Read(TStream& stream);

    const PngHeader& Header() const { return state_.file.header; }

    // The file as ReadPng gives it.
    PngFile Decode() const;
    // The picture on white stretched to width × height, as
    // DecodePngStretched makes it, after the chunks of the whole file. With
    // spend, the kept bytes may be used up on the way (the compressed data
    // gathered among them), and the file cannot be decoded again.
    // With rows, the rows are published there as they are filled.
    TBitmap DecodeStretched(int width, int height, bool spend, TRowGate* rows = nullptr);

private:
    PngDeferredFile() = default;
    bool Resume(const PngImageDataStep& imageData, PngReadState& state) const;
    std::span<uint8_t> Bytes() const { return {bytes_.Data(), bytes_.Size()}; }

    TFreshBlock bytes_;
    PngReadState state_;
    PngChunkReader::Mark atImageData_;
    PngChunkHeader imageData_;
};

}  // namespace kobalto
