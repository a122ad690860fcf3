#pragma once
// Hints for a large block that is about to be written end to end.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

namespace kobalto {

// Asks the kernel for 2 MB pages where they fit in the block and maps all
// of its pages now, in one call: a photo-sized block otherwise costs one
// page fault per 4 KB on first write, which on a virtual machine is a good
// part of the time of filling it. Hints only; a kernel that refuses them
// changes nothing. Small blocks are left alone.
void PrepareForWriting(void* block, size_t size);

}  // namespace kobalto

namespace kobalto {

// A buffer that is written end to end, uninitialised. From 1 MB up it is a
// mapping of its own that starts on a 2 MB boundary, so that all of it can
// have 2 MB pages, mapped whole in one call; a smaller one comes from the
// heap, whose pages are mostly mapped already. Raises std::bad_alloc when
// the system has no room.
class TFreshBlock {
public:
    TFreshBlock() = default;
    // With inBackground, the pages are mapped by a thread of the block's
    // own, from the front, while the caller goes on to write the block from
    // the front: the mapping, which on a virtual machine costs about as much
    // as inflating, then mostly happens on another core. A page the caller
    // reaches first is mapped by its write as usual.
    explicit TFreshBlock(size_t size, bool inBackground = false);
    ~TFreshBlock();
    TFreshBlock(TFreshBlock&& other) noexcept;
    TFreshBlock& operator=(TFreshBlock&& other) noexcept;
    TFreshBlock(const TFreshBlock&) = delete;
    TFreshBlock& operator=(const TFreshBlock&) = delete;

    uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    void Free();

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    void* map_ = nullptr;
    size_t mapLength_ = 0;
    std::unique_ptr<uint8_t[]> heap_;
    std::thread mapper_;
};

}  // namespace kobalto
