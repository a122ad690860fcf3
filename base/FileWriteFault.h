#pragma once
// A seam for fault tests in the file stream: while a TFileWriteFault lives,
// the nth write of any TFileStream from its creation on fails with the
// given error number, as a device error or a full disk would. It counts the
// writes, so a test can first learn how many a save makes and then fail the
// middle one. Nothing in the program creates one.
#include <atomic>
#include <cerrno>

namespace kobalto {

class TFileWriteFault {
public:
    // nth counts from 1; 0 only counts.
    explicit TFileWriteFault(long nth, int error = EIO);
    ~TFileWriteFault();
    TFileWriteFault(const TFileWriteFault&) = delete;
    TFileWriteFault& operator=(const TFileWriteFault&) = delete;

    // Writes seen since this object was made.
    long Writes() const;
};

// For TFileStream: counts one write and says whether it fails, with the
// error number to report. False when no fault is set.
bool FileWriteFails(int& error);

}  // namespace kobalto
