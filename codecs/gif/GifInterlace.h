#pragma once
// The row order of an interlaced GIF image: every eighth row from row 0,
// then every eighth from row 4, every fourth from row 2, every second from
// row 1.
#include <cstddef>
#include <vector>

namespace kobalto {

// Image rows in the order the file stores them.
std::vector<int> GifRowOrder(int height, bool interlaced);

// The place among the stored rows of image row y.
size_t GifStoredRow(int y, int height, bool interlaced);

}  // namespace kobalto
