#include "codecs/png/PngReader.h"

#include "base/TByteReader.h"
#include "codecs/decompress/LZ77Decoder.h"
#include "codecs/png/PngChunkReader.h"
#include "codecs/png/PngErrors.h"
#include "codecs/png/PngImageDecoder.h"
#include "codecs/png/PngInflater.h"
#include "codecs/png/PngPalette.h"
#include "graphics/Palettes.h"

namespace kobalto {

namespace {

// Bit 5 of the fourth letter set: the chunk does not depend on the image data.
bool SafeToCopy(const PngChunkHeader& h)
{
    return (h.name[3] & 0x20) != 0;
}

std::vector<TRGBQuad> GreyRamp(int depth, const PngGamma& gamma)
{
    std::vector<TRGBQuad> ramp = GreyPalette(depth);
    for (TRGBQuad& q : ramp) {
        const uint8_t g = gamma.Forward()[q.red];
        q = TRGBQuad{g, g, g, 0};
    }
    return ramp;
}

// The palette and transparency of an indexed picture, once all chunks are in.
void FinishIndexed(const PngHeader& header, std::vector<TRGBQuad> palette, const PngTransparency& transparency,
                   const PngGamma& gamma, PngImage& image)
{
    const size_t entries = size_t{1} << header.bitDepth;
    if (header.colorType == kPngPalette) {
        CheckPaletteImage(palette, transparency);
        for (TRGBQuad& q : palette)
            q = TRGBQuad{gamma.Forward()[q.blue], gamma.Forward()[q.green], gamma.Forward()[q.red], 0};
        // Indices the palette does not cover show black rather than reading past it.
        palette.resize(entries);
        image.entryAlpha = transparency.entryAlpha;
    } else {
        palette = GreyRamp(header.bitDepth, gamma);
        // A key outside the depth's range matches no sample.
        if (transparency.hasKey && transparency.key[0] < entries) {
            image.entryAlpha.assign(transparency.key[0] + size_t{1}, 255);
            image.entryAlpha.back() = 0;
        }
    }
    image.entryAlpha.resize(std::min(image.entryAlpha.size(), entries));
    bool opaque = true;
    for (uint8_t a : image.entryAlpha)
        opaque = opaque && a == 255;
    if (opaque)
        image.entryAlpha.clear();
    image.pixels.Palette() = std::move(palette);
}

}  // namespace

void CheckRoomForImageData(const PngHeader& header, const PngChunkReader& reader)
{
    if (PngImageDataSize(header) / kDeflateExpansion > reader.StreamLeft())
        throw EPNGMissingMultipleIDAT();
}

PngReadState StartPng(PngChunkReader& reader)
{
    reader.ReadSignature();
    if (!reader.Next().Is("IHDR"))
        throw EPNGIHDRNotFirst();
    PngReadState state;
    state.file.header = ParseIhdr(*reader.ReadAll());
    return state;
}

bool ReadPngChunks(PngChunkReader& reader, PngReadState& state, const PngImageDataStep& imageData)
{
    PngFile& file = state.file;
    for (;;) {
        const PngChunkHeader h = reader.Next();
        if (h.Is("IDAT")) {
            if (state.haveImage) {
                reader.EndChunk();
                continue;
            }
            if (!imageData(reader, state))
                return false;
            state.place = PngChunkPlace::AfterImageData;
        } else if (h.Is("IEND")) {
            reader.EndChunk();
            return true;
        } else if (h.Is("IHDR")) {
            throw EPngInvalidIHDR();
        } else if (h.Is("PLTE")) {
            if (!state.palette.empty())
                throw EPNGInvalidPalette();
            state.palette = ParsePlte(*reader.ReadAll());
            if (state.place == PngChunkPlace::BeforePalette)
                state.place = PngChunkPlace::BeforeImageData;
        } else if (h.Is("tRNS")) {
            const auto data = reader.ReadAll();
            // Transparency must be known before the pixels it applies to.
            if (data && !state.haveImage)
                state.transparency = ParseTrns(*data, file.header);
        } else if (h.Is("gAMA")) {
            auto data = reader.ReadAll();
            // A gamma of the wrong size, or one after the pixels, changes nothing.
            if (data && data->size() == 4 && !state.haveImage) {
                file.gamma.SetFileGamma(TByteReader(*data, "PNG", PngTruncated).U32BE());
                file.kept.push_back({h.name, std::move(*data), state.place});
            }
        } else if (h.Is("cHRM")) {
            reader.EndChunk();
        } else if (h.Critical()) {
            throw EPNGUnknownCriticalChunk();
        } else if (h.Is("tIME") || SafeToCopy(h)) {
            if (auto data = reader.ReadAll())
                file.kept.push_back({h.name, std::move(*data), state.place});
        } else {
            reader.EndChunk();
        }
    }
}

PngFile FinishPng(PngReadState& state)
{
    if (!state.haveImage)
        throw EPNGNoImageData();
    PngFile& file = state.file;
    if (file.image.Indexed())
        FinishIndexed(file.header, std::move(state.palette), state.transparency, file.gamma, file.image);
    return std::move(file);
}

bool DecodeWholeImageData(PngChunkReader& reader, PngReadState& state)
{
    const size_t imageBytes = PngImageDataSize(state.file.header);
    const auto inflater = PngInflater::Open(reader, imageBytes, imageBytes + imageBytes / 4);
    DecodePngImage(state.file.header, *inflater, state.transparency, state.file.gamma, state.file.image);
    inflater->Finish();
    state.haveImage = true;
    return true;
}

PngFile ReadPng(TStream& stream)
{
    PngChunkReader reader(stream);
    PngReadState state = StartPng(reader);
    ReadPngChunks(reader, state, [](PngChunkReader& r, PngReadState& s) {
        CheckRoomForImageData(s.file.header, r);
        return DecodeWholeImageData(r, s);
    });
    return FinishPng(state);
}

}  // namespace kobalto
