#pragma once
// Puts the decoded rows of a stored picture into its upright bitmap, turning
// and mirroring as an EXIF orientation asks, pixel by pixel as rows arrive,
// so no second full-size picture is needed.
#include <cstddef>
#include <cstdint>

namespace kobalto {

class TBitmap;

class JpegOrientedRows {
public:
    // target is already sized upright (sides swapped for 5 to 8);
    // storedWidth × storedHeight is the picture as decoded. bytesPerPixel is
    // that of target's format (1 or 3).
    JpegOrientedRows(TBitmap& target, int storedWidth, int storedHeight, int orientation, int bytesPerPixel);

    // The target row that stored row y fills unchanged, or null when the
    // orientation moves its pixels apart (anything but 1 and 4).
    uint8_t* DirectRow(int y) const;
    // Copies stored row y (storedWidth pixels) to where the orientation puts it.
    void Place(int y, const uint8_t* row) const;

private:
    TBitmap& target_;
    int width_;
    int height_;
    int orientation_;
    int bpp_;
};

}  // namespace kobalto
