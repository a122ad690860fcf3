#pragma once
// The GIF89a extension blocks a frame can carry. Each one reads itself from
// its data sub-blocks and writes itself back as introducer, label, data
// sub-blocks and terminator.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/TByteReader.h"
#include "base/TByteWriter.h"

namespace kobalto {

class TGIFExtension {
public:
    static constexpr uint8_t kIntroducer = 0x21;

    virtual ~TGIFExtension() = default;
    virtual uint8_t Label() const = 0;
    virtual std::unique_ptr<TGIFExtension> Clone() const = 0;
    void Write(TByteWriter& out) const;

protected:
    // The data sub-blocks after the label, without the terminator.
    virtual void WriteData(TByteWriter& out) const = 0;
};

// Disposal, delay and the transparent colour of the frame that follows.
class TGIFGraphicControlExtension : public TGIFExtension {
public:
    static constexpr uint8_t kLabel = 0xF9;

    uint8_t Label() const override { return kLabel; }
    std::unique_ptr<TGIFExtension> Clone() const override
    {
        return std::make_unique<TGIFGraphicControlExtension>(*this);
    }
    // Reads the data sub-blocks that follow the label; the first must hold
    // at least four bytes.
    void Read(TByteReader& in);

    bool Transparent() const { return (packed_ & 0x01) != 0; }
    void SetTransparent(bool on) { packed_ = static_cast<uint8_t>(on ? (packed_ | 0x01) : (packed_ & ~0x01)); }
    uint8_t TransparentColorIndex() const { return transparentIndex_; }
    void SetTransparentColorIndex(uint8_t index) { transparentIndex_ = index; }
    int Disposal() const { return (packed_ >> 2) & 0x07; }
    uint16_t Delay() const { return delay_; }

protected:
    void WriteData(TByteWriter& out) const override;

private:
    uint8_t packed_ = 0;
    uint16_t delay_ = 0;
    uint8_t transparentIndex_ = 0;
};

// Any other extension (comment, application, plain text, unknown labels):
// its data sub-blocks are kept as they were read and written back unchanged.
class TGIFDataExtension : public TGIFExtension {
public:
    static constexpr uint8_t kComment = 0xFE;
    static constexpr uint8_t kApplication = 0xFF;
    static constexpr uint8_t kPlainText = 0x01;

    explicit TGIFDataExtension(uint8_t label) : label_(label) {}
    uint8_t Label() const override { return label_; }
    std::unique_ptr<TGIFExtension> Clone() const override { return std::make_unique<TGIFDataExtension>(*this); }
    void Read(TByteReader& in);

    // The sub-blocks' contents, each without its length byte.
    const std::vector<std::vector<uint8_t>>& Blocks() const { return blocks_; }

protected:
    void WriteData(TByteWriter& out) const override;

private:
    uint8_t label_;
    std::vector<std::vector<uint8_t>> blocks_;
};

// Reads data sub-blocks up to their terminator and returns their contents
// joined. A file that ends first raises "Premature end of data".
std::vector<uint8_t> ReadGifSubBlocks(TByteReader& in);
// Skips data sub-blocks up to and including their terminator.
void SkipGifSubBlocks(TByteReader& in);

}  // namespace kobalto
