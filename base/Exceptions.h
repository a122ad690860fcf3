#pragma once
// The exception family of the whole system. Every failure is one of these;
// what() carries the text the user sees (UTF-8), already formatted.
#include <stdexcept>
#include <string>

namespace kobalto {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Picture layer: a file that is not a valid picture of its kind.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
// Picture layer: an operation the picture cannot perform.
class EInvalidGraphicOperation : public Exception {
    using Exception::Exception;
};

class EStreamError : public Exception {
    using Exception::Exception;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};

class EOutOfMemory : public Exception {
public:
    EOutOfMemory();
};

// Floating-point faults are raised, never turned into infinities or NaNs.
class EInvalidOp : public Exception {
public:
    EInvalidOp();
};
class EZeroDivide : public Exception {
public:
    EZeroDivide();
};

}  // namespace kobalto
