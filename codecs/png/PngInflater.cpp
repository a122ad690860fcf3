#include "codecs/png/PngInflater.h"

#include "base/Exceptions.h"
#include "codecs/png/PngErrors.h"
#include "codecs/png/PngMessages.h"

namespace kobalto {

namespace {

// Input is read in pieces of this size, whatever the chunk sizes are.
constexpr size_t kInputPiece = 64 * 1024;
// Data past the last row is decoded only this far to reach the checksum.
constexpr size_t kMaxTrailingOutput = 64 * 1024;

}  // namespace

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
    if (streamEnded_ && count != 0)
        throw EPNGMissingMultipleIDAT();
    size_t produced;
    bool streamEnd;
    Inflate(out, count, produced, streamEnd);
    streamEnded_ = streamEnd;
    if (produced != count)
        throw EPNGMissingMultipleIDAT();
}

void PngInflater::Finish()
{
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
