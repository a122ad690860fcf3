#pragma once
// A TIFF image file directory: its entries sorted by tag, looked up by binary
// search, and every value read through a reader over the whole TIFF data, so
// an entry whose values lie outside the data raises that reader's truncation
// error when it is used, never before and never out of bounds.
#include <cstdint>
#include <span>
#include <vector>

#include "base/TByteReader.h"

namespace kobalto {

struct TTiffHeader {
    bool knownMark = false;  // "II" or "MM"; any other mark reads little-endian
    bool magic42 = false;
    uint32_t firstDirectory = 0;
};

// Reads the 8-byte header at the start of tiff and sets tiff's byte order.
TTiffHeader ReadTiffHeader(TByteReader& tiff);

struct TTiffEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    size_t valuePos = 0;  // where the values start in the TIFF data (not yet checked)
};

class TTiffDirectory {
public:
    // Reads the directory at offset; tiff spans the whole TIFF data and has
    // its byte order set. A directory cut short raises tiff's truncation error.
    TTiffDirectory(const TByteReader& tiff, uint32_t offset);

    const TTiffEntry* Find(uint16_t tag) const;
    bool Has(uint16_t tag) const { return Find(tag) != nullptr; }
    uint32_t NextOffset() const { return next_; }

    // Integer values (BYTE, SHORT, LONG and their signed kinds, taken as
    // unsigned); an entry of another type, or none, gives an empty list.
    std::vector<uint32_t> Values(uint16_t tag) const;
    // The first integer value, or def when the field is absent or empty.
    uint32_t Value(uint16_t tag, uint32_t def) const;
    // RATIONAL, SRATIONAL, FLOAT and DOUBLE values, and integers as they are.
    // A zero denominator gives 0.
    std::vector<double> Reals(uint16_t tag) const;
    double Real(uint16_t tag, double def) const;
    // The raw bytes of the entry's values (for BYTE and UNDEFINED fields).
    std::span<const uint8_t> Bytes(uint16_t tag) const;

private:
    TByteReader ValueReader(const TTiffEntry& e) const;

    TByteReader tiff_;
    std::vector<TTiffEntry> entries_;
    uint32_t next_ = 0;
};

}  // namespace kobalto
