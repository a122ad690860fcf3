#include "base/FreshMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>
#include <system_error>
#include <utility>

namespace kobalto {

namespace {

// Below this, a block's page faults cost less than the calls that avoid them.
constexpr size_t kWorthIt = size_t{1} << 20;

}  // namespace

void PrepareForWriting(void* block, size_t size)
{
    constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
    if (size < kWorthIt)
        return;
    const uintptr_t first = reinterpret_cast<uintptr_t>(block);
    const uintptr_t last = first + size;
    const uintptr_t hugeStart = (first + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t hugeEnd = last & ~(kHugePage - 1);
    if (hugeEnd > hugeStart)
        madvise(reinterpret_cast<void*>(hugeStart), hugeEnd - hugeStart, MADV_HUGEPAGE);
    // Whole pages inside the block only: its neighbours are not ours to touch.
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = (first + page - 1) & ~(page - 1);
    const uintptr_t end = last & ~(page - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}

TFreshBlock::TFreshBlock(size_t size, bool inBackground)
{
    constexpr size_t kHugePage = size_t{2} << 20;
    if (size == 0)
        return;
    if (size < kWorthIt) {
        heap_.reset(new uint8_t[size]);
        data_ = heap_.get();
        size_ = size;
        return;
    }
    // One huge page more than asked, to start on a boundary inside it.
    const size_t length = (size + kHugePage - 1) / kHugePage * kHugePage + kHugePage;
    void* map = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED)
        throw std::bad_alloc();
    map_ = map;
    mapLength_ = length;
    const auto aligned = (reinterpret_cast<uintptr_t>(map) + kHugePage - 1) & ~uintptr_t{kHugePage - 1};
    data_ = reinterpret_cast<uint8_t*>(aligned);
    size_ = size;
    if (!inBackground) {
        PrepareForWriting(data_, size);
        return;
    }
    try {
        mapper_ = std::thread([data = data_, size] { PrepareForWriting(data, size); });
    } catch (const std::system_error&) {
        // No thread to spare: the caller's writes map the pages.
    }
}

TFreshBlock::~TFreshBlock() { Free(); }

TFreshBlock::TFreshBlock(TFreshBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      map_(std::exchange(other.map_, nullptr)),
      mapLength_(std::exchange(other.mapLength_, 0)),
      heap_(std::move(other.heap_)),
      mapper_(std::move(other.mapper_))
{
}

TFreshBlock& TFreshBlock::operator=(TFreshBlock&& other) noexcept
{
    if (this != &other) {
        Free();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        map_ = std::exchange(other.map_, nullptr);
        mapLength_ = std::exchange(other.mapLength_, 0);
        heap_ = std::move(other.heap_);
        mapper_ = std::move(other.mapper_);
    }
    return *this;
}

void TFreshBlock::Free()
{
    if (mapper_.joinable())
        mapper_.join();
    if (map_)
        munmap(map_, mapLength_);
    heap_.reset();
    map_ = nullptr;
    data_ = nullptr;
    size_ = 0;
}

}  // namespace kobalto
