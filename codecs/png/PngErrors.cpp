#include "codecs/png/PngErrors.h"

#include "base/Messages.h"
#include "codecs/png/PngMessages.h"

namespace kobalto {

EPNGInvalidFileHeader::EPNGInvalidFileHeader() : Exception(msg::kPngInvalidFileHeader) {}
EPNGIHDRNotFirst::EPNGIHDRNotFirst() : Exception(msg::kPngIhdrNotFirst) {}
EPngUnexpectedEnd::EPngUnexpectedEnd() : Exception(msg::kPngUnexpectedEnd) {}
EPNGUnknownCriticalChunk::EPNGUnknownCriticalChunk() : Exception(msg::kPngUnknownCriticalChunk) {}
EPNGNoImageData::EPNGNoImageData() : Exception(msg::kPngNoImageData) {}
EPngInvalidIHDR::EPngInvalidIHDR() : Exception(msg::kPngInvalidIhdr) {}
EPNGSizeExceeds::EPNGSizeExceeds() : Exception(msg::kPngSizeExceeds) {}
EPNGUnknownCompression::EPNGUnknownCompression() : Exception(msg::kPngUnknownCompression) {}
EPNGUnknownInterlace::EPNGUnknownInterlace() : Exception(msg::kPngUnknownInterlace) {}
EPngInvalidCRC::EPngInvalidCRC() : Exception(msg::kPngInvalidCrc) {}
EPNGMissingMultipleIDAT::EPNGMissingMultipleIDAT() : Exception(msg::kPngMissingMultipleIdat) {}
EPNGInvalidPalette::EPNGInvalidPalette() : Exception(msg::kPngInvalidPalette) {}

EPNGZLIBError::EPNGZLIBError(std::string_view description)
    : Exception(msg::Format(msg::kPngZlibError, {description}))
{
}

void PngTruncated(std::string_view)
{
    throw EPngUnexpectedEnd();
}

}  // namespace kobalto
