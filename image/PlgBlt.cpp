#include <algorithm>
#include <cstring>
#include <vector>

#include "DrawingContext.h"
#include "PixelRows.h"

// Parallelogram copy by inverse mapping: every destination pixel whose centre falls inside
// the parallelogram takes the source pixel that contains the centre's preimage. With
// a = pts[1] - pts[0], b = pts[2] - pts[0] and d the centre minus pts[0], the preimage is
//   u = w * det(d, b) / det(a, b),  v = h * det(a, d) / det(a, b)
// (det(p, q) = p.x * q.y - p.y * q.x), evaluated exactly with doubled centres in 128-bit
// integers and floored. For the axis-aligned parallelograms of mirroring and quarter turns u
// depends on one destination axis only and v on the other, so they are tabulated per column
// and per row.
namespace tessaro {

namespace {

__extension__ typedef __int128 Wide;

int64_t floorDiv(Wide n, Wide d) {
    Wide q = n / d;
    if (n % d != 0 && ((n < 0) != (d < 0))) {
        --q;
    }
    // Callers only keep results inside the source rectangle; clamp the rest out of range.
    if (q > INT32_MAX) {
        return INT64_C(1) << 40;
    }
    if (q < INT32_MIN) {
        return -(INT64_C(1) << 40);
    }
    return static_cast<int64_t>(q);
}

class PixelCopier {
  public:
    PixelCopier(DibSection& dst, const DibSection& src)
        : dst_(dst),
          src_(src),
          raw_(pixels::sameFormat(dst, src)),
          reader_(src),
          writer_(dst, kSrcCopy) {}

    void copy(int32_t x, int32_t y, int32_t sx, int32_t sy) {
        if (raw_) {
            pixels::putRawPixel(dst_.row(y), dst_.bitCount(), x,
                                pixels::rawPixel(src_.row(sy), src_.bitCount(), sx));
        } else {
            writer_.writePixel(y, x, reader_.span(sy, sx, 1));
        }
    }

  private:
    DibSection& dst_;
    const DibSection& src_;
    bool raw_;
    pixels::RowReader reader_;
    pixels::RowWriter writer_;
};

}  // namespace

bool PlgBlt(DrawingContext& dstContext, const std::array<Point, 3>& pts,
            const DrawingContext& srcContext, int32_t sx, int32_t sy, int32_t w, int32_t h) {
    DibSection* dst = dstContext.selected();
    const DibSection* src = srcContext.selected();
    if (dst == nullptr || src == nullptr || w <= 0 || h <= 0) {
        return false;
    }
    const int64_t ax = int64_t{pts[1].x} - pts[0].x;
    const int64_t ay = int64_t{pts[1].y} - pts[0].y;
    const int64_t bx = int64_t{pts[2].x} - pts[0].x;
    const int64_t by = int64_t{pts[2].y} - pts[0].y;
    const Wide det = Wide{ax} * by - Wide{ay} * bx;
    if (det == 0) {
        return false;
    }
    if (dst == src) {
        // Reading and writing one bitmap would read pixels already moved.
        auto copy =
            DibSection::create(src->width(), src->height(), src->bitCount(), src->colourTable());
        if (!copy || src->bitCount() == 32) {
            return false;
        }
        DrawingContext copyContext;
        copyContext.select(copy.get());
        BitBlt(copyContext, 0, 0, src->width(), src->height(), srcContext, 0, 0);
        return PlgBlt(dstContext, pts, copyContext, sx, sy, w, h);
    }

    const int64_t xs[] = {pts[0].x, pts[1].x, pts[2].x, int64_t{pts[1].x} + pts[2].x - pts[0].x};
    const int64_t ys[] = {pts[0].y, pts[1].y, pts[2].y, int64_t{pts[1].y} + pts[2].y - pts[0].y};
    const int64_t x0 = std::max<int64_t>(0, *std::min_element(xs, xs + 4));
    const int64_t x1 = std::min<int64_t>(dst->width(), *std::max_element(xs, xs + 4));
    const int64_t y0 = std::max<int64_t>(0, *std::min_element(ys, ys + 4));
    const int64_t y1 = std::min<int64_t>(dst->height(), *std::max_element(ys, ys + 4));
    if (x0 >= x1 || y0 >= y1) {
        return true;
    }

    // Doubled centre offsets from pts[0].
    const auto dx2 = [&](int64_t x) { return Wide{2 * x + 1 - 2 * int64_t{pts[0].x}}; };
    const auto dy2 = [&](int64_t y) { return Wide{2 * y + 1 - 2 * int64_t{pts[0].y}}; };
    const auto u = [&](int64_t x, int64_t y) {
        return floorDiv(w * (dx2(x) * by - dy2(y) * bx), 2 * det);
    };
    const auto v = [&](int64_t x, int64_t y) {
        return floorDiv(h * (ax * dy2(y) - ay * dx2(x)), 2 * det);
    };
    const auto inSource = [&](int64_t su, int64_t sv) {
        return su >= 0 && su < w && sv >= 0 && sv < h && sx + su >= 0 && sx + su < src->width() &&
               sy + sv >= 0 && sy + sv < src->height();
    };

    PixelCopier copier(*dst, *src);
    const bool straight = ay == 0 && bx == 0;  // u follows x, v follows y
    const bool turned = ax == 0 && by == 0;    // u follows y, v follows x
    if (straight || turned) {
        // Absolute source column and row per destination column and row; -1 where the
        // preimage leaves the source rectangle or bitmap.
        const auto column = [&](int64_t su) {
            return su >= 0 && su < w && sx + su >= 0 && sx + su < src->width() ? sx + su : -1;
        };
        const auto row = [&](int64_t sv) {
            return sv >= 0 && sv < h && sy + sv >= 0 && sy + sv < src->height() ? sy + sv : -1;
        };
        std::vector<int64_t> byColumn;
        std::vector<int64_t> byRow;
        for (int64_t x = x0; x < x1; ++x) {
            byColumn.push_back(straight ? column(u(x, pts[0].y)) : row(v(x, pts[0].y)));
        }
        for (int64_t y = y0; y < y1; ++y) {
            byRow.push_back(straight ? row(v(pts[0].x, y)) : column(u(pts[0].x, y)));
        }
        std::vector<const uint8_t*> sourceRows(static_cast<size_t>(src->height()));
        for (int32_t y = 0; y < src->height(); ++y) {
            sourceRows[static_cast<size_t>(y)] = src->row(y);
        }
        const bool trueColour = dst->bitCount() == 24 && src->bitCount() == 24;
        // Tiles keep a quarter turn's column-wise reads within the cache.
        constexpr int64_t kTile = 64;
        for (int64_t ty = y0; ty < y1; ty += kTile) {
            for (int64_t tx = x0; tx < x1; tx += kTile) {
                for (int64_t y = ty; y < std::min(y1, ty + kTile); ++y) {
                    const int64_t r = byRow[static_cast<size_t>(y - y0)];
                    if (r < 0) {
                        continue;
                    }
                    uint8_t* out = dst->row(static_cast<int32_t>(y));
                    for (int64_t x = tx; x < std::min(x1, tx + kTile); ++x) {
                        const int64_t c = byColumn[static_cast<size_t>(x - x0)];
                        if (c < 0) {
                            continue;
                        }
                        const int64_t srcX = straight ? c : r;
                        const int64_t srcY = straight ? r : c;
                        if (trueColour) {
                            std::memcpy(out + 3 * x,
                                        sourceRows[static_cast<size_t>(srcY)] + 3 * srcX, 3);
                        } else {
                            copier.copy(static_cast<int32_t>(x), static_cast<int32_t>(y),
                                        static_cast<int32_t>(srcX), static_cast<int32_t>(srcY));
                        }
                    }
                }
            }
        }
        return true;
    }
    for (int64_t y = y0; y < y1; ++y) {
        for (int64_t x = x0; x < x1; ++x) {
            const int64_t su = u(x, y);
            const int64_t sv = v(x, y);
            if (inSource(su, sv)) {
                copier.copy(static_cast<int32_t>(x), static_cast<int32_t>(y),
                            static_cast<int32_t>(sx + su), static_cast<int32_t>(sy + sv));
            }
        }
    }
    return true;
}

}  // namespace tessaro
