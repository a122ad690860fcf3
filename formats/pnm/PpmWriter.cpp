#include "formats/pnm/PpmWriter.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/Checked.h"
#include "base/Exceptions.h"
#include "base/SafeFileWriter.h"
#include "formats/RgbRows.h"
#include "graphics/TBitmap.h"

namespace kobalto {

void SaveBitmapAsPpm(const TBitmap& bitmap, const std::string& fileName)
{
    // Readers refuse a zero side.
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        throw EInvalidGraphicOperation("Cannot write an empty picture as PPM");
    const TRgbRows rows(bitmap);
    WriteFileSafely(fileName, [&rows](TStream& stream) {
        const std::string header =
            "P6\n" + std::to_string(rows.Width()) + " " + std::to_string(rows.Height()) + "\n255\n";
        stream.WriteBuffer(header.data(), header.size());
        std::vector<uint8_t> row(CheckedMul(static_cast<size_t>(rows.Width()), 3));
        for (int y = 0; y < rows.Height(); ++y) {
            rows.Interleaved(y, row.data());
            stream.WriteBuffer(row.data(), row.size());
        }
    });
}

}  // namespace kobalto
