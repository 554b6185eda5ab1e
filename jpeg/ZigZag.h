#pragma once

#include <array>
#include <cstdint>

namespace tessaro::jpeg {

// Entry row*8+col holds the zig-zag index (0..63) of that natural block position.
using ZigZagTable = std::array<int32_t, 64>;

// Walks the zig-zag path from (0,0): right to (0,1), then diagonals, turning at the edges.
constexpr ZigZagTable buildZigZag() {
    ZigZagTable table{};
    int row = 0;
    int col = 0;
    bool upRight = true;  // the first diagonal after (0,1) runs down-left
    for (int index = 0; index < 64; ++index) {
        table[row * 8 + col] = index;
        if (upRight) {
            if (col == 7) {
                ++row;
                upRight = false;
            } else if (row == 0) {
                ++col;
                upRight = false;
            } else {
                --row;
                ++col;
            }
        } else {
            if (row == 7) {
                ++col;
                upRight = true;
            } else if (col == 0) {
                ++row;
                upRight = true;
            } else {
                ++row;
                --col;
            }
        }
    }
    return table;
}

// The table built once; every encoder shares the same values.
const ZigZagTable& zigZag();

}  // namespace tessaro::jpeg
