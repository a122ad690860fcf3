#include "imaging/SaveBitmapAsPng.h"

#include "base/SafeFileWriter.h"
#include "codecs/png/PngWriter.h"
#include "codecs/png/TPNGPicture.h"
#include "graphics/TRowGate.h"
#include "imaging/Extension.h"
#include "imaging/ReduceToOptimalPalette.h"

namespace kobalto {

bool SaveBitmapAsPng(TBitmap& bitmap, const std::string& path, bool transparent)
{
    if (LowerFileExt(path) != ".png")
        return false;
    TPNGPicture png;
    if (transparent) {
        ReduceToOptimalPalette(bitmap);
        const TColor key = bitmap.Empty() ? kWhite : bitmap.Pixel(0, bitmap.Height() - 1);
        png.AssignBitmap(bitmap, true, key);
    } else {
        png.AssignBitmap(bitmap);
    }
    png.SaveToFile(path);
    return true;
}

void SaveRowsAsPng(const TRowGate& rows, const std::string& path)
{
    // No temporary file for a picture whose rows never come.
    rows.WaitForSize();
    // A fresh picture's settings, as SaveBitmapAsPng's picture has.
    WriteFileSafely(path, [&rows](TStream& stream) {
        WritePngAsRowsArrive(stream, rows, PngEncoderSettings{});
        rows.WaitForCompletion();
    });
}

}  // namespace kobalto
