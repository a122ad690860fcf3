#include "imaging/Extension.h"

#include "base/Text.h"
#include "platform/ProductName.h"

namespace kobalto {

std::string LowerFileExt(std::string_view path)
{
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return "";
    if (path.find('/', dot) != std::string_view::npos)
        return "";
    return LowerAscii(path.substr(dot));
}

namespace {

bool NamesWindows7(std::string_view productName) { return productName.find("Windows 7") != std::string_view::npos; }

}  // namespace

bool IsWindows7() { return NamesWindows7(platform::ProductName()); }

bool IsImageFileSupportedOn(std::string_view path, std::string_view productName)
{
    std::string_view list = NamesWindows7(productName) ? kExtensionsWithoutIcons : kExtensionsWithIcons;
    std::string e = LowerFileExt(path);
    return !e.empty() && list.find(e) != std::string_view::npos;
}

bool IsImageFileSupported(std::string_view path) { return IsImageFileSupportedOn(path, platform::ProductName()); }

}  // namespace kobalto
