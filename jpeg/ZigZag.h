#pragma once

#include <array>
#include <cstdint>

namespace tessaro::jpeg {

// Entry row*8+col holds the zig-zag index (0..63) of that natural block position.
using ZigZagTable = std::array<int32_t, 64>;

// Walks the zig-zag path from (0,0): right to (0,1), then diagonals, turning at the edges.
ZigZagTable buildZigZag();

// The table built once; every encoder shares the same values.
const ZigZagTable& zigZag();

}  // namespace tessaro::jpeg
