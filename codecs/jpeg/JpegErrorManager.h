#pragma once
// libjpeg's error manager for this layer. libjpeg is C code built without
// unwind tables, so no C++ exception may pass through its frames: an error
// inside libjpeg jumps back (longjmp) to the guard around the call, and the
// guard raises EJPEG on our side. Warnings and trace messages are dropped.
//
// Include <cstdio> before <jpeglib.h>: the header needs FILE and size_t.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <utility>

namespace kobalto {

struct JpegErrorManager {
    jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is ours too
    std::jmp_buf jump;
    int code = 0;             // libjpeg's message code, or one of ours below
    long ownValue = 0;        // detail for our own codes
};

// Our own reasons to stop libjpeg, kept apart from its message codes.
inline constexpr int kJpegTooManyScansCode = -1;

// Fills manager; store the result in cinfo.err before creating the
// (de)compressor.
jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& manager);

// Stops libjpeg from inside one of its callbacks: jumps to the guard, which
// raises for code.
[[noreturn]] void AbortJpeg(j_common_ptr cinfo, int code, long ownValue = 0);

// Raises the exception for a code recorded in manager.
[[noreturn]] void RaiseJpegError(const JpegErrorManager& manager);

// Runs call, which must only call libjpeg and own no object with a
// destructor (a longjmp skips its frame), and raises EJPEG for an error.
template <typename F>
auto JpegGuard(JpegErrorManager& manager, F&& call) -> decltype(call())
{
    if (setjmp(manager.jump))
        RaiseJpegError(manager);
    return call();
}

// The part a libjpeg (de)compressor wrapper shares: its error manager and
// the guard around its calls.
class JpegGuarded {
public:
    // Runs call (only libjpeg calls, no objects with destructors) and raises
    // EJPEG for a libjpeg error.
    template <typename F>
    auto Guard(F&& call) -> decltype(call())
    {
        return JpegGuard(err_, std::forward<F>(call));
    }

protected:
    JpegGuarded() = default;
    ~JpegGuarded() = default;

    JpegErrorManager err_;
};

}  // namespace kobalto
