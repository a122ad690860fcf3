#pragma once

namespace kobalto {

// How the samples of a pixel are to be read.
enum class TColorScheme {
    Unknown,       // no conversion exists; the converter refuses it
    Grey,          // one sample (a second one is alpha and dropped)
    Indexed,       // one palette index (a second one is alpha and dropped)
    RGB,
    RGBA,
    BGR,
    BGRA,
    CMYK,
    CIELab,
    YCbCr,
};

}  // namespace kobalto
