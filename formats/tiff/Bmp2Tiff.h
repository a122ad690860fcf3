#pragma once
// Writes a bitmap as an uncompressed, single-strip, little-endian TIFF file:
// the data blocks first, the image file directory last, and the header's
// directory offset patched at the end.
//
// 24- and 32-bit bitmaps become 8-8-8 RGB; 8- and 4-bit ones palette colour
// with a 16-bit colour map; 1-bit ones bilevel with black as zero. 15- and
// 16-bit bitmaps are widened to 24 bits and written as RGB.
#include <string>

#include "base/TStream.h"

namespace kobalto {

class TBitmap;

// Writes the whole file from the stream's current position. Every offset in
// the file is a position in this stream, so a stream that starts empty gets a
// standalone file. The stream must be seekable: the header is patched last.
// Raises EInvalidGraphicOperation for an empty bitmap or one with a side of
// 65536 pixels or more, and EWriteError when the stream takes fewer bytes
// than given. The bitmap is never changed.
void BitmapToTiffStream(TStream& stream, const TBitmap& bitmap);

// Writes the file under fileName, replacing an existing one only when the
// whole file was written; on any failure an existing file stays as it was.
void BitmapToTiffFile(const std::string& fileName, const TBitmap& bitmap);

}  // namespace kobalto
