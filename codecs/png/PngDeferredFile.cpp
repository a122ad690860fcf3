#include "codecs/png/PngDeferredFile.h"

#include <cstring>
#include <new>

#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/TSpanStream.h"
#include "codecs/png/PngImageDecoder.h"
#include "codecs/png/PngSampledDecoder.h"
#include "codecs/png/PngSignature.h"

namespace kobalto {

namespace {

// The whole path may hold the compressed data and the inflated image data
// together up to this share of the picture's 24-bit pixels (a stretched
// picture, which is made meanwhile, counted in): a picture whose data
// compresses well enough has no other full-size buffer.
constexpr size_t kWholeShareTenths = 16;

// The header, if the stream starts with a signature and an IHDR chunk.
bool PeekHeader(TStream& stream, PngHeader& header)
{
    constexpr size_t kHead = 8 + 8 + 13;
    uint8_t head[kHead];
    const int64_t at = stream.Position();
    const size_t got = stream.Read(head, kHead);
    stream.SetPosition(at);
    if (got != kHead || std::memcmp(head, kPngSignature.data(), 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0)
        return false;
    try {
        header = ParseIhdr({head + 16, 13});
        return true;
    } catch (const Exception&) {
        return false;
    }
}

}  // namespace

std::unique_ptr<PngDeferredFile> PngDeferredFile::Read(TStream& stream)
{
    PngHeader header;
    const int64_t rest = stream.Size() - stream.Position();
    if (rest <= 0 || rest > kMaxFileBytes || !PeekHeader(stream, header) || !PngCanDecodeStretched(header))
        return nullptr;
    std::unique_ptr<PngDeferredFile> file(new PngDeferredFile);
    try {
        file->bytes_ = TFreshBlock(static_cast<size_t>(rest));
    } catch (const std::bad_alloc&) {
        return nullptr;  // read piece by piece instead
    }
    stream.ReadBuffer(file->bytes_.Data(), file->bytes_.Size());
    TSpanStream bytes({file->bytes_.Data(), file->bytes_.Size()});
    PngChunkReader reader(bytes);
    file->state_ = StartPng(reader);
    const bool ended = ReadPngChunks(reader, file->state_, [&file](PngChunkReader& r, PngReadState& s) {
        CheckRoomForImageData(s.file.header, r);
        file->atImageData_ = r.Here();
        file->imageData_.length = r.DataLeft();
        std::memcpy(file->imageData_.name.data(), "IDAT", 4);
        return false;
    });
    if (ended) {
        // No image data: raises as ReadPng does.
        FinishPng(file->state_);
    }
    return file;
}

bool PngDeferredFile::Resume(const PngImageDataStep& imageData, PngReadState& state) const
{
    TSpanStream bytes(Bytes());
    PngChunkReader reader(bytes);
    reader.Rewind(atImageData_);
    reader.Unread(imageData_);
    return ReadPngChunks(reader, state, imageData);
}

PngFile PngDeferredFile::Decode() const
{
    PngReadState state = state_;
    Resume(DecodeWholeImageData, state);
    return FinishPng(state);
}

TBitmap PngDeferredFile::DecodeStretched(int width, int height, bool spend, TRowGate* rows)
{
    PngReadState state = state_;
    TBitmap stretched;
    Resume(
        [&](PngChunkReader& r, PngReadState& s) {
            const PngHeader& h = s.file.header;
            const size_t imageBytes = PngImageDataSize(h);
            const size_t pictureBytes = static_cast<size_t>(h.width) * 3 * h.height;
            const size_t targetBytes = static_cast<size_t>(width) * 3 * static_cast<size_t>(height);
            const size_t allowed = pictureBytes / 10 * kWholeShareTenths;
            const auto inflater =
                PngInflater::Open(r, imageBytes, allowed > targetBytes ? allowed - targetBytes : 0,
                                  spend ? Bytes() : std::span<uint8_t>{});
            stretched = DecodePngStretched(h, *inflater, s.transparency, s.file.gamma, width, height, rows);
            inflater->Finish();
            s.haveImage = true;
            return true;
        },
        state);
    FinishPng(state);
    return stretched;
}

}  // namespace kobalto
