#include "codecs/autodesk/TAutodeskGraphic.h"
#include "codecs/pcx/TPCXGraphic.h"
#include "codecs/pnm/TPPMGraphic.h"
#include "codecs/psd/TPSDGraphic.h"
#include "codecs/psp/TPSPGraphic.h"
#include "codecs/rla/TRLAGraphic.h"
#include "tests/codecs/ExtendedCorpus.h"

namespace kobalto::test {

namespace {

template <typename T>
std::function<std::unique_ptr<TExtendedGraphic>()> Make()
{
    return [] { return std::make_unique<T>(); };
}

std::string Invalid(const char* format)
{
    return std::string("Cannot load image. Invalid or unexpected ") + format + " image format.";
}
std::string Cut(const char* format) { return std::string("Stream read error in ") + format + " file."; }

CorpusCase Pnm()
{
    CorpusCase c;
    c.folder = "pnm";
    c.pattern = ".*";
    c.make = Make<TPPMGraphic>();
    const std::string invalid = Invalid("PBM, PGM or PPM");
    const std::string cut = Cut("PBM, PGM or PPM");
    c.refused = {
        {"black_1x1_4.pbm", invalid},     // text after the magic
        {"courB08.pbm", invalid},         // a PNG file under a .pbm name
        {"empty.pbm", invalid},
        {"incomplete.pgm", cut},
        {"incomplete.ppm", cut},
        {"negative_size.ppm", invalid},   // "-1" is no number here
        {"short.pbm", cut},
        {"wrong_header.pbm", invalid},
        {"wrong_header.pgm", invalid},
        {"wrong_header.ppm", invalid},
    };
    // 16-bit samples: we round v × 255 / 65535, the peer (v + 128) / 257.
    c.tolerance = {{"16_bit_binary.pgm", 1}, {"monkey16.pgm", 1}, {"random-fp16.pgm", 1}};
    c.counts = {{"valid", {31, 30}}, {"questionable", {2, 1}}, {"broken", {8, 0}}};
    return c;
}

CorpusCase Pcx()
{
    CorpusCase c;
    c.folder = "pcx";
    c.pattern = ".*";
    c.make = Make<TPCXGraphic>();
    c.refused = {
        {"01r_00.pcx", Invalid("PCX")},  // 12 bytes a line for 88 pixels of 8 bits
        {"hopper.dcx", Invalid("PCX")},  // a multi-page container, not a PCX file
        {"ossfuzz-4836216264589312.pcx", Invalid("PCX")},
    };
    // ImageMagick shows 1-bit files inverted; Pillow agrees with us.
    c.pillow = {{"pil184.pcx", "1 bit"}, {"ver3_0_palette_1bpp_10x10_white.pcx", "1 bit"}};
    c.tolerance = {
        // The palette entry i is (i, i, i); the peer darkens them (67 becomes 60).
        {"ccbug_463951.pcx", 7},
        // The peer's alpha blending rounds differently.
        {"dice_rgba.pcx", 1},
    };
    // The peer inverts it and Pillow cannot read it; the pins agree with
    // ccbug_463951.pcx, the same picture in 8 bits (white sky, black ground).
    c.pinned = {{"mono.pcx", {581, 400, {{0, 0, {255, 255, 255}}, {500, 50, {0, 0, 0}}}}}};
    c.counts = {{"valid", {20, 19}}, {"questionable", {1, 0}}, {"broken", {1, 0}}};
    return c;
}

CorpusCase Psd()
{
    CorpusCase c;
    c.folder = "psd";
    c.pattern = ".*";
    c.make = Make<TPSDGraphic>();
    // The merged image of a transparent document is stored laid on white.
    // The broken files are broken in their layers, which are not read.
    c.alphaMatted = true;
    const std::string invalid = Invalid("PSD or PDD");
    c.refused = {
        {"8bit-photoshop.psb", invalid},  // large document format
        {"duotone.psb", invalid},
        {"combined_larger_than_size.psd", Cut("PSD or PDD")},
    };
    // ImageMagick refuses indexed and single multichannel files, turns a
    // picture by its orientation resource and draws the layers of a file
    // saved without a merged image; we read neither resources nor layers.
    c.pillow = {{"indexed.psd", "indexed"},
                {"psd_indexed_trans.psd", "indexed"},
                {"mch1-8bits.psd", "one multichannel channel"},
                {"orientation6.psd", "orientation"},
                {"psd_123_nomaxcompat.psd", "blank merged image"}};
    c.tolerance = {
        // The peer takes the white out and lays the pixels on white again.
        {"birthday.pdd", 1},
        {"psd_123.psd", 1},
        // 16-bit samples: we truncate v × 255 / 65535, the peer rounds.
        {"argb16-raw-affinityphoto-1.8.5.psd", 1},
        // The peer rounds (255 - C)(255 - K) / 255; we truncate C × K / 255.
        {"cmyk8_testcard.psd", 1},
        // Grey and alpha: we keep the grey, as for every grey file; the peer
        // blends the circle's soft edge (664 pixels) with white.
        {"testcard_graya8.psd", 63},
    };
    // Neither peer reads it (ImageMagick refuses 57 channels, Pillow mixes
    // the alpha channels into the colours); ours is a red "hi" on white.
    c.pinned = {
        {"53alphas.psd", {256, 256, {{0, 0, {255, 255, 255}}, {40, 80, {192, 56, 56}}}}},
        // L*a*b* goes to linear RGB, without the peer's sRGB curve. At
        // (100, 75) L, a, b are stored as 21, 150, 141: L* 8.24, a* 22,
        // b* 13, worked through by hand to 8.6, 0.5, 0.8.
        {"laba_8bit.psd", {300, 300, {{100, 75, {9, 1, 1}}, {150, 150, {255, 255, 255}}}}},
    };
    c.counts = {{"valid", {27, 25}}, {"questionable", {2, 2}}, {"broken", {6, 5}}};
    return c;
}

// Paintshop Pro: no peer reads it. Each file carries its own composite as a
// small JPEG; our pictures, scaled to it, differ by 1 to 5 on average, and
// the pins were read where the composite is flat and agrees within 3.
CorpusCase Psp()
{
    CorpusCase c;
    c.folder = "psp";
    c.pattern = ".*";
    c.make = Make<TPSPGraphic>();
    c.peerReads = false;
    const TPinned gradient{64, 64, {{7, 7, {194, 197, 253}}, {51, 12, {255, 96, 96}}, {19, 54, {235, 254, 215}}}};
    const TPinned layered{256, 256, {{30, 30, {0, 0, 255}}, {204, 51, {255, 64, 64}}, {76, 217, {64, 64, 64}}}};
    c.pinned = {
        {"00_multi_colors.pspimage", gradient},
        {"01_quadrants.pspimage", {64, 64, {{51, 12, {255, 110, 110}}, {19, 54, {110, 255, 110}}}}},
        {"02_layered.pspimage", layered},
        {"06_game_hex.pspimage", {124, 107, {{14, 12, {0, 86, 214}}, {62, 53, {255, 64, 19}}}}},
        {"10_rle_comp.pspimage", gradient},
        {"11_version_six.pspimage", gradient},
        {"256_layers_04.psp", layered},
        {"Image3.pspimage", {64, 64, {{7, 7, {255, 255, 255}}, {51, 12, {128, 128, 255}}}}},
    };
    c.counts = {{"valid", {8, 8}}};
    return c;
}

// RLA: no peer reads it. The 16-bit file decodes to exactly the 8-bit one,
// which a wrong byte layout would not; the pins are its colour bars at 75%
// (191), the text upright.
CorpusCase Rla()
{
    CorpusCase c;
    c.folder = "misc";
    c.pattern = R"(.*\.rla)";
    c.make = Make<TRLAGraphic>();
    c.peerReads = false;
    c.refused = {{"crash2.rla", Invalid("RLA")}};
    const TPinned bars{512, 512, {{64, 256, {191, 191, 191}}, {128, 256, {191, 191, 0}}, {0, 0, {0, 0, 0}}}};
    // Alpha only: the letters' matte over white.
    const TPinned matte{512, 512, {{0, 0, {255, 255, 255}}, {64, 256, {0, 0, 0}}}};
    // With a matte the background is transparent: white here.
    const TPinned barsOverWhite{512, 512, {{64, 256, {191, 191, 191}}, {128, 256, {191, 191, 0}}, {0, 0, {255, 255, 255}}}};
    c.pinned = {
        {"ginsu_a_nc10.rla", matte},        {"ginsu_a_nc8.rla", matte},
        {"ginsu_rgb_nc16.rla", bars},       {"ginsu_rgb_nc8.rla", bars},
        {"ginsu_rgba_nc8.rla", barsOverWhite}, {"imgmake_rgba_nc10.rla", barsOverWhite},
    };
    c.counts = {{"valid", {6, 6}}, {"broken", {1, 0}}};
    return c;
}

// Autodesk cels: no peer reads them. Pins computed by hand from the file
// layout (pixel bytes after 32 + 768 bytes, palette entries times 4).
CorpusCase Autodesk()
{
    CorpusCase c;
    c.folder = "misc";
    c.pattern = R"(.*\.(cel|pic))";
    c.make = Make<TAutodeskGraphic>();
    c.peerReads = false;
    const std::string invalid = Invalid("Autodesk");
    // Animator Pro cels and Softimage pictures share the extensions.
    for (const char* name : {"4x4-alpha-uncompressed.pic", "4x4-alpha.pic", "4x4-simple-color-uncompressed.pic",
                             "4x4-simple-color.pic", "A4.pic", "APWCOL.CEL", "astone64.pic", "CLIPTEXT.CEL",
                             "EMPTY.CEL", "L-BULLET.CEL", "LOGO.CEL", "long-comment.pic", "long-runs.pic", "RED.CEL",
                             "RED2.CEL", "short-comment.pic", "SUN.CEL", "TEST.CEL", "UNNAMED.CEL"})
        c.refused[name] = invalid;
    c.pinned = {
        {"CRSHAIR.CEL", {314, 146, {{0, 0, {0, 0, 0}}, {157, 73, {140, 140, 140}}, {104, 36, {88, 88, 88}}}}},
        {"ZIN.CEL", {6, 6, {{0, 0, {184, 184, 252}}, {5, 5, {184, 184, 252}}}}},
        {"ZOUT.CEL", {6, 5, {{0, 0, {184, 184, 252}}, {3, 2, {0, 0, 0}}}}},
    };
    c.counts = {{"valid", {21, 3}}, {"questionable", {1, 0}}};
    return c;
}

}  // namespace

std::vector<CorpusCase> ExtendedCorpusCases() { return {Pnm(), Pcx(), Psd(), Psp(), Rla(), Autodesk()}; }

}  // namespace kobalto::test
