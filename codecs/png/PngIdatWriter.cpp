#include "codecs/png/PngIdatWriter.h"

#include "base/Exceptions.h"
#include "codecs/png/PngChunkWriter.h"
#include "codecs/png/PngMessages.h"

namespace kobalto {

PngIdatWriter::PngIdatWriter(TStream& out, int level, size_t bufferSize) : out_(out), buffer_(bufferSize)
{
    // The library's default window, memory level and strategy.
    const int rc = deflateInit(&z_, level);
    if (rc == Z_MEM_ERROR)
        throw EOutOfMemory();
    if (rc != Z_OK)
        throw EInvalidGraphicOperation(z_.msg ? z_.msg : msg::kPngDeflateCannotStart);
    z_.next_out = buffer_.data();
    z_.avail_out = static_cast<uInt>(buffer_.size());
}

PngIdatWriter::~PngIdatWriter()
{
    deflateEnd(&z_);
}

void PngIdatWriter::WriteChunk(size_t size)
{
    WritePngChunk(out_, "IDAT", std::span<const uint8_t>(buffer_.data(), size));
    z_.next_out = buffer_.data();
    z_.avail_out = static_cast<uInt>(buffer_.size());
}

void PngIdatWriter::Deflate(int flush)
{
    for (;;) {
        const int rc = deflate(&z_, flush);
        if (rc == Z_STREAM_ERROR)
            throw EInvalidGraphicOperation(msg::kPngDeflateFailed);
        if (z_.avail_out == 0)
            WriteChunk(buffer_.size());
        if (rc == Z_STREAM_END) {
            finished_ = true;
            return;
        }
        // Without Z_FINISH, deflate is done with its input once it leaves
        // room in the buffer.
        if (flush != Z_FINISH && z_.avail_in == 0 && z_.avail_out != 0)
            return;
    }
}

void PngIdatWriter::Write(const uint8_t* data, size_t size)
{
    z_.next_in = const_cast<uint8_t*>(data);
    z_.avail_in = static_cast<uInt>(size);
    Deflate(Z_NO_FLUSH);
}

void PngIdatWriter::Finish()
{
    if (!finished_)
        Deflate(Z_FINISH);
    const size_t used = buffer_.size() - z_.avail_out;
    if (used != 0)
        WriteChunk(used);
}

}  // namespace kobalto
