#include "codecs/jpeg/JpegOutput.h"

#include <algorithm>

namespace kobalto {

namespace {

constexpr int kDesiredColors = 236;

}  // namespace

TJpegOutput ChooseJpegOutput(j_decompress_ptr c, const TJpegDecodeOptions& o)
{
    TJpegOutput out;
    c->scale_num = 1;
    c->scale_denom = 1u << std::clamp(o.scaleShift, 0, 3);
    c->do_block_smoothing = o.smoothing ? TRUE : FALSE;
    if (c->jpeg_color_space == JCS_CMYK || c->jpeg_color_space == JCS_YCCK) {
        // libjpeg converts inks to nothing but inks; no quantiser for them.
        c->out_color_space = JCS_CMYK;
        out.cmyk = true;
        out.bytesPerPixel = 4;
    } else if (o.grayscale || c->jpeg_color_space == JCS_GRAYSCALE) {
        c->out_color_space = JCS_GRAYSCALE;
        out.quantise = true;
    } else if (o.eightBit) {
        c->out_color_space = JCS_RGB;  // the quantiser's palette is red, green, blue
        out.quantise = true;
    } else {
        c->out_color_space = JCS_EXT_BGR;  // straight into the bitmap's rows
    }
    if (out.quantise) {
        c->quantize_colors = TRUE;
        c->desired_number_of_colors = kDesiredColors;
        out.bytesPerPixel = 1;
    }
    if (o.bestSpeed) {
        c->dct_method = JDCT_IFAST;
        c->two_pass_quantize = FALSE;
        c->dither_mode = JDITHER_ORDERED;
    }
    return out;
}

TJpegOutput PrepareJpegRows(JpegDecompressor& d, const TJpegDecodeOptions& options)
{
    j_decompress_ptr c = d.Info();
    d.ReadHeader(false);
    d.AcceptCutFile();
    const TJpegOutput out = ChooseJpegOutput(c, options);
    d.Guard([c] { jpeg_calc_output_dimensions(c); });
    return out;
}

}  // namespace kobalto
