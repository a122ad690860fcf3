#pragma once
// The extended-format list: one record per extension and one per graphic
// class, with descriptions and format kinds. Every registration here is
// passed on to the picture registry as well.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "codecs/registry/TFileFormatsList.h"

namespace kobalto {

// Format kinds, a set of flags in bit order.
enum TFormatKind : uint8_t {
    fkAnimation = 1 << 0,
    fkLayered = 1 << 1,
    fkMultiImage = 1 << 2,
    fkRaster = 1 << 3,
    fkVector = 1 << 4,
};

class TFileFormatList {
public:
    struct ClassRecord {
        const TGraphicClass* graphicClass = nullptr;
        std::string description;
        int count = 0;
    };
    struct ExtensionRecord {
        std::string extension;
        std::string description;
        uint8_t kinds = 0;
        ClassRecord* classRecord = nullptr;
    };

    explicit TFileFormatList(TFileFormatsList& pictureRegistry) : registry_(pictureRegistry) {}

    // Raises EInvalidGraphic "Attempt to register %s twice." for a known
    // extension unless replace is set.
    void RegisterFileFormat(std::string_view extension, std::string_view commonDescription,
                            std::string_view individualDescription, uint8_t kinds, bool replace,
                            const TGraphicClass* graphicClass);
    void UnregisterFileFormat(std::string_view extension);
    void UnregisterClass(const TGraphicClass* graphicClass);

    const ExtensionRecord* FindExtension(std::string_view extension) const;
    const std::vector<std::unique_ptr<ExtensionRecord>>& Extensions() const { return extensions_; }
    const std::vector<std::unique_ptr<ClassRecord>>& Classes() const { return classes_; }

private:
    ClassRecord* AttachClass(const TGraphicClass* graphicClass, std::string_view commonDescription);
    void Release(ClassRecord* record);

    TFileFormatsList& registry_;
    std::vector<std::unique_ptr<ExtensionRecord>> extensions_;
    std::vector<std::unique_ptr<ClassRecord>> classes_;
};

}  // namespace kobalto
