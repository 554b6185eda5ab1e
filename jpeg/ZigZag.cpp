#include "ZigZag.h"

namespace tessaro::jpeg {

ZigZagTable buildZigZag() {
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

const ZigZagTable& zigZag() {
    static const ZigZagTable table = buildZigZag();
    return table;
}

}  // namespace tessaro::jpeg
