#include "graphics/TGraphic.h"

#include "base/Exceptions.h"
#include "base/SafeFileWriter.h"
#include "base/TFileStream.h"
#include "graphics/TBitmap.h"
#include "graphics/GraphicsMessages.h"

namespace kobalto {

void TGraphic::SaveToStream(TStream&) const
{
    throw EInvalidGraphicOperation(msg::Format(msg::kCannotSaveKind, {ClassName()}));
}

void TGraphic::LoadFromFile(const std::string& path)
{
    TFileStream stream(path, TFileStream::Mode::OpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& path) const
{
    WriteFileSafely(path, [this](TStream& stream) { SaveToStream(stream); });
}

void TGraphic::AssignBitmap(const TBitmap&)
{
    throw EInvalidGraphicOperation(msg::Format(msg::kCannotAssign, {ClassName()}));
}

std::unique_ptr<TBitmap> TGraphic::TakeWorkingBitmap()
{
    auto bitmap = std::make_unique<TBitmap>(Width(), Height(), TPixelFormat::pf24bit);
    Draw(*bitmap, 0, 0);
    return bitmap;
}

std::unique_ptr<TBitmap> TGraphic::TakeStretchedBitmap(const TStretchTarget&, TRowGate*) { return nullptr; }

}  // namespace kobalto
