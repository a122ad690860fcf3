#pragma once
// The picture container: holds one picture and loads a file through the
// picture registry by the file's extension.
#include <memory>
#include <string>

#include "codecs/registry/TFileFormatList.h"
#include "codecs/registry/TFileFormatsList.h"
#include "graphics/TGraphic.h"

namespace kobalto {

class TPicture {
public:
    // The picture registry, filled with every known format on first use.
    static TFileFormatsList& FileFormats();
    // The extended-format list that feeds the picture registry.
    static TFileFormatList& ExtendedFormats();

    static void RegisterFileFormat(std::string_view extension, std::string_view description,
                                   const TGraphicClass* graphicClass);
    static void UnregisterGraphicClass(const TGraphicClass* graphicClass);

    // Loads path with the class registered for its extension. Raises
    // EInvalidGraphic "拡張子 .%s の画像形式は処理できません" for an unknown
    // extension; a reader's failure passes on and the previous picture stays.
    // With deferDecoding the picture is told TGraphic::DeferDecoding first.
    void LoadFromFile(const std::string& path, bool deferDecoding = false);

    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic) { graphic_ = std::move(graphic); }

private:
    std::unique_ptr<TGraphic> graphic_;
};

// The extension of a file name as the container sees it: the text after the
// last dot of the name part, without the dot; empty when there is none.
std::string PictureExtension(const std::string& path);

}  // namespace kobalto
