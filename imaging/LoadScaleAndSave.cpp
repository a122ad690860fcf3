#include "imaging/LoadScaleAndSave.h"

#include <exception>
#include <system_error>
#include <thread>

#include "graphics/TBitmap.h"
#include "graphics/TRowGate.h"
#include "imaging/Extension.h"
#include "imaging/SaveBitmapAsPng.h"
#include "imaging/SaveImageFile.h"
#include "imaging/Scaling.h"
#include "platform/SpareCores.h"

namespace kobalto {

namespace {

// What the row writer takes: what the writer table would write for it
// comes out the same.
bool TakenByRowWriter(const TBitmap& bitmap)
{
    return bitmap.PixelFormat() == TPixelFormat::pf24bit && !bitmap.Transparent() && bitmap.Width() > 0 &&
           bitmap.Height() > 0;
}

void LoadThenSave(PictureHolder& holder, const std::string& path, double factor, const std::string& outPath,
                  const MessagePump& pump, const std::function<void()>& loaded)
{
    LoadAndScaleImage(holder, false, path, factor, pump);
    if (loaded)
        loaded();
    SaveImageFile(holder.Bitmap(), outPath, false, 0);
}

}  // namespace

void LoadScaleAndSave(PictureHolder& holder, const std::string& path, double factor, const std::string& outPath,
                      const MessagePump& pump, const std::function<void()>& loaded)
{
    // A PNG file is written row by row as the rows arrive. (A JPEG one is
    // not: its decoder takes both cores already, and measured no faster.)
    if (LowerFileExt(outPath) != ".png" || platform::SpareCores() == 0)
        return LoadThenSave(holder, path, factor, outPath, pump, loaded);

    TRowGate rows;
    std::exception_ptr writeFault;
    std::thread writer;
    try {
        writer = std::thread([&rows, &writeFault, &outPath] {
            try {
                SaveRowsAsPng(rows, outPath);
            } catch (...) {
                writeFault = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return LoadThenSave(holder, path, factor, outPath, pump, loaded);
    }
    // The writer never outlives this call.
    struct Join {
        std::thread& thread;
        TRowGate& rows;
        ~Join()
        {
            rows.End(false);
            if (thread.joinable())
                thread.join();
        }
    } join{writer, rows};

    LoadAndScaleImage(holder, false, path, factor, pump, &rows);
    // A picture decoded whole published nothing, and is written the usual
    // way rather than copied for the writer. Rows not yet published are
    // final now.
    const TBitmap& bitmap = holder.Bitmap();
    const bool taken = rows.Started() && TakenByRowWriter(bitmap);
    if (taken)
        rows.Publish(bitmap, bitmap.Height());
    rows.End(taken);
    if (loaded)
        loaded();
    writer.join();
    if (!taken) {
        SaveImageFile(holder.Bitmap(), outPath, false, 0);
        return;
    }
    if (writeFault)
        std::rethrow_exception(writeFault);
}

}  // namespace kobalto
