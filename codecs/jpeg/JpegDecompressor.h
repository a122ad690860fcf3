#pragma once
// A libjpeg decompressor over a file already in memory, with this layer's
// error manager and a cap on the number of scans. Everything libjpeg
// allocated goes with it, also after an error.
#include <cstdint>
#include <span>

#include "codecs/jpeg/JpegErrorManager.h"
#include "codecs/jpeg/JpegMemorySource.h"

namespace kobalto {

// A progressive file of hostile design can hold a huge number of tiny scans,
// each one a full pass over the coefficients. Real files have about ten.
inline constexpr int kMaxJpegScans = 1000;

class JpegDecompressor : public JpegGuarded {
public:
    // bytes must outlive the decompressor.
    explicit JpegDecompressor(std::span<const uint8_t> bytes);
    ~JpegDecompressor();
    JpegDecompressor(const JpegDecompressor&) = delete;
    JpegDecompressor& operator=(const JpegDecompressor&) = delete;

    j_decompress_ptr Info() { return &cinfo_; }

    // Reads the header up to the first scan; APP1 segments (EXIF) are kept
    // in the marker list when keepApp1 is set.
    void ReadHeader(bool keepApp1);

    // After ReadHeader: a file that ends early decodes as far as it goes,
    // provided some of its image data arrived; without any, the decode
    // still fails.
    void AcceptCutFile();

private:
    JpegMemorySource source_;
    jpeg_progress_mgr progress_;
    jpeg_decompress_struct cinfo_;
    bool created_ = false;
};

}  // namespace kobalto
