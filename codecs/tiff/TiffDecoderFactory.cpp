#include "codecs/tiff/TiffDecoderFactory.h"

#include <zlib.h>

#include "codecs/decompress/FaxDecoders.h"
#include "codecs/decompress/LZ77Decoder.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/decompress/ThunderDecoder.h"
#include "codecs/decompress/TiffJpegDecoder.h"

namespace kobalto {

namespace {

TTiffJpegColor JpegColor(const TTiffImage& im)
{
    switch (im.scheme) {
    case TColorScheme::Grey: return TTiffJpegColor::Grey;
    case TColorScheme::RGB:
    case TColorScheme::RGBA: return TTiffJpegColor::RGB;
    case TColorScheme::CMYK: return TTiffJpegColor::CMYK;
    default: return TTiffJpegColor::YCbCr;
    }
}

TTiffJpegParams JpegParams(const TTiffImage& im)
{
    TTiffJpegParams p;
    p.width = im.chunkWidth;
    p.samplesPerPixel = im.samplesPerPixel;
    p.bitsPerSample = im.bitsPerSample;
    p.color = JpegColor(im);
    if (im.scheme == TColorScheme::YCbCr) {
        p.subsamplingH = im.subsamplingH;
        p.subsamplingV = im.subsamplingV;
    }
    p.planar = im.planar;
    p.tables = im.jpegTables;
    return p;
}

}  // namespace

int TiffJpegComponents(const TTiffImage& image) { return TTiffJpegDecoder(JpegParams(image)).OutputComponents(); }

std::unique_ptr<TDecoder> MakeTiffDecoder(const TTiffImage& im)
{
    switch (im.compression) {
    case TTiffCompression::None: return nullptr;
    case TTiffCompression::MH: return std::make_unique<TCCITTMHDecoder>(im.chunkWidth, im.reversedBits, false);
    case TTiffCompression::MHWord: return std::make_unique<TCCITTMHDecoder>(im.chunkWidth, im.reversedBits, true);
    case TTiffCompression::Fax3:
        return std::make_unique<TCCITTFax3Decoder>(im.chunkWidth, im.reversedBits, im.t4Options);
    case TTiffCompression::PackBits: return std::make_unique<TPackbitsRLEDecoder>();
    case TTiffCompression::Deflate: return std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, true);
    case TTiffCompression::Thunder: return std::make_unique<TThunderDecoder>(im.chunkWidth);
    case TTiffCompression::Jpeg: return std::make_unique<TTiffJpegDecoder>(JpegParams(im));
    }
    return nullptr;
}

size_t MaxExpansion(TTiffCompression compression)
{
    switch (compression) {
    case TTiffCompression::None: return 0;
    case TTiffCompression::Deflate: return kDeflateExpansion;
    case TTiffCompression::PackBits: return kPackbitsExpansion;
    case TTiffCompression::Thunder: return 32;    // 1 byte for 63 pixels
    case TTiffCompression::MH:
    case TTiffCompression::MHWord:
    case TTiffCompression::Fax3: return 256;      // 12 bits for a run of 2560
    case TTiffCompression::Jpeg: return 2048;
    }
    return 0;
}

}  // namespace kobalto
