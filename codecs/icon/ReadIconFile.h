#pragma once
// Icon readers take the whole file into memory: the directory points
// anywhere in it.
#include <cstdint>
#include <vector>

#include "base/TStream.h"

namespace kobalto {

// Every byte from the stream's position to its end. Raises EInvalidGraphic
// for a stream larger than any icon we are willing to hold.
std::vector<uint8_t> ReadRestOfStream(TStream& stream);

}  // namespace kobalto
