#include "codecs/tiff/TiffDirectory.h"

#include <algorithm>
#include <bit>

#include "base/Checked.h"
#include "codecs/tiff/TiffTags.h"

namespace kobalto {

using namespace tiff;

TTiffHeader ReadTiffHeader(TByteReader& tiff)
{
    TTiffHeader h;
    tiff.Seek(0);
    const uint8_t m0 = tiff.U8();
    const uint8_t m1 = tiff.U8();
    const bool big = m0 == 'M' && m1 == 'M';
    h.knownMark = big || (m0 == 'I' && m1 == 'I');
    tiff.SetByteOrder(big ? TByteOrder::BigEndian : TByteOrder::LittleEndian);
    h.magic42 = tiff.U16() == 42;
    h.firstDirectory = tiff.U32();
    return h;
}

TTiffDirectory::TTiffDirectory(const TByteReader& tiff, uint32_t offset) : tiff_(tiff)
{
    TByteReader r = tiff_;
    r.Seek(offset);
    const uint16_t count = r.U16();
    TByteReader list = r.Sub(size_t{count} * 12);
    entries_.resize(count);
    for (TTiffEntry& e : entries_) {
        const size_t at = offset + 2 + list.Position();
        e.tag = list.U16();
        e.type = list.U16();
        e.count = list.U32();
        const uint32_t field = list.U32();
        const size_t bytes = CheckedMul(e.count, FieldTypeSize(e.type));
        e.valuePos = bytes <= 4 ? at + 8 : field;
    }
    // Writers do not always keep tags in order; lookups need them sorted.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const TTiffEntry& a, const TTiffEntry& b) { return a.tag < b.tag; });
    next_ = r.Remaining() >= 4 ? r.U32() : 0;
}

const TTiffEntry* TTiffDirectory::Find(uint16_t tag) const
{
    auto it = std::lower_bound(entries_.begin(), entries_.end(), tag,
                               [](const TTiffEntry& e, uint16_t t) { return e.tag < t; });
    return it != entries_.end() && it->tag == tag ? &*it : nullptr;
}

TByteReader TTiffDirectory::ValueReader(const TTiffEntry& e) const
{
    TByteReader r = tiff_;
    r.Seek(e.valuePos);
    return r.Sub(CheckedMul(e.count, FieldTypeSize(e.type)));
}

std::vector<uint32_t> TTiffDirectory::Values(uint16_t tag) const
{
    const TTiffEntry* e = Find(tag);
    std::vector<uint32_t> out;
    if (!e)
        return out;
    TByteReader r = ValueReader(*e);
    const unsigned size = FieldTypeSize(e->type);
    if (e->type == kRational || e->type == kSRational || e->type == kFloat || e->type == kDouble ||
        e->type == kAscii || size == 0)
        return out;
    out.reserve(e->count);
    for (uint32_t i = 0; i < e->count; ++i)
        out.push_back(size == 1 ? r.U8() : size == 2 ? r.U16() : r.U32());
    return out;
}

uint32_t TTiffDirectory::Value(uint16_t tag, uint32_t def) const
{
    const TTiffEntry* e = Find(tag);
    if (!e || e->count == 0)
        return def;
    const unsigned size = FieldTypeSize(e->type);
    if (size == 0 || size > 4 || e->type == kFloat || e->type == kAscii)
        return def;
    TByteReader r = tiff_;
    r.Seek(e->valuePos);
    return size == 1 ? r.U8() : size == 2 ? r.U16() : r.U32();
}

std::vector<double> TTiffDirectory::Reals(uint16_t tag) const
{
    const TTiffEntry* e = Find(tag);
    std::vector<double> out;
    if (!e)
        return out;
    if (e->type != kRational && e->type != kSRational && e->type != kFloat && e->type != kDouble) {
        for (uint32_t v : Values(tag))
            out.push_back(v);
        return out;
    }
    TByteReader r = ValueReader(*e);
    for (uint32_t i = 0; i < e->count; ++i) {
        if (e->type == kFloat) {
            const uint32_t bits = r.U32();
            out.push_back(std::bit_cast<float>(bits));
        } else if (e->type == kDouble) {
            const uint32_t a = r.U32();
            const uint32_t b = r.U32();
            const bool big = r.ByteOrder() == TByteOrder::BigEndian;
            const uint64_t bits = big ? (uint64_t{a} << 32) | b : (uint64_t{b} << 32) | a;
            out.push_back(std::bit_cast<double>(bits));
        } else {
            const uint32_t num = r.U32();
            const uint32_t den = r.U32();
            const bool sign = e->type == kSRational;
            const double n = sign ? static_cast<int32_t>(num) : num;
            const double d = sign ? static_cast<int32_t>(den) : den;
            out.push_back(d == 0 ? 0.0 : n / d);
        }
    }
    return out;
}

double TTiffDirectory::Real(uint16_t tag, double def) const
{
    const std::vector<double> v = Reals(tag);
    return v.empty() ? def : v[0];
}

std::span<const uint8_t> TTiffDirectory::Bytes(uint16_t tag) const
{
    const TTiffEntry* e = Find(tag);
    if (!e || FieldTypeSize(e->type) == 0)
        return {};
    return ValueReader(*e).Bytes();
}

}  // namespace kobalto
