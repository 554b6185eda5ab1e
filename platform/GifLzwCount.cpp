#include "GifLzwCount.h"

#include <cstdint>
#include <vector>

GifLzwCount CountGifLzwPixels(const QByteArray& bytes, qsizetype at, int codeSize, qint64 wanted) {
    constexpr int kMaxCodes = 4096;
    GifLzwCount count;
    const int clear = 1 << codeSize;
    const int end = clear + 1;
    std::vector<qint64> length(kMaxCodes, 1);  // the length of each code's string
    int width = codeSize + 1;
    int next = clear + 2;
    int previous = -1;
    uint32_t bits = 0;
    int held = 0;
    int blockLeft = 0;
    while (count.pixels < wanted) {
        while (held < width) {
            if (blockLeft == 0) {
                if (at >= bytes.size()) {
                    count.cut = true;
                    return count;
                }
                blockLeft = static_cast<uint8_t>(bytes[at++]);
                if (blockLeft == 0)
                    return count;  // the data ends before the picture does
            }
            if (at >= bytes.size()) {
                count.cut = true;
                return count;
            }
            bits |= uint32_t{static_cast<uint8_t>(bytes[at++])} << held;
            held += 8;
            --blockLeft;
        }
        const int code = static_cast<int>(bits & ((1U << width) - 1));
        bits >>= width;
        held -= width;
        if (code == clear) {
            width = codeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end)
            return count;
        qint64 n = 1;
        if (code > end && code < next)
            n = length[static_cast<size_t>(code)];
        else if (code == next && previous >= 0)
            n = length[static_cast<size_t>(previous)] + 1;
        else if (code >= clear || (code > end && previous < 0)) {
            count.bad = true;
            return count;
        }
        count.pixels += n;
        if (previous >= 0 && next < kMaxCodes) {
            length[static_cast<size_t>(next)] = length[static_cast<size_t>(previous)] + 1;
            if (++next == 1 << width && width < 12)
                ++width;
        }
        previous = code;
    }
    return count;
}
