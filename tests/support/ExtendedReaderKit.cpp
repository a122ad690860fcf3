#include "tests/support/ExtendedReaderKit.h"

namespace kobalto::test {

namespace {

class Writer {
public:
    explicit Writer(bool big) : big_(big) {}
    void U16(uint32_t v, size_t at) { Put(v, 2, at); }
    void U32(uint32_t v, size_t at) { Put(v, 4, at); }
    std::vector<uint8_t> bytes;

private:
    void Put(uint32_t v, int n, size_t at)
    {
        if (bytes.size() < at + n)
            bytes.resize(at + n);
        for (int i = 0; i < n; ++i)
            bytes[at + i] = static_cast<uint8_t>(v >> (8 * (big_ ? n - 1 - i : i)));
    }
    bool big_;
};

unsigned TypeSize(uint16_t type) { return type == 3 ? 2 : type == 7 || type == 1 ? 1 : 4; }

// Writes a directory at dir and its long values after it; returns where the
// next-directory offset lies.
size_t WriteDirectory(Writer& w, size_t dir, const std::vector<TiffField>& fields)
{
    size_t extra = dir + 2 + 12 * fields.size() + 4;
    w.U16(static_cast<uint32_t>(fields.size()), dir);
    for (size_t i = 0; i < fields.size(); ++i) {
        const TiffField& f = fields[i];
        const size_t e = dir + 2 + 12 * i;
        const uint32_t count = f.type == 5 ? static_cast<uint32_t>(f.values.size() / 2)
                                           : static_cast<uint32_t>(f.values.size());
        w.U16(f.tag, e);
        w.U16(f.type, e + 2);
        w.U32(count, e + 4);
        const size_t bytes = TypeSize(f.type) * f.values.size();
        size_t at = e + 8;
        if (bytes > 4) {
            w.U32(static_cast<uint32_t>(extra), e + 8);
            at = extra;
            extra += bytes + (bytes & 1);
        }
        for (uint32_t v : f.values) {
            if (f.type == 3)
                w.U16(v, at);
            else if (TypeSize(f.type) == 1)
                w.bytes.resize(std::max(w.bytes.size(), at + 1)), w.bytes[at] = static_cast<uint8_t>(v);
            else
                w.U32(v, at);
            at += TypeSize(f.type);
        }
    }
    w.bytes.resize(std::max(w.bytes.size(), extra));
    return dir + 2 + 12 * fields.size();
}

}  // namespace

std::vector<uint8_t> MakeTiff(bool bigEndian, std::vector<TiffField> fields,
                              const std::vector<std::vector<uint8_t>>& strips, std::vector<TiffField> nextFields)
{
    Writer w(bigEndian);
    w.bytes = {static_cast<uint8_t>(bigEndian ? 'M' : 'I'), static_cast<uint8_t>(bigEndian ? 'M' : 'I')};
    w.U16(42, 2);
    size_t pos = 8;
    std::vector<uint32_t> offsets;
    for (const auto& s : strips) {
        offsets.push_back(static_cast<uint32_t>(pos));
        w.bytes.resize(pos);
        w.bytes.insert(w.bytes.end(), s.begin(), s.end());
        pos += s.size() + (s.size() & 1);
    }
    for (TiffField& f : fields)
        if (f.tag == 273 || f.tag == 324)
            for (size_t i = 0; i < f.values.size(); ++i)
                if (f.values[i] == 0xFFFFFFFF && i < offsets.size())
                    f.values[i] = offsets[i];
    w.bytes.resize(pos);
    w.U32(static_cast<uint32_t>(pos), 4);
    const size_t next = WriteDirectory(w, pos, fields);
    if (!nextFields.empty()) {
        const size_t second = w.bytes.size();
        w.U32(static_cast<uint32_t>(second), next);
        WriteDirectory(w, second, nextFields);
    } else {
        w.U32(0, next);
    }
    return w.bytes;
}

}  // namespace kobalto::test

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "base/Exceptions.h"
#include "tests/support/Corpus.h"
#include "tests/support/TestSupport.h"

namespace kobalto::test {

std::vector<std::pair<std::string, std::string>> CorpusFileStatuses(const std::string& folder)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const CorpusFile& file : CorpusFiles(folder))
        files.emplace_back(file.name, file.expected);
    return files;
}

namespace {

bool ReadPpm(const std::string& path, TBitmap& out) { return ReadPnm(path, &out, nullptr); }

}  // namespace

bool PeerPixels(const std::string& path, bool tiff2rgba, TBitmap& out, std::vector<bool>& translucent)
{
    const std::string convert = ImageMagickConvert();
    if (convert.empty())
        return false;
    TempDir dir;
    const std::string ppm = dir.File("peer.ppm");
    std::string source = path;
    bool done = false;
    if (tiff2rgba && HaveTool("tiff2rgba")) {
        const std::string rgba = dir.File("rgba.tif");
        if (RunCommand("tiff2rgba -c none '" + path + "' '" + rgba + "' >/dev/null 2>&1") == 0 &&
            RunCommand(convert + " '" + rgba + "[0]' -alpha off -depth 8 ppm:'" + ppm + "' 2>/dev/null") == 0) {
            source = rgba;
            done = true;
        }
    }
    if (!done && RunCommand(convert + " '" + path + "[0]' -auto-orient -alpha off -depth 8 ppm:'" + ppm + "' 2>/dev/null") != 0)
        return false;
    if (!ReadPpm(ppm, out))
        return false;
    translucent.assign(static_cast<size_t>(out.Width()) * out.Height(), false);
    const std::string pgm = dir.File("alpha.pgm");
    std::vector<uint8_t> alpha;
    if (RunCommand(convert + " '" + source + "[0]' -auto-orient -alpha extract -depth 8 pgm:'" + pgm + "' 2>/dev/null") == 0 &&
        ReadPnm(pgm, nullptr, &alpha) && alpha.size() == translucent.size())
        for (size_t i = 0; i < alpha.size(); ++i)
            translucent[i] = alpha[i] < 255;
    return true;
}

bool PillowPixels(const std::string& path, TBitmap& out, std::vector<bool>& translucent)
{
    TempDir dir;
    const std::string ppm = dir.File("peer.ppm");
    const std::string pgm = dir.File("alpha.pgm");
    // The first frame's colour without alpha, and its alpha (opaque without one).
    const std::string script =
        "import sys\n"
        "from PIL import Image\n"
        "im = Image.open(sys.argv[1])\n"
        "im.convert('RGB').save(sys.argv[2], 'PPM')\n"
        "a = im.convert('RGBA').getchannel('A') if 'A' in im.getbands() or 'transparency' in im.info "
        "else Image.new('L', im.size, 255)\n"
        "a.save(sys.argv[3], 'PPM')\n";
    WriteBytes(dir.File("peer.py"), std::vector<uint8_t>(script.begin(), script.end()));
    if (RunCommand("/usr/bin/python3 '" + dir.File("peer.py") + "' '" + path + "' '" + ppm + "' '" + pgm +
                   "' 2>/dev/null") != 0)
        return false;
    std::vector<uint8_t> alpha;
    if (!ReadPnm(ppm, &out, nullptr) || !ReadPnm(pgm, nullptr, &alpha))
        return false;
    translucent.assign(alpha.size(), false);
    for (size_t i = 0; i < alpha.size(); ++i)
        translucent[i] = alpha[i] < 255;
    return true;
}

int64_t DifferentPixels(const TBitmap& a, const TBitmap& b, int tolerance, const std::vector<bool>& translucent)
{
    int64_t n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const size_t i = static_cast<size_t>(y) * a.Width() + x;
            if (i < translucent.size() && translucent[i])
                continue;
            const TColor p = a.Pixel(x, y);
            const TColor q = b.Pixel(x, y);
            if (std::abs(p.red - q.red) > tolerance || std::abs(p.green - q.green) > tolerance ||
                std::abs(p.blue - q.blue) > tolerance)
                ++n;
        }
    return n;
}

std::map<CorpusClass, int> RunCorpus(const CorpusRules& rules)
{
    std::map<CorpusClass, int> counts;
    for (const auto& [name, expected] : CorpusFileStatuses(rules.folder)) {
        const std::string path = CorpusDir() + "/" + rules.folder + "/" + name;
        std::string outcome;
        CorpusClass cls = CorpusClass::Unexpected;
        try {
            TBitmap ours = rules.load(path);
            ours.SetPixelFormat(TPixelFormat::pf24bit);
            if (expected == "broken") {
                cls = CorpusClass::BrokenClean, outcome = "decodes";
            } else {
                auto t = rules.tolerance.find(name);
                const int tolerance = t == rules.tolerance.end() ? 2 : t->second.first;
                int64_t best = -1;
                for (const auto& peerDecode : rules.peers) {
                    TBitmap peer;
                    std::vector<bool> translucent;
                    if (!peerDecode(path, peer, translucent))
                        continue;
                    const int64_t diff = peer.Width() != ours.Width() || peer.Height() != ours.Height()
                                             ? int64_t{peer.Width()} * peer.Height()
                                             : DifferentPixels(ours, peer, tolerance, translucent);
                    if (best < 0 || diff < best)
                        best = diff;
                }
                outcome = best < 0 ? "no peer reads it" : std::to_string(best) + " pixels differ";
                if (best == 0)
                    cls = CorpusClass::Equal;
                else if (expected == "questionable")
                    cls = CorpusClass::QuestionableClean;
                else if (best < 0)
                    cls = CorpusClass::NoPeer;
                else if (rules.knownDifferences.count(name))
                    cls = CorpusClass::NoPeer, outcome += " (" + rules.knownDifferences.at(name) + ")";
            }
        } catch (const Exception& e) {
            outcome = e.what();
            if (expected == "broken")
                cls = CorpusClass::BrokenClean;
            else if (expected == "questionable")
                cls = CorpusClass::QuestionableClean;
            else if (std::find(rules.refusals.begin(), rules.refusals.end(), outcome) != rules.refusals.end())
                cls = CorpusClass::Refused;
        }
        ++counts[cls];
        const char* label[] = {"equal", "refused", "broken-clean", "questionable", "no-peer", "UNEXPECTED"};
        std::cout << "  " << label[static_cast<int>(cls)] << "  " << expected << "  " << name << ": " << outcome
                  << "\n";
    }
    return counts;
}

}  // namespace kobalto::test
