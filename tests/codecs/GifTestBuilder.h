#pragma once
// Builds GIF files byte by byte for the reader tests: every block can be
// written right or wrong on purpose.
#include <cstdint>
#include <string>
#include <vector>

#include "base/TByteWriter.h"
#include "codecs/gif/GifLzwEncoder.h"
#include "graphics/TColor.h"

namespace kobalto::test {

class GifBuilder {
public:
    // Signature, version and logical screen; a global table when colors is
    // not empty (padded with black to 2^bits entries).
    GifBuilder(uint16_t width, uint16_t height, const std::vector<TColor>& colors = {}, std::string version = "89a")
    {
        out_.Text("GIF");
        out_.Text(version);
        out_.U16LE(width);
        out_.U16LE(height);
        const int bits = Bits(colors);
        out_.U8(static_cast<uint8_t>(colors.empty() ? 0 : 0x80 | (bits - 1)));
        out_.U8(0);
        out_.U8(0);
        if (!colors.empty())
            Table(colors, bits);
    }

    GifBuilder& GraphicControl(bool transparent, uint8_t index, int disposal = 0)
    {
        const uint8_t block[] = {0x21, 0xF9, 4, static_cast<uint8_t>((disposal << 2) | (transparent ? 1 : 0)),
                                 0, 0, index, 0};
        out_.Bytes(block);
        return *this;
    }

    // An extension of any label with the given sub-block contents.
    GifBuilder& Extension(uint8_t label, const std::vector<std::string>& blocks)
    {
        out_.U8(0x21);
        out_.U8(label);
        for (const std::string& b : blocks) {
            out_.U8(static_cast<uint8_t>(b.size()));
            out_.Text(b);
        }
        out_.U8(0);
        return *this;
    }

    // An image whose pixels (in the order the file stores them) are
    // LZW-coded with the given minimum code size.
    GifBuilder& Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                      const std::vector<uint8_t>& storedPixels, int codeBits, const std::vector<TColor>& local = {},
                      bool interlaced = false)
    {
        Descriptor(left, top, width, height, local, interlaced);
        EncodeGifLzw(storedPixels, width, height, false, codeBits, 256, out_);
        return *this;
    }

    // An image with raw bytes after the descriptor (code size and data).
    GifBuilder& RawImage(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                         const std::vector<uint8_t>& raw)
    {
        Descriptor(left, top, width, height, {}, false);
        out_.Bytes(raw);
        return *this;
    }

    GifBuilder& Byte(uint8_t b)
    {
        out_.U8(b);
        return *this;
    }

    std::vector<uint8_t> Finish()
    {
        out_.U8(0x3B);
        return out_.Data();
    }
    std::vector<uint8_t> WithoutTrailer() const { return out_.Data(); }

private:
    static int Bits(const std::vector<TColor>& colors)
    {
        int bits = 1;
        while ((size_t{1} << bits) < colors.size())
            ++bits;
        return bits;
    }
    void Table(const std::vector<TColor>& colors, int bits)
    {
        for (size_t i = 0; i < (size_t{1} << bits); ++i) {
            const TColor c = i < colors.size() ? colors[i] : TColor{};
            out_.U8(c.red);
            out_.U8(c.green);
            out_.U8(c.blue);
        }
    }
    void Descriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height, const std::vector<TColor>& local,
                    bool interlaced)
    {
        out_.U8(0x2C);
        out_.U16LE(left);
        out_.U16LE(top);
        out_.U16LE(width);
        out_.U16LE(height);
        const int bits = Bits(local);
        out_.U8(static_cast<uint8_t>((local.empty() ? 0 : 0x80 | (bits - 1)) | (interlaced ? 0x40 : 0)));
        if (!local.empty())
            Table(local, bits);
    }

    TByteWriter out_;
};

}  // namespace kobalto::test
