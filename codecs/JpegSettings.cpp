#include "codecs/JpegSettings.h"

namespace kobalto {

TJPEGSettings& JPEGDefaults()
{
    static TJPEGSettings defaults;
    return defaults;
}

}  // namespace kobalto
