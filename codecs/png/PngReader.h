#pragma once
// Reading a PNG stream: the chunk loop with its checks, the image data and
// the palette and transparency that go with it.
#include <functional>
#include <vector>

#include "base/TStream.h"
#include "codecs/png/PngChunk.h"
#include "codecs/png/PngChunkReader.h"
#include "codecs/png/PngGamma.h"
#include "codecs/png/PngHeader.h"
#include "codecs/png/PngImage.h"
#include "codecs/png/PngPalette.h"

namespace kobalto {

struct PngFile {
    PngHeader header;
    PngImage image;
    PngGamma gamma;
    // Ancillary chunks written back on saving: gAMA, tIME, and the others
    // that may be copied whatever happened to the image (safe-to-copy).
    std::vector<PngKeptChunk> kept;
};

// Every failure is one of the PNG exceptions, or EInvalidGraphic for a
// picture above the pixel cap.
PngFile ReadPng(TStream& stream);

// The same reading in steps, for a reader that decodes the image data its
// own way or later: what the chunks read so far said.
struct PngReadState {
    PngFile file;
    std::vector<TRGBQuad> palette;
    PngTransparency transparency;
    bool haveImage = false;
    PngChunkPlace place = PngChunkPlace::BeforePalette;
};

// Called at the first IDAT, its header read: decodes the image data from the
// reader (and sets state.haveImage) and gives true, or gives false to stop
// the loop there.
using PngImageDataStep = std::function<bool(PngChunkReader& reader, PngReadState& state)>;

// The image-data step of a whole decode: every row into state.file.image.
bool DecodeWholeImageData(PngChunkReader& reader, PngReadState& state);

// The signature and IHDR.
PngReadState StartPng(PngChunkReader& reader);
// Reads chunks until imageData stops at the first IDAT (false) or IEND has
// been read (true). To go on after a stop, give the IDAT's header back to
// the reader (Unread) and call this again.
bool ReadPngChunks(PngChunkReader& reader, PngReadState& state, const PngImageDataStep& imageData);
// After IEND: a file without image data raises EPNGNoImageData; an indexed
// picture gets its palette and transparency.
PngFile FinishPng(PngReadState& state);

// Deflate makes at most 1032 bytes of one: a file whose rest is too short to
// hold the picture's image data raises EPNGMissingMultipleIDAT before its
// pixels are allocated.
void CheckRoomForImageData(const PngHeader& header, const PngChunkReader& reader);

}  // namespace kobalto
