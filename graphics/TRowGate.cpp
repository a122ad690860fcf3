#include "graphics/TRowGate.h"

#include <algorithm>
#include <cstring>

#include "graphics/TBitmap.h"

namespace kobalto {

void TRowGate::Publish(const TBitmap& bitmap, int rows)
{
    int from = 0;
    {
        std::lock_guard lock(mutex_);
        if (ended_ || rows <= rows_)
            return;
        from = rows_;
    }
    // Only this thread writes the copy, and only rows no reader may read yet.
    const size_t rowBytes = 3 * static_cast<size_t>(bitmap.Width());
    if (!copy_.Data()) {
        copy_ = TFreshBlock(rowBytes * static_cast<size_t>(bitmap.Height()));
        width_ = bitmap.Width();
        height_ = bitmap.Height();
    }
    for (int y = from; y < rows; ++y)
        std::memcpy(copy_.Data() + static_cast<size_t>(y) * rowBytes, bitmap.ScanLine(y), rowBytes);
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        rows_ = rows;
        wake = wanted_ > 0 && rows_ >= wanted_;
    }
    if (wake)
        changed_.notify_all();
}

void TRowGate::End(bool complete)
{
    {
        std::lock_guard lock(mutex_);
        if (ended_)
            return;
        ended_ = true;
        complete_ = complete;
    }
    changed_.notify_all();
}

bool TRowGate::Started() const
{
    std::lock_guard lock(mutex_);
    return rows_ > 0;
}

void TRowGate::WaitUntil(int rows) const
{
    // A reader that has caught up waits for a few rows more than it needs,
    // and is woken only once they are there, not for every row.
    constexpr int kAhead = 16;
    std::unique_lock lock(mutex_);
    if (rows_ < rows) {
        wanted_ = height_ > 0 ? std::min(rows + kAhead, height_) : rows;
        changed_.wait(lock, [&] { return rows_ >= wanted_ || ended_; });
        wanted_ = 0;
    }
    if (rows_ < rows || (ended_ && !complete_))
        throw ERowsWithdrawn();
}

std::pair<int, int> TRowGate::WaitForSize() const
{
    WaitUntil(1);
    return {width_, height_};
}

const uint8_t* TRowGate::WaitForRow(int y) const
{
    WaitUntil(y + 1);
    return copy_.Data() + static_cast<size_t>(y) * 3 * static_cast<size_t>(width_);
}

void TRowGate::WaitForCompletion() const
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return ended_; });
    if (!complete_)
        throw ERowsWithdrawn();
}

}  // namespace kobalto
