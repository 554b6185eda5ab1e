#include <algorithm>
#include <vector>

#include "PixelRows.h"
#include "StretchKernels.h"

namespace tessaro::stretch {

namespace {

// For each destination index 0..n-1 of an axis, the source index whose centre is nearest:
// floor((i + 0.5) * s / n) = ((2i + 1) * s) div (2n), exact in 64 bits. `valid` is the run
// of indices whose destination and source both fall inside their bitmaps (the map is
// monotone, so that run is contiguous).
struct AxisMap {
    std::vector<int32_t> source;  // entry i - first for destination index i
    int32_t first = 0;
    int32_t end = 0;
    int32_t at(int32_t i) const { return source[static_cast<size_t>(i - first)]; }
};

AxisMap mapAxis(int32_t to, int32_t n, int32_t dstLimit, int32_t from, int32_t s,
                int32_t srcLimit) {
    const auto sourceOf = [&](int64_t i) { return from + ((2 * i + 1) * s) / (2 * int64_t{n}); };
    int64_t lo = std::max<int64_t>(0, -int64_t{to});
    int64_t hi = std::min<int64_t>(n, int64_t{dstLimit} - to);
    while (lo < hi && sourceOf(lo) < 0) {
        ++lo;
    }
    while (lo < hi && sourceOf(hi - 1) >= srcLimit) {
        --hi;
    }
    AxisMap map;
    if (lo >= hi) {
        return map;
    }
    map.first = static_cast<int32_t>(lo);
    map.end = static_cast<int32_t>(hi);
    map.source.resize(static_cast<size_t>(hi - lo));
    for (int64_t i = lo; i < hi; ++i) {
        map.source[static_cast<size_t>(i - lo)] = static_cast<int32_t>(sourceOf(i));
    }
    return map;
}

}  // namespace

void pointSample(DibSection& dst, Rect to, const DibSection& src, Rect from, uint32_t rop) {
    const AxisMap cols = mapAxis(to.x, to.w, dst.width(), from.x, from.w, src.width());
    const AxisMap rows = mapAxis(to.y, to.h, dst.height(), from.y, from.h, src.height());
    if (cols.first >= cols.end || rows.first >= rows.end) {
        return;
    }
    const int32_t n = cols.end - cols.first;
    const int32_t srcFirst = cols.at(cols.first);
    const int32_t srcCount = cols.at(cols.end - 1) - srcFirst + 1;
    const bool raw = pixels::ropCode(rop) == pixels::kSrcCopyCode && pixels::sameFormat(dst, src);

    pixels::RowReader reader(src);
    pixels::RowWriter writer(dst, rop);
    std::vector<uint8_t> out(3 * static_cast<size_t>(n));
    int32_t lastSourceRow = -1;
    for (int32_t r = rows.first; r < rows.end; ++r) {
        const int32_t srcY = rows.at(r);
        const int32_t dy = to.y + r;
        if (raw) {
            // Indices are copied as they are, so tables with repeated colours stay intact.
            const uint8_t* in = src.row(srcY);
            uint8_t* row = dst.row(dy);
            for (int32_t c = cols.first; c < cols.end; ++c) {
                pixels::putRawPixel(row, dst.bitCount(), to.x + c,
                                    pixels::rawPixel(in, src.bitCount(), cols.at(c)));
            }
            continue;
        }
        if (srcY != lastSourceRow) {
            const uint8_t* in = reader.span(srcY, srcFirst, srcCount);
            uint8_t* o = out.data();
            for (int32_t c = cols.first; c < cols.end; ++c, o += 3) {
                const uint8_t* p = in + 3 * static_cast<size_t>(cols.at(c) - srcFirst);
                o[0] = p[0];
                o[1] = p[1];
                o[2] = p[2];
            }
            lastSourceRow = srcY;
        }
        writer.write(dy, to.x + cols.first, n, out.data());
    }
}

}  // namespace tessaro::stretch
