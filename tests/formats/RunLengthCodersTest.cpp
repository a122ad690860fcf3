// The two run-length coders at their limits: PackBits (Photoshop rows) and
// the PCX code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/pcx/PcxRunLength.h"
#include "formats/psd/PackBits.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// n bytes 0, 1, 2, ...: no two neighbours equal.
Bytes Ramp(int n, int from = 0)
{
    Bytes b;
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<uint8_t>(from + i));
    return b;
}

Bytes Same(int n, uint8_t v) { return Bytes(static_cast<size_t>(n), v); }

TEST(PackBits, RunsAndLiteralsStopAt128)
{
    const struct {
        const char* what;
        Bytes row, coded;
    } cases[] = {
        {"empty", {}, {}},
        {"one byte", {9}, {0, 9}},
        {"two equal", {9, 9}, {0xFF, 9}},
        {"128 literals", Ramp(128), Bytes{127} + Ramp(128)},
        {"129 literals", Ramp(129), Bytes{127} + Ramp(128) + Bytes{0, 128}},
        {"128 repeated", Same(128, 7), {0x81, 7}},
        {"129 repeated", Same(129, 7), {0x81, 7, 0, 7}},
        {"130 repeated", Same(130, 7), {0x81, 7, 0xFF, 7}},
        {"three equal end a literal", {1, 2, 5, 5, 5}, {1, 1, 2, 0xFE, 5}},
        {"two equal stay in a literal", {1, 5, 5, 2}, {3, 1, 5, 5, 2}},
        {"126 literals then a pair", Ramp(126) + Bytes{200, 200}, Bytes{127} + Ramp(126) + Bytes{200, 200}},
        {"127 literals then a pair", Ramp(127) + Bytes{200, 200}, Bytes{126} + Ramp(127) + Bytes{0xFF, 200}},
        {"128 literals then a pair", Ramp(128) + Bytes{200, 200}, Bytes{127} + Ramp(128) + Bytes{0xFF, 200}},
        {"literal of 128 between runs", Same(3, 0) + Ramp(128, 1) + Same(3, 0),
         Bytes{0xFE, 0, 127} + Ramp(128, 1) + Bytes{0xFE, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out = {0xAA};  // appends after what is there
        EXPECT_EQ(AppendPackBits(c.row, out), c.coded.size());
        EXPECT_EQ(out, Bytes{0xAA} + c.coded);
    }
}

TEST(PcxRunLength, RunsStopAt63AndHighBytesAlwaysCarryACount)
{
    const struct {
        const char* what;
        Bytes line, coded;
    } cases[] = {
        {"empty", {}, {}},
        {"low byte alone", {0xBF}, {0xBF}},
        {"high byte alone", {0xC0}, {0xC1, 0xC0}},
        {"0xFF alone", {0xFF}, {0xC1, 0xFF}},
        {"pair", {4, 4}, {0xC2, 4}},
        {"63 repeated", Same(63, 4), {0xFF, 4}},
        {"64 repeated", Same(64, 4), {0xFF, 4, 4}},
        {"64 high repeated", Same(64, 0xD0), {0xFF, 0xD0, 0xC1, 0xD0}},
        {"127 repeated", Same(127, 4), {0xFF, 4, 0xFF, 4, 4}},
        {"mixed", {1, 0xC5, 0xC5, 2}, {1, 0xC2, 0xC5, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out = {0xAA};
        AppendPcxRunLength(c.line, out);
        EXPECT_EQ(out, Bytes{0xAA} + c.coded);
    }
}

}  // namespace
}  // namespace kobalto
