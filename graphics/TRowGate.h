#pragma once
// The rows of a 24-bit picture that one thread fills from the top while
// another thread reads them: a writer can encode the top of a picture while
// its bottom is still being decoded. The filler hands over rows from the
// top as they become final; they are copied, so the filler's bitmap may
// move or go whenever it likes. Whoever runs the filling says at the end
// whether the picture is complete. A reader that needs more than it will
// get is told so by an exception and stops.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <utility>

#include "base/Exceptions.h"
#include "base/FreshMemory.h"

namespace kobalto {

class TBitmap;

// Raised to a reader when the filling ended without what it waits for.
class ERowsWithdrawn : public Exception {
public:
    ERowsWithdrawn() : Exception("the picture's rows were withdrawn") {}
};

class TRowGate {
public:
    // The filler, on one thread: rows [0, rows) of bitmap, a 24-bit picture
    // of the same size at every call, are final.
    void Publish(const TBitmap& bitmap, int rows);
    // Whoever ran the filling, once it ended: complete or not, no row comes
    // after this.
    void End(bool complete);

    // Whether any row was published.
    bool Started() const;

    // The reader: the picture's width and height, once its first rows are
    // there. Raises ERowsWithdrawn when the filling ends without them.
    std::pair<int, int> WaitForSize() const;
    // The reader: image row y as blue-green-red bytes, once it is final.
    // Raises ERowsWithdrawn when the filling ends without it.
    const uint8_t* WaitForRow(int y) const;
    // The reader, before it makes its result lasting: raises ERowsWithdrawn
    // unless the filling ended complete.
    void WaitForCompletion() const;

private:
    void WaitUntil(int rows) const;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    TFreshBlock copy_;  // the published rows, top first, 3 × width bytes each
    int width_ = 0;
    int height_ = 0;
    int rows_ = 0;
    mutable int wanted_ = 0;  // the rows a waiting reader waits for; 0: none waits
    bool ended_ = false;
    bool complete_ = false;
};

}  // namespace kobalto
