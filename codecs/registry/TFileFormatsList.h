#pragma once
// The picture registry: extension → graphic class. Lookups go from the newest
// registration to the oldest, so a later registration of an extension wins.
#include <string>
#include <string_view>
#include <vector>

#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TFileFormatsList {
public:
    struct Entry {
        std::string extension;  // lower-cased, without the dot
        std::string description;
        int descriptionResource = 0;
        const TGraphicClass* graphicClass = nullptr;
    };

    void Add(std::string_view extension, std::string_view description, int descriptionResource,
             const TGraphicClass* graphicClass);
    // The class for an extension (any case, without the dot), or null.
    const TGraphicClass* FindExt(std::string_view extension) const;
    // Removes every entry whose class is graphicClass or a descendant of it.
    void Remove(const TGraphicClass* graphicClass);
    // Removes every entry of an extension.
    void RemoveExtension(std::string_view extension);

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

}  // namespace kobalto
