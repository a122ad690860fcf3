#include "codecs/png/PngWriter.h"

#include <cstring>
#include <functional>

#include "codecs/png/PngAdam7.h"
#include "codecs/png/PngChunkWriter.h"
#include "codecs/png/PngIdatWriter.h"
#include "codecs/png/PngRowConverter.h"
#include "codecs/png/PngSignature.h"
#include "graphics/PackedIndex.h"
#include "graphics/TRowGate.h"

namespace kobalto {

namespace {

std::vector<uint8_t> PaletteBytes(const PngImage& image, const PngGamma& gamma)
{
    const auto& inverse = gamma.Inverse();
    const auto& palette = image.pixels.Palette();
    const size_t entries = size_t{1} << BitsPerPixel(image.pixels.PixelFormat());
    std::vector<uint8_t> bytes(entries * 3, 0);
    for (size_t i = 0; i < entries && i < palette.size(); ++i) {
        bytes[3 * i] = inverse[palette[i].red];
        bytes[3 * i + 1] = inverse[palette[i].green];
        bytes[3 * i + 2] = inverse[palette[i].blue];
    }
    return bytes;
}

// Empty when nothing is transparent.
std::vector<uint8_t> TransparencyBytes(const PngImage& image, const PngGamma& gamma)
{
    if (image.Indexed()) {
        std::vector<uint8_t> bytes = image.entryAlpha;
        // Trailing opaque entries need not be written.
        while (!bytes.empty() && bytes.back() == 255)
            bytes.pop_back();
        return bytes;
    }
    if (!image.key || !image.alpha.empty())
        return {};
    const auto& inverse = gamma.Inverse();
    return {0, inverse[image.key->red], 0, inverse[image.key->green], 0, inverse[image.key->blue]};
}

// The pixels of image row y, as the picture's bitmap holds them.
using PixelRows = std::function<const uint8_t*(uint32_t y)>;

// Image row y as unfiltered samples of the output header.
class RowSource {
public:
    RowSource(const PngImage& image, const PngHeader& header, const PngGamma& gamma, const PixelRows& pixels)
        : image_(image), header_(header), gamma_(gamma), pixels_(pixels), rowBytes_(header.RowBytes(header.width))
    {
    }

    void Row(uint32_t y, uint8_t* out) const
    {
        const uint8_t* src = pixels_(y);
        if (header_.colorType == kPngPalette) {
            std::memcpy(out, src, rowBytes_);
            return;
        }
        const uint8_t* g = gamma_.Inverse().data();
        const uint32_t w = header_.width;
        if (header_.colorType == kPngRgb) {
            if (gamma_.Identity()) {
                for (uint32_t x = 0; x < w; ++x, src += 3, out += 3) {
                    out[0] = src[2];
                    out[1] = src[1];
                    out[2] = src[0];
                }
            } else {
                for (uint32_t x = 0; x < w; ++x, src += 3, out += 3) {
                    out[0] = g[src[2]];
                    out[1] = g[src[1]];
                    out[2] = g[src[0]];
                }
            }
            return;
        }
        const uint8_t* alpha = image_.alpha.data() + static_cast<size_t>(y) * w;
        for (uint32_t x = 0; x < w; ++x, src += 3, out += 4) {
            out[0] = g[src[2]];
            out[1] = g[src[1]];
            out[2] = g[src[0]];
            out[3] = alpha[x];
        }
    }

private:
    const PngImage& image_;
    const PngHeader& header_;
    const PngGamma& gamma_;
    const PixelRows& pixels_;
    size_t rowBytes_;
};

// The pixels of one Adam7 pass out of a whole row.
void GatherPass(const PngHeader& header, const uint8_t* row, const PngPass& pass, uint32_t columns, uint8_t* out)
{
    const int bits = header.BitsPerPixel();
    if (bits >= 8) {
        const size_t bytes = static_cast<size_t>(bits / 8);
        for (uint32_t i = 0; i < columns; ++i)
            std::memcpy(out + i * bytes, row + (pass.x0 + static_cast<size_t>(i) * pass.dx) * bytes, bytes);
        return;
    }
    std::memset(out, 0, header.RowBytes(columns));
    for (uint32_t i = 0; i < columns; ++i) {
        const uint8_t v = ReadPackedIndex(row, static_cast<int>(pass.x0 + i * pass.dx), bits);
        WritePackedIndex(out, static_cast<int>(i), bits, v);
    }
}

void WriteImageData(TStream& out, const PngImage& image, const PngHeader& header, const PngEncoderSettings& settings,
                    const PngGamma& gamma, const PixelRows& pixels)
{
    const RowSource source(image, header, gamma, pixels);
    const size_t rowBytes = header.RowBytes(header.width);
    std::vector<uint8_t> row(rowBytes);
    PngRowFilter filter(settings.filterSet, rowBytes, header.FilterOffset());
    PngIdatWriter idat(out, settings.compressionLevel, settings.maxIdatSize);
    if (header.interlace == 0) {
        for (uint32_t y = 0; y < header.height; ++y) {
            source.Row(y, row.data());
            const auto filtered = filter.Filter(row.data(), rowBytes);
            idat.Write(filtered.data(), filtered.size());
        }
    } else {
        std::vector<uint8_t> passRow(rowBytes);
        for (const PngPass& pass : kAdam7Passes) {
            const uint32_t columns = pass.Columns(header.width);
            const uint32_t rows = pass.Rows(header.height);
            if (columns == 0 || rows == 0)
                continue;
            filter.Restart();
            const size_t passBytes = header.RowBytes(columns);
            for (uint32_t r = 0; r < rows; ++r) {
                source.Row(pass.y0 + r * pass.dy, row.data());
                GatherPass(header, row.data(), pass, columns, passRow.data());
                const auto filtered = filter.Filter(passRow.data(), passBytes);
                idat.Write(filtered.data(), filtered.size());
            }
        }
    }
    idat.Finish();
}

void WriteKept(TStream& out, const std::vector<PngKeptChunk>& kept, PngChunkPlace place)
{
    for (const PngKeptChunk& chunk : kept)
        if (chunk.place == place)
            WritePngChunk(out, chunk.name.data(), chunk.data);
}

}  // namespace

PngHeader PngOutputHeader(const PngImage& image, uint8_t interlace)
{
    PngHeader h;
    h.width = static_cast<uint32_t>(image.pixels.Width());
    h.height = static_cast<uint32_t>(image.pixels.Height());
    h.interlace = interlace;
    if (image.Indexed()) {
        h.colorType = kPngPalette;
        h.bitDepth = static_cast<uint8_t>(BitsPerPixel(image.pixels.PixelFormat()));
    } else {
        h.colorType = image.alpha.empty() ? kPngRgb : kPngRgbAlpha;
        h.bitDepth = 8;
    }
    return h;
}

void WritePng(TStream& out, const PngImage& image, const PngEncoderSettings& settings, const PngGamma& gamma,
              const std::vector<PngKeptChunk>& kept)
{
    const PngHeader header = PngOutputHeader(image, settings.interlace);
    out.WriteBuffer(kPngSignature.data(), kPngSignature.size());
    WritePngChunk(out, "IHDR", IhdrBytes(header));
    WriteKept(out, kept, PngChunkPlace::BeforePalette);
    if (image.Indexed())
        WritePngChunk(out, "PLTE", PaletteBytes(image, gamma));
    const std::vector<uint8_t> transparency = TransparencyBytes(image, gamma);
    if (!transparency.empty())
        WritePngChunk(out, "tRNS", transparency);
    WriteKept(out, kept, PngChunkPlace::BeforeImageData);
    WriteImageData(out, image, header, settings, gamma,
                   [&image](uint32_t y) { return image.pixels.ScanLine(static_cast<int>(y)); });
    WriteKept(out, kept, PngChunkPlace::AfterImageData);
    WritePngChunk(out, "IEND", {});
}

void WritePngAsRowsArrive(TStream& out, const TRowGate& gate, const PngEncoderSettings& settings)
{
    // What WritePng writes for a 24-bit picture without transparency,
    // gamma or kept chunks: the header, the image data, the end.
    const auto [width, height] = gate.WaitForSize();
    PngHeader header;
    header.width = static_cast<uint32_t>(width);
    header.height = static_cast<uint32_t>(height);
    header.interlace = 0;
    header.colorType = kPngRgb;
    header.bitDepth = 8;
    out.WriteBuffer(kPngSignature.data(), kPngSignature.size());
    WritePngChunk(out, "IHDR", IhdrBytes(header));
    const PngImage noAlpha;
    const PngGamma identity;
    WriteImageData(out, noAlpha, header, settings, identity,
                   [&gate](uint32_t y) { return gate.WaitForRow(static_cast<int>(y)); });
    WritePngChunk(out, "IEND", {});
}

}  // namespace kobalto
