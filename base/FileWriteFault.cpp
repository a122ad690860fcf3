#include "base/FileWriteFault.h"

namespace kobalto {

namespace {

std::atomic<bool> active{false};
std::atomic<long> writes{0};
std::atomic<long> failing{0};
std::atomic<int> failError{EIO};

}  // namespace

TFileWriteFault::TFileWriteFault(long nth, int error)
{
    writes = 0;
    failing = nth;
    failError = error;
    active = true;
}

TFileWriteFault::~TFileWriteFault() { active = false; }

long TFileWriteFault::Writes() const { return writes; }

bool FileWriteFails(int& error)
{
    if (!active.load(std::memory_order_relaxed))
        return false;
    const long n = ++writes;
    if (n != failing)
        return false;
    error = failError;
    return true;
}

}  // namespace kobalto
