#pragma once
// How a reader gives back the input it is done with, so that a large file
// does not stay in memory beside its decoded picture.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace kobalto {

// Called with bytes the reader will not need again; the whole pages of a
// mapped file among them leave memory and are read from the file again if
// touched. Safe for any bytes, in any order.
using TInputRelease = std::function<void(std::span<const uint8_t>)>;

// For a reader moving forward through a stretch of its input: gives back
// what lies behind it a quarter megabyte or more at a time, so a row costs no
// system call. Moving back releases nothing.
class TReleaseBehind {
public:
    // Starts at offset start of input.
    TReleaseBehind(TInputRelease release, std::span<const uint8_t> input, size_t start = 0);
    // The reader is done with the bytes of input before offset.
    void Reached(size_t offset);

private:
    TInputRelease release_;
    std::span<const uint8_t> input_;
    size_t released_;
};

}  // namespace kobalto
