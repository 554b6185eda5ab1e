#include <algorithm>
#include <cstring>
#include <vector>

#include "DrawingContext.h"
#include "PixelRows.h"

namespace tessaro {

namespace {

// A run of pixels along one axis, in destination and source coordinates.
struct Span {
    int64_t dst;
    int64_t src;
    int64_t length;
};

// Trims a span so that it lies inside [0, limit) of both bitmaps.
Span clip(Span s, int64_t dstLimit, int64_t srcLimit) {
    const int64_t skip = std::max<int64_t>({0, -s.dst, -s.src});
    s.dst += skip;
    s.src += skip;
    s.length -= skip;
    s.length = std::min({s.length, dstLimit - s.dst, srcLimit - s.src});
    return s;
}

void copy32To24(uint8_t* out, const uint8_t* in, int32_t n) {
    for (int32_t i = 0; i < n; ++i, out += 3, in += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

}  // namespace

bool BitBlt(DrawingContext& dstContext, int32_t x, int32_t y, int32_t w, int32_t h,
            const DrawingContext& srcContext, int32_t sx, int32_t sy, uint32_t rop) {
    DibSection* dst = dstContext.selected();
    const DibSection* src = srcContext.selected();
    if (dst == nullptr || src == nullptr || w < 0 || h < 0) {
        return false;
    }
    const Span cols = clip({x, sx, w}, dst->width(), src->width());
    const Span rows = clip({y, sy, h}, dst->height(), src->height());
    if (cols.length <= 0 || rows.length <= 0) {
        return true;
    }
    const auto dx = static_cast<int32_t>(cols.dst);
    const auto srcX = static_cast<int32_t>(cols.src);
    const auto n = static_cast<int32_t>(cols.length);
    const int dstBits = dst->bitCount();
    const int srcBits = src->bitCount();
    const bool srcCopy = pixels::ropCode(rop) == pixels::kSrcCopyCode;
    const bool raw = srcCopy && pixels::sameFormat(*dst, *src);

    pixels::RowReader reader(*src);
    pixels::RowWriter writer(*dst, rop);
    std::vector<uint32_t> rawRow;
    // Within one bitmap, walk rows away from the overlap so no row is read after being written.
    const bool upwards = dst == src && rows.dst > rows.src;
    for (int64_t k = 0; k < rows.length; ++k) {
        const int64_t i = upwards ? rows.length - 1 - k : k;
        const auto dy = static_cast<int32_t>(rows.dst + i);
        const auto srcY = static_cast<int32_t>(rows.src + i);
        if (raw && (dstBits >= 8)) {
            const size_t bytesPerPixel = static_cast<size_t>(dstBits) / 8;
            std::memmove(dst->row(dy) + bytesPerPixel * static_cast<size_t>(dx),
                         src->row(srcY) + bytesPerPixel * static_cast<size_t>(srcX),
                         bytesPerPixel * static_cast<size_t>(n));
        } else if (raw) {
            const uint8_t* in = src->row(srcY);
            rawRow.resize(static_cast<size_t>(n));
            for (int32_t c = 0; c < n; ++c) {
                rawRow[static_cast<size_t>(c)] = pixels::rawPixel(in, srcBits, srcX + c);
            }
            uint8_t* out = dst->row(dy);
            for (int32_t c = 0; c < n; ++c) {
                pixels::putRawPixel(out, dstBits, dx + c, rawRow[static_cast<size_t>(c)]);
            }
        } else if (srcCopy && dstBits == 24 && srcBits == 32) {
            copy32To24(dst->row(dy) + 3 * static_cast<size_t>(dx),
                       src->row(srcY) + 4 * static_cast<size_t>(srcX), n);
        } else {
            writer.write(dy, dx, n, reader.span(srcY, srcX, n));
        }
    }
    return true;
}

}  // namespace tessaro
