#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "base/Exceptions.h"
#include "tests/codecs/ExtendedCorpus.h"
#include "tests/support/TestSupport.h"

namespace kobalto::test {

namespace {

struct IndexRow {
    std::string name;
    std::string expected;
};

std::vector<IndexRow> ReadIndex(const std::string& folder, const std::string& pattern)
{
    std::vector<IndexRow> rows;
    std::ifstream in(CorpusDir() + "/README.md");
    const std::regex row("^\\| " + folder + R"( \| `([^`]+)` \| [^|]* \| (\w+) \|)");
    const std::regex names(pattern, std::regex::icase);
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, row) && std::regex_match(m[1].str(), names))
            rows.push_back({m[1], m[2]});
    }
    return rows;
}

// Pillow's reading of a file, laid on white, through a PPM file.
bool DecodeWithPillow(const std::string& path, TBitmap& out)
{
    TempDir dir;
    const std::string ppm = dir.File("pillow.ppm");
    const std::string script = "from PIL import Image\n"
                               "im = Image.open('" + path + "').convert('RGBA')\n"
                               "bg = Image.new('RGBA', im.size, (255, 255, 255, 255))\n"
                               "Image.alpha_composite(bg, im).convert('RGB').save('" + ppm + "')\n";
    WriteBytes(dir.File("read.py"), std::vector<uint8_t>(script.begin(), script.end()));
    if (RunCommand("/usr/bin/python3 " + dir.File("read.py") + " 2>/dev/null") != 0)
        return false;
    return DecodeWithPeer(ppm, out);
}

// Our pixel as the peer shows it: alpha laid over white.
TColor OnWhite(const TBitmap& b, int x, int y, bool matted = false)
{
    TColor c = b.Pixel(x, y);
    if (b.PixelFormat() != TPixelFormat::pf32bit)
        return c;
    const unsigned a = b.ScanLine(y)[x * 4 + 3];
    // Matted colours were laid on white when stored; where nothing shows
    // they may hold anything.
    if (matted)
        return a == 0 ? TColor{255, 255, 255} : c;
    const auto mix = [a](unsigned v) { return static_cast<uint8_t>((v * a + 255 * (255 - a) + 127) / 255); };
    return {mix(c.red), mix(c.green), mix(c.blue)};
}

int LargestDifference(const TBitmap& ours, const TBitmap& peer, bool matted)
{
    int largest = 0;
    for (int y = 0; y < ours.Height(); ++y)
        for (int x = 0; x < ours.Width(); ++x) {
            const TColor a = OnWhite(ours, x, y, matted);
            const TColor b = peer.Pixel(x, y);
            largest = std::max({largest, std::abs(a.red - b.red), std::abs(a.green - b.green),
                                std::abs(a.blue - b.blue)});
        }
    return largest;
}

}  // namespace

void CheckCorpusFormat(const CorpusCase& format)
{
    const std::vector<IndexRow> rows = ReadIndex(format.folder, format.pattern);
    std::map<std::string, TClassCount> counts;
    for (const IndexRow& row : rows) {
        SCOPED_TRACE(row.name + " (" + row.expected + ")");
        const std::string path = CorpusDir() + "/" + format.folder + "/" + row.name;
        ++counts[row.expected].files;
        std::unique_ptr<TExtendedGraphic> graphic = format.make();
        const auto refused = format.refused.find(row.name);
        try {
            graphic->LoadFromFile(path);  // mapped, given back as read
        } catch (const Exception& e) {
            if (refused == format.refused.end())
                ADD_FAILURE() << "refused: " << e.what();
            else
                EXPECT_EQ(e.what(), refused->second);
            continue;
        }
        ++counts[row.expected].decoded;
        if (refused != format.refused.end()) {
            ADD_FAILURE() << "decoded, but listed as refused";
            continue;
        }
        if (const auto pin = format.pinned.find(row.name); pin != format.pinned.end()) {
            EXPECT_EQ(graphic->Width(), pin->second.width);
            EXPECT_EQ(graphic->Height(), pin->second.height);
            for (const TPin& p : pin->second.pins) {
                const TColor got = OnWhite(*graphic, p.x, p.y, format.alphaMatted);
                EXPECT_EQ(got, p.colour) << "at " << p.x << "," << p.y << ": " << int(got.red) << " "
                                         << int(got.green) << " " << int(got.blue);
            }
            continue;
        }
        if (!format.peerReads) {
            ADD_FAILURE() << "decoded, " << graphic->Width() << " x " << graphic->Height() << ", but nothing pinned";
            continue;
        }
        if (format.skipPeer.count(row.name))
            continue;
        TBitmap peer;
        ASSERT_TRUE(format.pillow.count(row.name) ? DecodeWithPillow(path, peer) : DecodeWithPeer(path, peer));
        ASSERT_EQ(graphic->Width(), peer.Width());
        ASSERT_EQ(graphic->Height(), peer.Height());
        const auto tolerance = format.tolerance.find(row.name);
        EXPECT_LE(LargestDifference(*graphic, peer, format.alphaMatted), tolerance == format.tolerance.end() ? 0 : tolerance->second);
    }
    for (const auto& [cls, count] : counts)
        EXPECT_EQ(count, format.counts.count(cls) ? format.counts.at(cls) : TClassCount{})
            << cls << ": " << count.files << " files, " << count.decoded << " decoded";
    for (const auto& [cls, count] : format.counts)
        EXPECT_TRUE(counts.count(cls)) << cls;
}

}  // namespace kobalto::test
