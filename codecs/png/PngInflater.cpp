#include "codecs/png/PngInflater.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "base/DiscardPages.h"
#include "base/Exceptions.h"
#include "base/FreshMemory.h"
#include "codecs/decompress/WholeInflate.h"
#include "codecs/png/PngErrors.h"
#include "codecs/png/PngMessages.h"
#include "platform/SpareCores.h"

namespace kobalto {

namespace {

// Input is read in pieces of this size, whatever the chunk sizes are.
constexpr size_t kInputPiece = 64 * 1024;
// Data past the last row is decoded only this far to reach the checksum.
constexpr size_t kMaxTrailingOutput = 64 * 1024;

// The data of the IDAT run at the reader's current chunk, CRCs checked, in
// data[0, size). Gathered in place, among the bytes the reader's stream
// reads, each chunk's data moves down over the chunk boundaries before it,
// which are kept so that the bytes can be put back.
struct GatheredRun {
    static constexpr size_t kBoundary = 12;  // a CRC and the next chunk's length and name
    struct Moved {
        size_t from = 0, at = 0, length = 0;
        std::array<uint8_t, kBoundary> boundary{};
        size_t boundaryLength = 0;
    };

    std::span<uint8_t> own;  // empty: gathered into copy
    TFreshBlock copy;
    uint8_t* data = nullptr;
    size_t size = 0;
    std::vector<Moved> moved;

    std::span<const uint8_t> Data() const { return {data, size}; }

    // The stream's bytes as they were, also after a gathering that raised
    // half way.
    void PutBack() const
    {
        for (auto m = moved.rbegin(); m != moved.rend(); ++m)
            std::memmove(own.data() + m->from, data + m->at, m->length);
        for (const Moved& m : moved)
            std::memcpy(own.data() + m.from + m.length, m.boundary.data(), m.boundaryLength);
    }
};

// Reads the run into run (whose own is set); the reader is left before the
// first chunk after the run. The run fits in what is left of the stream.
void GatherRun(PngChunkReader& reader, GatheredRun& run)
{
    if (run.own.empty()) {
        run.copy = TFreshBlock(reader.StreamLeft() + 1);
        run.data = run.copy.Data();
    } else {
        run.data = run.own.data() + reader.Here().position;
    }
    for (;;) {
        if (!run.own.empty()) {
            // Recorded first: reading moves the data.
            const auto from = static_cast<size_t>(reader.Here().position);
            GatheredRun::Moved& m = run.moved.emplace_back();
            m.from = from;
            m.at = run.size;
            m.length = reader.DataLeft();
            m.boundaryLength = std::min(GatheredRun::kBoundary, run.own.size() - (from + m.length));
            std::memcpy(m.boundary.data(), run.own.data() + from + m.length, m.boundaryLength);
        }
        run.size += reader.ReadSome(run.data + run.size, reader.DataLeft());
        reader.EndChunk();
        const PngChunkHeader next = reader.Next();
        if (!next.Is("IDAT")) {
            reader.Unread(next);
            return;
        }
    }
}

}  // namespace

std::unique_ptr<PngInflater> PngInflater::Open(PngChunkReader& reader, size_t imageBytes, size_t wholeBudget,
                                               std::span<uint8_t> streamBytes)
{
    // The one-call path holds the compressed data beside the inflated rows;
    // the streaming path holds neither.
    if (wholeBudget < imageBytes || reader.StreamLeft() > wholeBudget - imageBytes)
        return std::make_unique<PngInflater>(reader);
    const PngChunkReader::Mark start = reader.Here();
    GatheredRun run;
    run.own = streamBytes;
    try {
        GatherRun(reader, run);
        // Not cleared first: only what inflate wrote is read. Inflate fills
        // it from the front, behind the thread that maps it where a core is
        // idle.
        TFreshBlock inflated(imageBytes + kMaxTrailingOutput, platform::SpareCores() > 0);
        const auto whole = InflateWhole(run.Data(), {inflated.Data(), inflated.Size()});
        if (whole && whole->produced >= imageBytes)
            return std::unique_ptr<PngInflater>(new PngInflater(reader, std::move(inflated), imageBytes));
    } catch (const Exception&) {
    } catch (const std::bad_alloc&) {
    }
    run.PutBack();
    reader.Rewind(start);
    return std::make_unique<PngInflater>(reader);
}

PngInflater::PngInflater(PngChunkReader& reader, TFreshBlock inflated, size_t size)
    : reader_(reader), runEnded_(true), streamEnded_(true), whole_(true), inflated_(std::move(inflated)),
      inflatedSize_(size)
{
}

PngInflater::PngInflater(PngChunkReader& reader) : reader_(reader), input_(kInputPiece)
{
    const int rc = inflateInit(&z_);
    if (rc == Z_MEM_ERROR)
        throw EOutOfMemory();
    if (rc != Z_OK)
        throw EPNGZLIBError(z_.msg ? z_.msg : msg::kPngUnknownZlibFailure);
}

PngInflater::~PngInflater()
{
    if (!whole_)
        inflateEnd(&z_);
}

bool PngInflater::Refill()
{
    while (!runEnded_) {
        const size_t n = reader_.ReadSome(input_.data(), input_.size());
        if (n != 0) {
            z_.next_in = input_.data();
            z_.avail_in = static_cast<uInt>(n);
            return true;
        }
        reader_.EndChunk();
        const PngChunkHeader next = reader_.Next();
        if (!next.Is("IDAT")) {
            reader_.Unread(next);
            runEnded_ = true;
        }
    }
    return false;
}

void PngInflater::Inflate(uint8_t* out, size_t count, size_t& produced, bool& streamEnd)
{
    produced = 0;
    streamEnd = false;
    while (produced < count) {
        // Without input inflate may still owe output from the last call.
        if (z_.avail_in == 0)
            Refill();
        z_.next_out = out + produced;
        z_.avail_out = static_cast<uInt>(count - produced);
        const int rc = inflate(&z_, Z_NO_FLUSH);
        produced = count - z_.avail_out;
        if (rc == Z_STREAM_END) {
            streamEnd = true;
            return;
        }
        if (rc == Z_MEM_ERROR)
            throw EOutOfMemory();
        if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_STREAM_ERROR)
            throw EPNGZLIBError(z_.msg ? z_.msg : msg::kPngUnknownZlibFailure);
        if (rc == Z_BUF_ERROR && z_.avail_in == 0 && runEnded_)
            return;  // nothing more to come
    }
}

void PngInflater::Read(uint8_t* out, size_t count)
{
    if (whole_) {
        std::memcpy(out, Next(count, out), count);
        return;
    }
    if (streamEnded_ && count != 0)
        throw EPNGMissingMultipleIDAT();
    size_t produced;
    bool streamEnd;
    Inflate(out, count, produced, streamEnd);
    streamEnded_ = streamEnd;
    if (produced != count)
        throw EPNGMissingMultipleIDAT();
}

uint8_t* PngInflater::Next(size_t count, uint8_t* scratch)
{
    if (!whole_) {
        Read(scratch, count);
        return scratch;
    }
    // The buffer holds exactly the image data, which the caller reads row by
    // row; asking for more is asking past the rows.
    if (count > inflatedSize_ - inflatedAt_)
        throw EPNGMissingMultipleIDAT();
    // The rows before the last one are not looked at again: their memory
    // goes back while the picture's fills, a few megabytes at a time, in
    // whole large pages (the block starts on one), which go back without
    // being split.
    constexpr size_t kLargePage = size_t{2} << 20;
    constexpr size_t kReleaseStep = 2 * kLargePage;
    const size_t releasable = lastRowAt_ / kLargePage * kLargePage;
    if (releasable >= releasedUpTo_ + kReleaseStep) {
        DiscardPages({inflated_.Data() + releasedUpTo_, releasable - releasedUpTo_});
        releasedUpTo_ = releasable;
    }
    lastRowAt_ = inflatedAt_;
    uint8_t* bytes = inflated_.Data() + inflatedAt_;
    inflatedAt_ += count;
    return bytes;
}

void PngInflater::Finish()
{
    if (whole_) {
        // The stream's end and checksum were checked, the run read.
        inflated_ = TFreshBlock();
        return;
    }
    uint8_t scratch[4096];
    size_t extra = 0;
    while (!streamEnded_ && extra < kMaxTrailingOutput) {
        size_t produced;
        bool streamEnd;
        Inflate(scratch, sizeof scratch, produced, streamEnd);
        streamEnded_ = streamEnd;
        extra += produced;
        if (produced < sizeof scratch && !streamEnd)
            break;  // the run ended without the stream's end: the rows are all there
    }
    // The rest of this chunk is not looked at; further IDAT chunks are
    // skipped by the chunk loop.
    if (!runEnded_)
        reader_.EndChunk();
}

}  // namespace kobalto
