#include "codecs/tiff/TiffPixels.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "base/Checked.h"
#include "base/DiscardPages.h"
#include "codecs/tiff/TiffDecoderFactory.h"
#include "codecs/tiff/TiffOrientation.h"
#include "codecs/tiff/TiffPredictor.h"

namespace kobalto {

namespace {

// Copies count bits; the rare layouts whose pieces do not start on a byte.
void CopyBits(const uint8_t* src, size_t srcBit, uint8_t* dst, size_t dstBit, size_t count)
{
    if (srcBit % 8 == 0 && dstBit % 8 == 0 && count % 8 == 0) {
        std::memcpy(dst + dstBit / 8, src + srcBit / 8, count / 8);
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const size_t s = srcBit + i;
        const size_t d = dstBit + i;
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (d & 7));
        if ((src[s >> 3] >> (7 - (s & 7))) & 1)
            dst[d >> 3] |= mask;
        else
            dst[d >> 3] &= static_cast<uint8_t>(~mask);
    }
}

uint8_t ReverseBits(uint8_t b)
{
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

// Ends the decompressor on every path; an error from the end itself counts
// only when nothing else went wrong.
class DecoderSession {
public:
    explicit DecoderSession(std::unique_ptr<TDecoder> d) : d_(std::move(d))
    {
        if (d_)
            d_->DecodeInit();
    }
    ~DecoderSession()
    {
        if (d_ && !ended_) {
            try {
                d_->DecodeEnd();
            } catch (...) {
            }
        }
    }
    DecoderSession(const DecoderSession&) = delete;
    DecoderSession& operator=(const DecoderSession&) = delete;
    void End()
    {
        ended_ = true;
        if (d_)
            d_->DecodeEnd();
    }
    TDecoder* operator->() const { return d_.get(); }
    explicit operator bool() const { return d_ != nullptr; }

private:
    std::unique_ptr<TDecoder> d_;
    bool ended_ = false;
};

class TiffPixelLoop {
public:
    TiffPixelLoop(std::span<const uint8_t> data, const TTiffImage& im, bool bigEndian, TColorManager& color,
                  TBitmap& out, const TInputRelease& release)
        : data_(data), im_(im), bigEndian_(bigEndian), color_(color), decoder_(MakeTiffDecoder(im)),
          out_(out, im.orientation, im.width, color.Subsampled() ? color.BlockRows() : 1)
    {
        planes_ = im.planar ? im.samplesPerPixel : 1;
        chunkSpp_ = im.planar ? 1 : im.samplesPerPixel;
        jpeg_ = im.compression == TTiffCompression::Jpeg;
        fax_ = im.compression == TTiffCompression::MH || im.compression == TTiffCompression::MHWord ||
               im.compression == TTiffCompression::Fax3;
        sampleBits_ = jpeg_ ? 8 : im.bitsPerSample;
        if (jpeg_ && !im.planar)
            chunkSpp_ = TiffJpegComponents(im);
        unitRows_ = color.Subsampled() ? color.BlockRows() : 1;
        chunkRowBytes_ = TiffChunkRowBytes(im, color);
        const size_t units = (static_cast<size_t>(im.chunkRows) + unitRows_ - 1) / unitRows_;
        chunkBytes_ = CheckedMul(units, chunkRowBytes_);
        bands_.resize(static_cast<size_t>(planes_));
        bandData_.resize(static_cast<size_t>(planes_));
        planeRows_.resize(static_cast<size_t>(planes_));
        if (im.tiled || im.planar)
            for (auto& row : planeRows_)
                row.resize((CheckedMul(static_cast<size_t>(im.width), chunkSpp_ * sampleBits_) + 7) / 8);
        if (im.planar)
            row_.resize((CheckedMul(static_cast<size_t>(im.width), im.samplesPerPixel * sampleBits_) + 7) / 8);
        for (int p = 0; p < planes_; ++p) {
            const size_t first = static_cast<size_t>(p) * im.chunksAcross * im.chunksDown;
            behind_.emplace_back(release, data, first < im.chunks.size() ? im.chunks[first].offset : 0);
        }
    }

    void Run()
    {
        for (int band = 0; band < im_.chunksDown; ++band) {
            const int y0 = band * im_.chunkRows;
            const int rows = std::min(im_.chunkRows, im_.height - y0);
            // The last strip holds only the rows left; a tile is always whole.
            const size_t units = (static_cast<size_t>(im_.tiled ? im_.chunkRows : rows) + unitRows_ - 1) / unitRows_;
            bool inPlace = false;
            for (int p = 0; p < planes_; ++p) {
                const size_t first = static_cast<size_t>(p) * im_.chunksAcross * im_.chunksDown +
                                     static_cast<size_t>(band) * im_.chunksAcross;
                const size_t bytes = units * chunkRowBytes_;
                if (const uint8_t* stored = StoredStrip(first, bytes)) {
                    bandData_[static_cast<size_t>(p)] = stored;
                    inPlace = true;
                    continue;
                }
                auto& buffer = bands_[static_cast<size_t>(p)];
                buffer.resize(CheckedMul(chunkBytes_, static_cast<size_t>(im_.chunksAcross)));
                bandData_[static_cast<size_t>(p)] = buffer.data();
                for (int c = 0; c < im_.chunksAcross; ++c)
                    FillChunk(first + c, std::span(buffer).subspan(c * chunkBytes_, bytes));
            }
            // Decoded rows no longer need their source; rows read in place do
            // until they are converted.
            if (!inPlace)
                ReleaseBand(band);
            if (color_.Subsampled()) {
                BlockRows(y0, rows);
            } else {
                size_t discarded = 0;
                for (int r = 0; r < rows; ++r) {
                    color_.ConvertRow(SourceRow(r), out_.Target(y0 + r), im_.width);
                    out_.Place(y0 + r);
                    discarded = DiscardConverted(static_cast<size_t>(r + 1) * chunkRowBytes_, discarded, inPlace);
                }
            }
            if (inPlace)
                ReleaseBand(band);
        }
        decoder_.End();
    }

private:
    // Chunks lie one after another in each plane, mostly: each plane's are
    // given back behind the furthest one read.
    void ReleaseBand(int band)
    {
        for (int p = 0; p < planes_; ++p) {
            const size_t first = static_cast<size_t>(p) * im_.chunksAcross * im_.chunksDown;
            size_t end = 0;
            for (int c = 0; c < im_.chunksAcross; ++c) {
                const size_t index = first + static_cast<size_t>(band) * im_.chunksAcross + c;
                if (index < im_.chunks.size() && im_.chunks[index].size > 0)
                    end = std::max(end, im_.chunks[index].offset + im_.chunks[index].size);
            }
            behind_[static_cast<size_t>(p)].Reached(end);
        }
    }

    // A strip of many rows decoded whole (a picture in one strip is common)
    // would double the picture's memory: the pages of its rows already
    // converted go back to the system as the conversion passes, a quarter
    // megabyte or more at a time. The next strip overwrites them all. Small
    // strips keep theirs: taking the pages again for each would cost more.
    size_t DiscardConverted(size_t converted, size_t discarded, bool inPlace)
    {
        constexpr size_t kStep = size_t{1} << 18;
        constexpr size_t kLargeStrip = size_t{2} << 20;
        if (inPlace || im_.tiled || converted - discarded < kStep || bands_[0].size() < kLargeStrip)
            return discarded;
        for (auto& band : bands_)
            if (band.size() >= converted)
                DiscardPages(std::span(band).subspan(discarded, converted - discarded));
        return converted;
    }

    // An uncompressed strip that is all there and needs no change is read
    // where it lies in the file, not copied.
    const uint8_t* StoredStrip(size_t index, size_t bytes) const
    {
        if (decoder_ || im_.tiled || im_.reversedBits || index >= im_.chunks.size() ||
            im_.chunks[index].size < bytes)
            return nullptr;
        return data_.data() + im_.chunks[index].offset;
    }

    void FillChunk(size_t index, std::span<uint8_t> target)
    {
        size_t produced = 0;
        if (index < im_.chunks.size() && im_.chunks[index].size > 0) {
            auto source = data_.subspan(im_.chunks[index].offset, im_.chunks[index].size);
            if (im_.reversedBits && !fax_) {
                // The fax decoders read bits either way; the others need bytes.
                reversed_.assign(source.begin(), source.end());
                for (uint8_t& b : reversed_)
                    b = ReverseBits(b);
                source = reversed_;
            }
            if (decoder_) {
                produced = decoder_->Decode(source, target).produced;
            } else {
                produced = std::min(source.size(), target.size());
                std::memcpy(target.data(), source.data(), produced);
            }
        }
        std::memset(target.data() + produced, 0, target.size() - produced);
        if (im_.predictor && decoder_ && !jpeg_)
            for (size_t at = 0; at + chunkRowBytes_ <= target.size(); at += chunkRowBytes_)
                UndoHorizontalPredictor(target.data() + at, im_.chunkWidth, chunkSpp_, sampleBits_, bigEndian_);
    }

    // Row r of the current band of plane p, as wide as the image.
    const uint8_t* PlaneRow(int p, int r)
    {
        const uint8_t* band = bandData_[static_cast<size_t>(p)];
        if (!im_.tiled)
            return band + static_cast<size_t>(r) * chunkRowBytes_;
        uint8_t* row = planeRows_[static_cast<size_t>(p)].data();
        const size_t pixelBits = static_cast<size_t>(chunkSpp_) * sampleBits_;
        for (int c = 0; c < im_.chunksAcross; ++c) {
            const int x = c * im_.chunkWidth;
            const int n = std::min(im_.chunkWidth, im_.width - x);
            CopyBits(band + c * chunkBytes_ + static_cast<size_t>(r) * chunkRowBytes_, 0, row, x * pixelBits,
                     n * pixelBits);
        }
        return row;
    }

    // Row r of the band with its samples side by side.
    const uint8_t* SourceRow(int r)
    {
        if (!im_.planar)
            return PlaneRow(0, r);
        const size_t bits = static_cast<size_t>(sampleBits_);
        for (int p = 0; p < planes_; ++p) {
            const uint8_t* plane = PlaneRow(p, r);
            for (int x = 0; x < im_.width; ++x)
                CopyBits(plane, x * bits, row_.data(), (static_cast<size_t>(x) * planes_ + p) * bits, bits);
        }
        return row_.data();
    }

    void BlockRows(int y0, int rows)
    {
        std::vector<uint8_t*> targets(static_cast<size_t>(unitRows_));
        for (int r = 0; r < rows; r += unitRows_) {
            const int n = std::min(unitRows_, rows - r);
            for (int i = 0; i < n; ++i)
                targets[static_cast<size_t>(i)] = out_.Target(y0 + r + i, i);
            color_.ConvertBlockRow(bandData_[0] + static_cast<size_t>(r / unitRows_) * chunkRowBytes_,
                                   targets.data(), n, im_.width);
            for (int i = 0; i < n; ++i)
                out_.Place(y0 + r + i, i);
        }
    }

    std::span<const uint8_t> data_;
    const TTiffImage& im_;
    bool bigEndian_;
    TColorManager& color_;
    std::vector<TReleaseBehind> behind_;  // one for each plane
    DecoderSession decoder_;
    TOrientedRows out_;
    int planes_ = 1;
    int chunkSpp_ = 1;
    int sampleBits_ = 8;
    bool jpeg_ = false;
    bool fax_ = false;
    std::vector<uint8_t> reversed_;
    int unitRows_ = 1;
    size_t chunkRowBytes_ = 0;
    size_t chunkBytes_ = 0;
    std::vector<std::vector<uint8_t>> bands_;
    std::vector<const uint8_t*> bandData_;  // each plane's band, in bands_ or in the file
    std::vector<std::vector<uint8_t>> planeRows_;
    std::vector<uint8_t> row_;
};

}  // namespace

size_t TiffChunkRowBytes(const TTiffImage& im, const TColorManager& color)
{
    const size_t width = static_cast<size_t>(im.chunkWidth);
    if (im.compression == TTiffCompression::Jpeg)
        return CheckedMul(width, im.planar ? 1 : TiffJpegComponents(im));
    if (color.Subsampled())
        return color.SourceRowBytes(im.chunkWidth);
    const size_t spp = im.planar ? 1 : static_cast<size_t>(im.samplesPerPixel);
    return (CheckedMul(width, spp * im.bitsPerSample) + 7) / 8;
}

void DecodeTiffPixels(std::span<const uint8_t> data, const TTiffImage& im, bool bigEndian, TColorManager& color,
                      TBitmap& out, const TInputRelease& release)
{
    TiffPixelLoop(data, im, bigEndian, color, out, release).Run();
}

}  // namespace kobalto
