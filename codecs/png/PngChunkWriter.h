#pragma once
// One chunk on output: length, name, data and the CRC over name and data.
#include <cstdint>
#include <span>

#include "base/TStream.h"

namespace kobalto {

void WritePngChunk(TStream& out, const char* name, std::span<const uint8_t> data);

}  // namespace kobalto
