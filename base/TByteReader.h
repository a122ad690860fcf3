#pragma once
// The one way decoders read a file's bytes: a bounded view with a format name.
// Reading past the end calls the format's truncation handler, which throws
// that format's own error; by default EReadError with the stream read text.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kobalto {

// For formats that say their byte order in the file (TIFF's "II" and "MM").
enum class TByteOrder { LittleEndian, BigEndian };

class TByteReader {
public:
    using TruncatedFn = void (*)(std::string_view format);  // must throw

    TByteReader(std::span<const uint8_t> bytes, std::string_view format,
                TruncatedFn onTruncated = nullptr);

    uint8_t U8();
    uint16_t U16LE();
    uint16_t U16BE();
    uint32_t U32LE();
    uint32_t U32BE();
    int32_t I32LE() { return static_cast<int32_t>(U32LE()); }
    // In the byte order set below (little-endian until set); readers made by
    // Sub keep it.
    uint16_t U16() { return order_ == TByteOrder::BigEndian ? U16BE() : U16LE(); }
    uint32_t U32() { return order_ == TByteOrder::BigEndian ? U32BE() : U32LE(); }
    void SetByteOrder(TByteOrder order) { order_ = order; }
    TByteOrder ByteOrder() const { return order_; }

    // The next n bytes; the position moves past them.
    std::span<const uint8_t> Take(size_t n);
    // A reader bounded to the next n bytes; the position moves past them.
    TByteReader Sub(size_t n);
    void Skip(size_t n) { Take(n); }
    // Absolute position inside this reader; beyond the end raises.
    void Seek(size_t pos);

    size_t Position() const { return pos_; }
    size_t Size() const { return bytes_.size(); }
    size_t Remaining() const { return bytes_.size() - pos_; }
    std::span<const uint8_t> Bytes() const { return bytes_; }
    std::string_view Format() const { return format_; }

    [[noreturn]] void Truncated() const;

private:
    void Need(size_t n) const
    {
        if (n > bytes_.size() - pos_)
            Truncated();
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    std::string_view format_;
    TruncatedFn onTruncated_;
    TByteOrder order_ = TByteOrder::LittleEndian;
};

}  // namespace kobalto
