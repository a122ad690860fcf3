#include "base/Exceptions.h"

#include "base/Messages.h"

namespace kobalto {

EOutOfMemory::EOutOfMemory() : Exception(msg::kOutOfMemory) {}
EInvalidOp::EInvalidOp() : Exception(msg::kInvalidFloatOp) {}
EZeroDivide::EZeroDivide() : Exception(msg::kFloatZeroDivide) {}

}  // namespace kobalto
