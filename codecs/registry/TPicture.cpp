#include "codecs/registry/TPicture.h"

#include "base/Exceptions.h"
#include "base/Text.h"
#include "codecs/registry/CodecMessages.h"
#include "codecs/registry/RegisterFormats.h"

namespace kobalto {

namespace {

struct Registries {
    TFileFormatsList pictures;
    TFileFormatList extended{pictures};
    Registries() { RegisterFormats(pictures, extended); }
};

Registries& TheRegistries()
{
    static Registries registries;
    return registries;
}

}  // namespace

TFileFormatsList& TPicture::FileFormats() { return TheRegistries().pictures; }

TFileFormatList& TPicture::ExtendedFormats() { return TheRegistries().extended; }

void TPicture::RegisterFileFormat(std::string_view extension, std::string_view description,
                                  const TGraphicClass* graphicClass)
{
    FileFormats().Add(extension, description, 0, graphicClass);
}

void TPicture::UnregisterGraphicClass(const TGraphicClass* graphicClass) { FileFormats().Remove(graphicClass); }

std::string PictureExtension(const std::string& path)
{
    std::string name = FileNamePart(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

void TPicture::LoadFromFile(const std::string& path, bool deferDecoding)
{
    const std::string extension = PictureExtension(path);
    const TGraphicClass* graphicClass = FileFormats().FindExt(extension);
    if (!graphicClass)
        throw EInvalidGraphic(msg::Format(msg::kUnknownExtension, {extension}));
    std::unique_ptr<TGraphic> fresh = graphicClass->create();
    if (deferDecoding)
        fresh->DeferDecoding();
    fresh->LoadFromFile(path);
    graphic_ = std::move(fresh);
}

}  // namespace kobalto
