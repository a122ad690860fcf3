#include "codecs/registry/TFileFormatList.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/Text.h"
#include "codecs/registry/CodecMessages.h"

namespace kobalto {

const TFileFormatList::ExtensionRecord* TFileFormatList::FindExtension(std::string_view extension) const
{
    const std::string wanted = LowerAscii(extension);
    for (const auto& e : extensions_)
        if (LowerAscii(e->extension) == wanted)
            return e.get();
    return nullptr;
}

TFileFormatList::ClassRecord* TFileFormatList::AttachClass(const TGraphicClass* graphicClass,
                                                           std::string_view commonDescription)
{
    ClassRecord* record = nullptr;
    for (const auto& c : classes_)
        if (c->graphicClass == graphicClass) {
            record = c.get();
            break;
        }
    if (!record) {
        classes_.push_back(std::make_unique<ClassRecord>(ClassRecord{graphicClass, "", 0}));
        record = classes_.back().get();
    }
    if (!commonDescription.empty())
        record->description = std::string(commonDescription);
    ++record->count;
    return record;
}

void TFileFormatList::Release(ClassRecord* record)
{
    if (--record->count <= 0)
        std::erase_if(classes_, [record](const auto& c) { return c.get() == record; });
}

void TFileFormatList::RegisterFileFormat(std::string_view extension, std::string_view commonDescription,
                                         std::string_view individualDescription, uint8_t kinds, bool replace,
                                         const TGraphicClass* graphicClass)
{
    if (extension.empty())
        return;
    auto* existing = const_cast<ExtensionRecord*>(FindExtension(extension));
    if (!existing) {
        extensions_.push_back(std::make_unique<ExtensionRecord>(
            ExtensionRecord{std::string(extension), std::string(individualDescription), kinds, nullptr}));
        existing = extensions_.back().get();
        existing->classRecord = AttachClass(graphicClass, commonDescription);
    } else if (!replace) {
        throw EInvalidGraphic(msg::Format(msg::kRegisterTwice, {extension}));
    } else if (existing->classRecord->graphicClass != graphicClass) {
        ClassRecord* old = existing->classRecord;
        existing->classRecord = AttachClass(graphicClass, commonDescription);
        Release(old);
    }
    const std::string& description =
        individualDescription.empty() ? existing->classRecord->description : existing->description;
    registry_.Add(extension, individualDescription.empty() ? description : individualDescription, 0, graphicClass);
}

void TFileFormatList::UnregisterFileFormat(std::string_view extension)
{
    const std::string wanted = LowerAscii(extension);
    auto it = std::find_if(extensions_.begin(), extensions_.end(),
                           [&](const auto& e) { return LowerAscii(e->extension) == wanted; });
    if (it == extensions_.end())
        return;
    ClassRecord* record = (*it)->classRecord;
    extensions_.erase(it);
    Release(record);
    registry_.RemoveExtension(wanted);
}

void TFileFormatList::UnregisterClass(const TGraphicClass* graphicClass)
{
    std::vector<std::string> owned;
    for (const auto& e : extensions_)
        if (e->classRecord->graphicClass == graphicClass)
            owned.push_back(e->extension);
    for (const auto& ext : owned)
        UnregisterFileFormat(ext);
    registry_.Remove(graphicClass);
}

}  // namespace kobalto
