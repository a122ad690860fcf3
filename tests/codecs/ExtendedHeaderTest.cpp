// The header edge cases of the PCX, PNM, Photoshop, Paintshop Pro, RLA and
// Autodesk readers: what each refuses with which message, and the small
// pictures whose pixels show a header field read right.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "codecs/autodesk/TAutodeskGraphic.h"
#include "codecs/pcx/TPCXGraphic.h"
#include "codecs/pnm/TPPMGraphic.h"
#include "codecs/psd/TPSDGraphic.h"
#include "codecs/psp/TPSPGraphic.h"
#include "codecs/rla/TRLAGraphic.h"
#include "tests/codecs/ExtendedHeaderFiles.h"

namespace kobalto {
namespace {

using test::FileBytes;

enum class Reader { Pcx, Pnm, Psd, Psp, Rla, Autodesk };

std::unique_ptr<TExtendedGraphic> Make(Reader r)
{
    switch (r) {
    case Reader::Pcx: return std::make_unique<TPCXGraphic>();
    case Reader::Pnm: return std::make_unique<TPPMGraphic>();
    case Reader::Psd: return std::make_unique<TPSDGraphic>();
    case Reader::Psp: return std::make_unique<TPSPGraphic>();
    case Reader::Rla: return std::make_unique<TRLAGraphic>();
    case Reader::Autodesk: return std::make_unique<TAutodeskGraphic>();
    }
    return nullptr;
}

FileBytes Text(const std::string& s) { return FileBytes().Text(s); }
FileBytes With(FileBytes f, std::initializer_list<uint8_t> more) { return f.Raw(more); }

const std::string kPcxInvalid = "Cannot load image. Invalid or unexpected PCX image format.";
const std::string kPnmInvalid = "Cannot load image. Invalid or unexpected PBM, PGM or PPM image format.";
const std::string kPsdInvalid = "Cannot load image. Invalid or unexpected PSD or PDD image format.";
const std::string kPspInvalid = "Cannot load image. Invalid or unexpected PSP image format.";
const std::string kRlaInvalid = "Cannot load image. Invalid or unexpected RLA image format.";
const std::string kCelInvalid = "Cannot load image. Invalid or unexpected Autodesk image format.";

// A 2 × 2 RLA file whose lines each hold three channels of one run.
FileBytes Rla(const test::RlaSpec& spec, uint32_t firstOffset = 748)
{
    FileBytes lines;
    for (uint8_t v : {10, 20})  // the bottom line, then the top one
        for (int c = 0; c < 3; ++c)
            lines.U16BE(2).Raw({1, uint8_t(v + c)});
    return test::RlaHeader(spec, {firstOffset, 748 + 12}).Append(lines);
}

TEST(ExtendedHeaders, RefusedWithTheFormatsMessage)
{
    const struct {
        const char* what;
        Reader reader;
        FileBytes file;
        std::string message;
    } cases[] = {
        // PNM: sizes and maximum sample values out of range.
        {"PNM magic P7", Reader::Pnm, Text("P7 1 1 255\n\x01"), kPnmInvalid},
        {"PNM width 0", Reader::Pnm, Text("P5 0 1 255\n"), kPnmInvalid},
        {"PNM maximum 0", Reader::Pnm, Text("P2 1 1 0\n0"), kPnmInvalid},
        {"PNM maximum 65536", Reader::Pnm, Text("P2 1 1 65536\n0"), kPnmInvalid},
        {"PNM no white space after the maximum", Reader::Pnm, Text("P5 1 1 255"), kPnmInvalid},
        {"PNM ten-digit width", Reader::Pnm, Text("P5 1000000000 1 255\n"), kPnmInvalid},
        {"PNM binary rows cut", Reader::Pnm, Text("P6 2 1 255\n\x01\x02\x03"), "Stream read error in PBM, PGM or PPM file."},
        {"PNM text samples cut", Reader::Pnm, Text("P2 2 1 255\n7"), "Stream read error in PBM, PGM or PPM file."},
        // PCX: manufacturer byte, window, line length and plane layouts.
        {"PCX manufacturer 11", Reader::Pcx, test::PcxHeader({.manufacturer = 11}), kPcxInvalid},
        {"PCX line shorter than a row", Reader::Pcx, test::PcxHeader({.width = 3, .bytesPerLine = 2}), kPcxInvalid},
        {"PCX two 8-bit planes", Reader::Pcx, test::PcxHeader({.planes = 2}), "Invalid color format in PCX file."},
        {"PCX 16 bits", Reader::Pcx, test::PcxHeader({.bits = 16}), "Invalid color format in PCX file."},
        {"PCX header cut", Reader::Pcx, FileBytes().Raw({10, 5, 1, 8}), "Stream read error in PCX file."},
        // Photoshop: large documents, 32-bit channels, deflate, sections
        // and lines past the end, a short palette.
        {"PSD version 2", Reader::Psd, test::PsdHeader({.version = 2}), kPsdInvalid},
        {"PSD 32-bit channels", Reader::Psd, test::PsdHeader({.depth = 32}), kPsdInvalid},
        {"PSD 1 bit outside bitmap mode", Reader::Psd, test::PsdHeader({.depth = 1}), kPsdInvalid},
        {"PSD width over 30000", Reader::Psd, test::PsdHeader({.width = 30001}), kPsdInvalid},
        {"PSD CMYK in 3 channels", Reader::Psd, test::PsdHeader({.mode = 4}), kPsdInvalid},
        {"PSD deflate", Reader::Psd, test::PsdHeader({.compression = 2}),
         "Cannot load image. The compression scheme is not supported for PSD or PDD files."},
        {"PSD raw lines cut", Reader::Psd, With(test::PsdHeader({}), {1, 2, 3, 4, 5}), "Stream read error in PSD or PDD file."},
        {"PSD run-length lines past the end", Reader::Psd,
         test::PsdHeader({.compression = 1}).U16BE(9).U16BE(2).U16BE(2).Raw({1, 7, 7}),
         "Stream read error in PSD or PDD file."},
        {"PSD colour data past the end", Reader::Psd, FileBytes().Text("8BPS").U16BE(1).Zeros(6).U16BE(3).U32BE(1).U32BE(1).U16BE(8).U16BE(3).U32BE(1000),
         "Stream read error in PSD or PDD file."},
        {"PSD indexed without its palette", Reader::Psd, test::PsdHeader({.channels = 1, .mode = 2, .colorData = {1, 2}}),
         "Cannot load image. Palette in PSD or PDD file is invalid."},
        // Paintshop Pro: signature, version, depth and compression.
        {"PSP signature", Reader::Psp, Text("Paint Shop Pro Image Filf\n\x1a").Zeros(5).U16LE(5).U16LE(0), kPspInvalid},
        {"PSP version 2", Reader::Psp, test::PspStart({.major = 2}), kPspInvalid},
        {"PSP 16 bits", Reader::Psp, test::PspStart({.depth = 16}), "Invalid color format in PSP file."},
        {"PSP JPEG blocks", Reader::Psp, test::PspStart({.compression = 3}),
         "Cannot load image. The compression scheme is not supported for PSP files."},
        {"PSP block length past the end", Reader::Psp, test::PspStart({}).Text("~BK").Raw({0}).U16LE(3).U32LE(99),
         "Stream read error in PSP file."},
        {"PSP indexed without a palette", Reader::Psp, test::PspStart({.depth = 8}),
         "Cannot load image. Palette in PSP file is invalid."},
        // RLA: channel texts, float samples, offsets outside the file.
        {"RLA channels xyz", Reader::Rla, Rla({.channels = "xyz"}), kRlaInvalid},
        {"RLA float storage", Reader::Rla, Rla({.storage = 4}), kRlaInvalid},
        {"RLA 32-bit samples", Reader::Rla, Rla({.bits = 32}), kRlaInvalid},
        {"RLA offset past the end", Reader::Rla, Rla({}, 5000), kRlaInvalid},
        {"RLA offset inside the header", Reader::Rla, Rla({}, 10), kRlaInvalid},
        {"RLA header cut", Reader::Rla, FileBytes().Zeros(700), "Stream read error in RLA file."},
        // Autodesk: other files under the same extensions, other depths.
        // Data that cannot fill a quarter of 3000 × 3000 pixels, even at
        // the best its coding gives per byte.
        {"PCX run-length data far too short", Reader::Pcx,
         With(test::PcxHeader({.encoding = 1, .width = 3000, .height = 3000, .bytesPerLine = 3000}), {0xC1, 5}), kPcxInvalid},
        {"PCX stored lines far too short", Reader::Pcx,
         With(test::PcxHeader({.width = 3000, .height = 3000, .bytesPerLine = 3000}), {1, 2, 3}), kPcxInvalid},
        {"PSD run-length lines all empty", Reader::Psd,
         test::PsdHeader({.height = 3000, .width = 3000, .compression = 1}).Zeros(2 * 3 * 3000), kPsdInvalid},
        {"PSP layer with two bytes of data", Reader::Psp,
         test::PspStart({.width = 3000, .height = 3000})
             .Append(test::PspBlock(3, test::PspLayer(0, 0, 3000, 3000, 255, {{0, 1, {1, 2}}}))),
         kPspInvalid},
        {"RLA lines all sharing one line's data", Reader::Rla,
         test::RlaHeader({.width = 3000, .height = 3000}, std::vector<uint32_t>(3000, 740 + 4 * 3000))
             .U16BE(2).Raw({1, 0}).U16BE(2).Raw({1, 0}).U16BE(2).Raw({1, 0}),
         kRlaInvalid},
        {"Softimage picture", Reader::Autodesk, FileBytes().U32BE(0x5380F634).Zeros(100), kCelInvalid},
        {"Animator Pro cel", Reader::Autodesk, FileBytes().U32LE(200).U16LE(0xAF12).Zeros(100), kCelInvalid},
        {"cel of 4 bits", Reader::Autodesk, test::CelHeader({.depth = 4}), kCelInvalid},
        {"cel compressed", Reader::Autodesk, test::CelHeader({.compression = 1}), kCelInvalid},
        {"cel pixel count off", Reader::Autodesk, test::CelHeader({.pixelBytes = 3}), kCelInvalid},
        {"cel pixels cut", Reader::Autodesk, With(test::CelHeader({}), {1}), "Stream read error in Autodesk file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<TExtendedGraphic> g = Make(c.reader);
        try {
            g->LoadFromBytes(c.file.bytes);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

struct Pin {
    int x, y;
    TColor colour;
};

TEST(ExtendedHeaders, SmallPicturesShowTheirFieldsReadRight)
{
    std::vector<uint8_t> greyRamp(256 * 3);
    for (int i = 0; i < 256; ++i)
        greyRamp[i * 3] = greyRamp[i * 3 + 1] = greyRamp[i * 3 + 2] = uint8_t(255 - i);
    FileBytes pcxTrailer = test::PcxHeader({}).Raw({5, 250}).Raw({12});
    pcxTrailer.bytes.insert(pcxTrailer.bytes.end(), greyRamp.begin(), greyRamp.end());
    FileBytes psdIndexed = test::PsdHeader({.channels = 1, .mode = 2, .colorData = std::vector<uint8_t>(768, 0)});
    psdIndexed.bytes[26 + 4 + 1] = 200;  // red of entry 1
    psdIndexed.Raw({1, 0});

    const struct {
        const char* what;
        Reader reader;
        FileBytes file;
        TPixelFormat format;
        int width, height;
        std::vector<Pin> pins;
    } cases[] = {
        // Samples are scaled by the file's maximum: 15 is white, 7 is 119.
        {"PGM maximum 15", Reader::Pnm, Text("P5 2 1 15\n\x0f\x07"), TPixelFormat::pf8bit, 2, 1,
         {{0, 0, {255, 255, 255}}, {1, 0, {119, 119, 119}}}},
        // Above 255 two bytes a sample, high first: 0x0080 of 256 is 128.
        {"PGM maximum 256", Reader::Pnm, With(Text("P5 1 1 256\n"), {0x00, 0x80}), TPixelFormat::pf8bit, 1, 1,
         {{0, 0, {128, 128, 128}}}},
        {"PPM maximum 65535", Reader::Pnm, With(Text("P6 1 1 65535\n"), {0xFF, 0xFF, 0, 0, 0x80, 0}),
         TPixelFormat::pf24bit, 1, 1, {{0, 0, {255, 0, 128}}}},
        // Comments anywhere in the header; text bitmap digits need no space.
        {"PBM text", Reader::Pnm, Text("P1\n# a comment\n3 # more\n1\n010"), TPixelFormat::pf1bit, 3, 1,
         {{0, 0, {255, 255, 255}}, {1, 0, {0, 0, 0}}, {2, 0, {255, 255, 255}}}},
        {"PBM binary, row padding", Reader::Pnm, With(Text("P4 9 2\n"), {0x80, 0x7F, 0x00, 0x80}), TPixelFormat::pf1bit, 9, 2,
         {{0, 0, {0, 0, 0}}, {8, 0, {255, 255, 255}}, {8, 1, {0, 0, 0}}}},
        {"PPM text", Reader::Pnm, Text("P3 1 1 255 10 20 30"), TPixelFormat::pf24bit, 1, 1, {{0, 0, {10, 20, 30}}}},
        // PCX: the 256-colour palette at the end when it starts with 12.
        {"PCX trailer palette", Reader::Pcx, pcxTrailer, TPixelFormat::pf8bit, 2, 1,
         {{0, 0, {250, 250, 250}}, {1, 0, {5, 5, 5}}}},
        {"PCX no trailer: grey", Reader::Pcx, With(test::PcxHeader({}), {5, 250}), TPixelFormat::pf8bit, 2, 1,
         {{0, 0, {5, 5, 5}}, {1, 0, {250, 250, 250}}}},
        // Run-length: 0xC3 repeats the next byte three times across planes.
        {"PCX 24 bits, runs", Reader::Pcx,
         With(test::PcxHeader({.encoding = 1, .planes = 3, .width = 1, .bytesPerLine = 1}), {0xC2, 9, 0x41}),
         TPixelFormat::pf24bit, 1, 1, {{0, 0, {9, 9, 0x41}}}},
        // Four 1-bit planes: plane n gives bit n of the index.
        {"PCX 4 planes", Reader::Pcx,
         With(test::PcxHeader({.bits = 1, .planes = 4, .width = 2, .bytesPerLine = 1,
                               .map = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10}}),
              {0x80, 0x00, 0x80, 0x40}),
         TPixelFormat::pf4bit, 2, 1, {{0, 0, {5, 5, 5}}, {1, 0, {8, 8, 8}}}},
        // Version 3 has no palette: the system's 16 colours (4 navy, 12 blue).
        {"PCX version 3, 4 bits", Reader::Pcx,
         With(test::PcxHeader({.version = 3, .bits = 4, .width = 2, .bytesPerLine = 1}), {0x4C}),
         TPixelFormat::pf4bit, 2, 1, {{0, 0, {0, 0, 128}}, {1, 0, {0, 0, 255}}}},
        // Photoshop: planar channels, red first.
        {"PSD raw RGB", Reader::Psd, With(test::PsdHeader({}), {1, 2, 3, 4, 5, 6}), TPixelFormat::pf24bit, 2, 1,
         {{0, 0, {1, 3, 5}}, {1, 0, {2, 4, 6}}}},
        // PackBits lines: 0xFF repeats twice, 0x01 copies two.
        {"PSD run-length grey", Reader::Psd,
         With(test::PsdHeader({.channels = 1, .mode = 1, .compression = 1}), {0, 2, 0xFF, 77}),
         TPixelFormat::pf8bit, 2, 1, {{0, 0, {77, 77, 77}}, {1, 0, {77, 77, 77}}}},
        // Ink is stored as 255 minus the amount: all 255 is white.
        {"PSD CMYK", Reader::Psd, With(test::PsdHeader({.channels = 4, .width = 1, .mode = 4}), {255, 255, 0, 255}),
         TPixelFormat::pf24bit, 1, 1, {{0, 0, {255, 255, 0}}}},
        // Bitmap mode: a set bit is black.
        {"PSD bitmap", Reader::Psd, With(test::PsdHeader({.channels = 1, .depth = 1, .mode = 0}), {0x40}),
         TPixelFormat::pf1bit, 2, 1, {{0, 0, {255, 255, 255}}, {1, 0, {0, 0, 0}}}},
        {"PSD 16 bits, big-endian", Reader::Psd,
         With(test::PsdHeader({.channels = 1, .width = 1, .depth = 16, .mode = 1}), {0xFF, 0x00}),
         TPixelFormat::pf8bit, 1, 1, {{0, 0, {254, 254, 254}}}},
        {"PSD indexed", Reader::Psd, psdIndexed, TPixelFormat::pf8bit, 2, 1, {{0, 0, {200, 0, 0}}, {1, 0, {0, 0, 0}}}},
        // Paintshop Pro: a background, then a layer at (1, 0) half covered
        // by its mask, at full opacity: (250 × 128 + 20 × 127) / 255 is 135.
        {"PSP layers and mask", Reader::Psp,
         test::PspStart({})
             .Append(test::PspBlock(3, test::PspLayer(0, 0, 2, 1, 255, {{0, 1, {10, 20}}, {0, 2, {30, 40}}, {0, 3, {50, 60}}})
                                           .Append(test::PspLayer(1, 0, 1, 1, 255, {{0, 1, {250}}, {0, 2, {250}}, {0, 3, {250}}, {1, 0, {128}}})))),
         TPixelFormat::pf24bit, 2, 1, {{0, 0, {10, 30, 50}}, {1, 0, {135, 145, 155}}}},
        // RLA: the first line is the bottom one.
        {"RLA bottom-up", Reader::Rla, Rla({}), TPixelFormat::pf24bit, 2, 2,
         {{0, 0, {20, 21, 22}}, {1, 1, {10, 11, 12}}}},
        // A gamma of 0 means none; with 2.2, 10 becomes (10 / 255)^(1 / 4.84)
        // × 255 = 130.6, 11 133.2, 12 135.6.
        {"RLA gamma 0", Reader::Rla, Rla({.gamma = "0.0"}), TPixelFormat::pf24bit, 2, 2, {{0, 1, {10, 11, 12}}}},
        {"RLA gamma 2.2", Reader::Rla, Rla({.gamma = "2.2"}), TPixelFormat::pf24bit, 2, 2, {{0, 1, {131, 133, 136}}}},
        // Autodesk: 6-bit palette entries times 4.
        {"cel", Reader::Autodesk, With(test::CelHeader({}), {63, 1}), TPixelFormat::pf8bit, 2, 1,
         {{0, 0, {252, 252, 0}}, {1, 0, {4, 252, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<TExtendedGraphic> g = Make(c.reader);
        try {
            g->LoadFromBytes(c.file.bytes);
        } catch (const Exception& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_EQ(g->PixelFormat(), c.format);
        ASSERT_EQ(g->Width(), c.width);
        ASSERT_EQ(g->Height(), c.height);
        for (const Pin& p : c.pins) {
            const TColor got = g->Pixel(p.x, p.y);
            EXPECT_EQ(got, p.colour) << p.x << "," << p.y << ": " << int(got.red) << " " << int(got.green) << " "
                                     << int(got.blue);
        }
    }
}

TEST(ExtendedHeaders, CutFilesFailCleanlyOrLoadPartly)
{
    FileBytes pcx = With(test::PcxHeader({.encoding = 1, .planes = 3, .width = 3, .height = 2, .bytesPerLine = 3}),
                         {0xC5, 9, 1, 0xC4, 7, 0xC3, 0xC8, 0xC3, 1, 2, 3});
    FileBytes psdRle = test::PsdHeader({.compression = 1}).U16BE(2).U16BE(2).U16BE(3).Raw({0xFF, 5, 0xFF, 6, 1, 7, 8});
    const struct {
        const char* what;
        Reader reader;
        FileBytes file;
    } cases[] = {
        {"PPM", Reader::Pnm, With(Text("P6 # c\n2 1 255\n"), {1, 2, 3, 4, 5, 6})},
        {"PGM text", Reader::Pnm, Text("P2 2 2 300\n1 299\n300 7\n")},
        {"PCX", Reader::Pcx, pcx},
        {"PSD", Reader::Psd, psdRle},
        {"PSP", Reader::Psp,
         test::PspStart({.compression = 1})
             .Append(test::PspBlock(3, test::PspLayer(0, 0, 2, 1, 200, {{0, 1, {0x82, 9}}, {0, 2, {2, 1, 2}}, {1, 0, {0x82, 99}}})))},
        {"RLA", Reader::Rla, Rla({})},
        {"cel", Reader::Autodesk, With(test::CelHeader({}), {63, 1})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (size_t n = 0; n <= c.file.Size(); ++n) {
            std::unique_ptr<TExtendedGraphic> g = Make(c.reader);
            try {
                g->LoadFromBytes(std::span<const uint8_t>(c.file.bytes.data(), n));
            } catch (const EInvalidGraphic&) {
                continue;
            } catch (const std::exception& e) {
                ADD_FAILURE() << n << " bytes: " << e.what();
            }
            EXPECT_GT(g->Width(), 0) << n;
        }
        // Whole, the file loads.
        std::unique_ptr<TExtendedGraphic> g = Make(c.reader);
        EXPECT_NO_THROW(g->LoadFromBytes(c.file.bytes));
    }
}

}  // namespace
}  // namespace kobalto
