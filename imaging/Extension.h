#pragma once
// Which files the program takes, decided by extension alone.
#include <string>
#include <string_view>

namespace kobalto {

// The lower-cased text from the last "." of the path to its end, dot
// included; empty when there is no dot or a "/" follows the last one.
std::string LowerFileExt(std::string_view path);

// True when the operating system's product name contains "Windows 7"
// (case significant). Asked anew at every call.
bool IsWindows7();

inline constexpr const char* kExtensionsWithoutIcons =
    ".eps;.bmp;.dib;.rle;.emf;.wmf;.gif;.png;.tga;.jpg;.jpeg;.tif;.tiff;.fax;.psp;.pdd;.psd;.rla;.ppm;.pcx;.pic";
inline constexpr const char* kExtensionsWithIcons =
    ".eps;.bmp;.dib;.rle;.emf;.wmf;.gif;.png;.tga;.jpg;.jpeg;.tif;.tiff;.fax;.psp;.pdd;.psd;.rla;.ppm;.pcx;.pic;.ico";

// The extension is looked for anywhere inside the accepted list's text, so
// parts of it (".jpe", ".ti", ".") pass as well as whole entries.
bool IsImageFileSupported(std::string_view path);
// The same test with the product name given.
bool IsImageFileSupportedOn(std::string_view path, std::string_view productName);

}  // namespace kobalto
