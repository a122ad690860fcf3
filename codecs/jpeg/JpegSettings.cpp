#include "codecs/jpeg/JpegSettings.h"

namespace kobalto {

TJPEGSettings& JPEGDefaults()
{
    static TJPEGSettings defaults;
    return defaults;
}

}  // namespace kobalto
