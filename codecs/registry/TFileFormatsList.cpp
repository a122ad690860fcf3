#include "codecs/registry/TFileFormatsList.h"

#include <algorithm>

#include "base/Text.h"

namespace kobalto {

void TFileFormatsList::Add(std::string_view extension, std::string_view description, int descriptionResource,
                           const TGraphicClass* graphicClass)
{
    entries_.push_back({LowerAscii(extension), std::string(description), descriptionResource, graphicClass});
}

const TGraphicClass* TFileFormatsList::FindExt(std::string_view extension) const
{
    const std::string wanted = LowerAscii(extension);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->extension == wanted)
            return it->graphicClass;
    return nullptr;
}

void TFileFormatsList::Remove(const TGraphicClass* graphicClass)
{
    std::erase_if(entries_, [graphicClass](const Entry& e) {
        return e.graphicClass && e.graphicClass->InheritsFrom(graphicClass);
    });
}

void TFileFormatsList::RemoveExtension(std::string_view extension)
{
    const std::string wanted = LowerAscii(extension);
    std::erase_if(entries_, [&wanted](const Entry& e) { return e.extension == wanted; });
}

}  // namespace kobalto
