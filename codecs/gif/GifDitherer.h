#pragma once
// Dither engines that map rows of 24-bit colour onto a palette. Rows are
// walked serpentine: the first left to right, the next right to left, and so
// on, so that diffused error never piles up along one edge.
#include <cstdint>
#include <vector>

#include "codecs/gif/GifFastColorLookup.h"

namespace kobalto {

// The plain engine: each pixel takes the lookup's answer, nothing diffuses.
class TDitherEngine {
public:
    TDitherEngine(int width, TFastColorLookup& lookup) : width_(width), lookup_(lookup) {}
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    // Maps one row: bgr holds width × 3 bytes blue, green, red; indices
    // receives width palette indices, in image order whatever the direction.
    // Then turns round for the next row.
    virtual void DitherRow(const uint8_t* bgr, uint8_t* indices);

protected:
    void NextLine();

    int width_;
    TFastColorLookup& lookup_;
    int direction_ = 1;
    int column_ = 0;
};

// Floyd–Steinberg: 7/16 of a pixel's error goes to the next pixel of the
// row, 3/16, 5/16 and 1/16 to the row below, carried through one row of
// errors per channel.
class TFloydSteinbergDitherer : public TDitherEngine {
public:
    TFloydSteinbergDitherer(int width, TFastColorLookup& lookup);
    void DitherRow(const uint8_t* bgr, uint8_t* indices) override;

private:
    struct Channel {
        std::vector<int> errors;  // width + 2 entries
        int current = 0;
        int belowPrevious = 0;
        int below = 0;
    };
    // Red, green, blue.
    Channel channels_[3];
    int position_ = 0;
};

}  // namespace kobalto
