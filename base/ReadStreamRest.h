#pragma once
// Readers that parse a whole file in memory take its bytes through this one
// routine, so the file-size cap holds for all of them.
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/TStream.h"

namespace kobalto {

// Every byte from the stream's position to its end. Raises EInvalidGraphic
// naming the format when that is more than kMaxFileBytes, and the stream's
// read error when the stream yields fewer bytes than its size says.
std::vector<uint8_t> ReadStreamRest(TStream& stream, std::string_view format);

}  // namespace kobalto
