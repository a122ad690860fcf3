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
