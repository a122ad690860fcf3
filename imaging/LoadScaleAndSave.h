#pragma once
// One file's load, scale and save, with the save begun before the load is
// done where that can be.
#include <functional>
#include <string>

#include "imaging/LoadImageFile.h"
#include "imaging/PictureHolder.h"

namespace kobalto {

// LoadAndScaleImage(holder, false, path, factor, pump), then loaded(), then
// SaveImageFile(holder.Bitmap(), outPath, false, 0): the same picture, the
// same file and the same errors, a failure to load raised before any of
// saving. When outPath names a PNG file and a core is idle, the file is
// encoded on a second thread from the rows the decoder has filled so far,
// so that writing overlaps decoding; it is put in place only once the
// picture is complete, and not at all when loading fails.
void LoadScaleAndSave(PictureHolder& holder, const std::string& path, double factor, const std::string& outPath,
                      const MessagePump& pump = {}, const std::function<void()>& loaded = {});

}  // namespace kobalto
