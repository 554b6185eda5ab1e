#include "ZigZag.h"

namespace tessaro::jpeg {

const ZigZagTable& zigZag() {
    static const ZigZagTable table = buildZigZag();
    return table;
}

}  // namespace tessaro::jpeg
