#include "graphics/TRowGate.h"

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
    {
        std::lock_guard lock(mutex_);
        rows_ = rows;
    }
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
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return rows_ >= rows || ended_; });
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
