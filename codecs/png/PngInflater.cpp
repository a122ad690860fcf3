#include "codecs/png/PngInflater.h"

#include <cstring>
#include <new>

#include "base/DiscardPages.h"
#include "base/FreshMemory.h"
#include "codecs/decompress/WholeInflate.h"

#include "base/Exceptions.h"
#include "codecs/png/PngErrors.h"
#include "codecs/png/PngMessages.h"

namespace kobalto {

namespace {

// Input is read in pieces of this size, whatever the chunk sizes are.
constexpr size_t kInputPiece = 64 * 1024;
// Data past the last row is decoded only this far to reach the checksum.
constexpr size_t kMaxTrailingOutput = 64 * 1024;

// The data of the IDAT run at the reader's current chunk, CRCs checked, in
// data[0, size); the reader is left before the first chunk after the run.
// The run fits in what is left of the stream.
struct GatheredRun {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
};

GatheredRun GatherRun(PngChunkReader& reader)
{
    GatheredRun run;
    run.data.reset(new uint8_t[reader.StreamLeft() + 1]);
    PrepareForWriting(run.data.get(), reader.StreamLeft());
    for (;;) {
        run.size += reader.ReadSome(run.data.get() + run.size, reader.DataLeft());
        reader.EndChunk();
        const PngChunkHeader next = reader.Next();
        if (!next.Is("IDAT")) {
            reader.Unread(next);
            return run;
        }
    }
}

}  // namespace

std::unique_ptr<PngInflater> PngInflater::Open(PngChunkReader& reader, size_t imageBytes)
{
    // The one-call path holds the compressed data beside the inflated rows.
    // Where that copy could be large against the picture (data that hardly
    // compresses), the streaming path keeps memory to the picture itself.
    if (reader.StreamLeft() > imageBytes / 4)
        return std::make_unique<PngInflater>(reader);
    const PngChunkReader::Mark start = reader.Here();
    try {
        std::unique_ptr<uint8_t[]> inflated;
        {
            const GatheredRun run = GatherRun(reader);
            // Neither buffer is cleared first: only what inflate wrote is read.
            inflated.reset(new uint8_t[imageBytes + kMaxTrailingOutput]);
            PrepareForWriting(inflated.get(), imageBytes + kMaxTrailingOutput);
            const auto whole = InflateWhole({run.data.get(), run.size}, {inflated.get(), imageBytes + kMaxTrailingOutput});
            if (whole && whole->produced >= imageBytes)
                return std::unique_ptr<PngInflater>(new PngInflater(reader, std::move(inflated), imageBytes));
        }
    } catch (const Exception&) {
    } catch (const std::bad_alloc&) {
    }
    reader.Rewind(start);
    return std::make_unique<PngInflater>(reader);
}

PngInflater::PngInflater(PngChunkReader& reader, std::unique_ptr<uint8_t[]> inflated, size_t size)
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
    // goes back while the picture's fills, a few megabytes at a time.
    constexpr size_t kReleaseStep = size_t{4} << 20;
    if (lastRowAt_ >= releasedUpTo_ + kReleaseStep) {
        DiscardPages({inflated_.get() + releasedUpTo_, lastRowAt_ - releasedUpTo_});
        releasedUpTo_ = lastRowAt_ - kReleaseStep / 2;
    }
    lastRowAt_ = inflatedAt_;
    uint8_t* bytes = inflated_.get() + inflatedAt_;
    inflatedAt_ += count;
    return bytes;
}

void PngInflater::Finish()
{
    if (whole_) {
        // The stream's end and checksum were checked, the run read.
        inflated_.reset();
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
